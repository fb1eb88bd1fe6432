#include "lang/form_texts.h"

#include <string_view>

namespace vmx {

std::vector<FormText> FormTexts(const LanguageTable& table) {
  std::vector<FormText> texts;
  const LanguageTable::Section* section = table.FindSection("frmLantix");
  if (!section) return texts;
  for (const auto& entry : section->entries) {
    const std::string_view key = entry.key;
    size_t at = key.find(".Caption");
    bool hint = false;
    if (at == std::string_view::npos) {
      at = key.find(".Hint");
      hint = true;
    }
    if (at == std::string_view::npos || at == 0) continue;
    texts.push_back({std::string(key.substr(0, at)), hint, ExpandLineBreaks(entry.value)});
  }
  return texts;
}

}  // namespace vmx
