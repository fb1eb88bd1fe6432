// Wire bytes as a readable line: control characters escaped.
#pragma once

#include <string>
#include <string_view>

namespace vmx::sim {

std::string Printable(std::string_view bytes);

}  // namespace vmx::sim
