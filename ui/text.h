// Text of the program's own parts (UTF-8 std::string: the language tables,
// vmxcore's formatting) as the widgets take it.
#pragma once

#include <QString>
#include <string>

namespace vmx {

inline QString Q(const std::string& s) {
  return QString::fromStdString(s);
}

}  // namespace vmx
