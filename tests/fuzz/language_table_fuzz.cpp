// Language tables of any shape: the loader, the lookups, the window's texts
// and the message formatting the workers use.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "lang/catalogue.h"
#include "lang/form_texts.h"
#include "tests/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vmx;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  auto table = std::make_shared<const LanguageTable>(LanguageTable::Parse(text));

  size_t entries = 0;
  for (const auto& section : table->Sections()) {
    FUZZ_CHECK(table->FindSection(section.name) != nullptr);
    for (const auto& entry : section.entries) {
      ++entries;
      // Every entry read is found again by its names, whatever their case.
      FUZZ_CHECK(table->Find(section.name, entry.key) != nullptr);
      FUZZ_CHECK(entry.key.find('\n') == std::string::npos);
      FUZZ_CHECK(entry.value.find('\n') == std::string::npos);
    }
  }
  // Nothing is made up: each section and each entry takes a line of its own.
  const size_t lines = static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
  FUZZ_CHECK(entries + table->Sections().size() <= lines);

  for (const FormText& t : FormTexts(*table)) FUZZ_CHECK(!t.control.empty());

  SetCurrentTable(table);
  if (const auto* messages = table->FindSection("Messages")) {
    // A few lookups say what all would; each one scans the whole table.
    const size_t looked = std::min<size_t>(messages->entries.size(), 16);
    for (const auto& entry : std::span(messages->entries).first(looked)) {
      // The lookup a worker makes gives the table's text, filled in where it can be.
      const std::string* value = table->Find("Messages", entry.key);
      FUZZ_CHECK(LangFormat(entry.key, {"COM5", "x"}) ==
                 FormatText(ExpandLineBreaks(*value), {"COM5", "x"}));
    }
  }
  SetCurrentTable(nullptr);
  return 0;
}
