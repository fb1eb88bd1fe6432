// The addresses of the maker's help pages.
#pragma once

#include <string>
#include <string_view>

namespace vmx {

// `topic` is "hardware", "software" or "faq"; German pages when the display
// language box shows German.
std::string HelpPageUrl(std::string_view topic, bool german);

}  // namespace vmx
