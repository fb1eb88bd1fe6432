// The Windows API speaks UTF-16; the program keeps every text, paths
// included, in UTF-8. These convert at the seam.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vmx {

// Invalid UTF-8 turns into U+FFFD rather than failing: a path that cannot be
// converted then names no existing file instead of another one.
std::wstring WideText(std::string_view utf8);
std::string Utf8Text(std::wstring_view wide);

// The system's text of an error code (GetLastError), without its line end.
std::string WindowsErrorText(uint32_t error);

}  // namespace vmx
