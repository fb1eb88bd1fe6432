// The window's own texts from the [frmLantix] section: which control gets
// which caption or tool-tip. The window applies them once at start-up.
#pragma once

#include <string>
#include <vector>

#include "lang/catalogue.h"

namespace vmx {

struct FormText {
  std::string control;  // object name, e.g. "edtLat"
  bool hint = false;    // tool-tip rather than the visible caption
  std::string text;     // backslash-n already turned into CR LF
};

// The entries of [frmLantix] in table order. A key names its control before
// ".Caption" or, failing that, before ".Hint"; keys of neither kind are left out.
std::vector<FormText> FormTexts(const LanguageTable& table);

}  // namespace vmx
