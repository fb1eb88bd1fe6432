// The message catalogue: the current language table and the lookups every
// user-visible text goes through. Any thread may look texts up; the table is
// loaded once at start-up, before the workers run, and a thread may speak
// another language for a while (LanguageScope).
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vmx {

// A language table: INI text with sections of key=value entries, in file order.
class LanguageTable {
 public:
  struct Entry {
    std::string key;
    std::string value;
  };
  struct Section {
    std::string name;
    std::vector<Entry> entries;
  };

  // Section headers in brackets, entries split at the first "=" (the key trimmed,
  // the value kept as it stands); blank lines, lines of neither kind and entries
  // before the first section are skipped. A section named again (in any case)
  // continues the first of that name.
  static LanguageTable Parse(std::string_view text);

  // Section and key matched without regard to case; nullptr when absent.
  const std::string* Find(std::string_view section, std::string_view key) const;
  const Section* FindSection(std::string_view name) const;
  const std::vector<Section>& Sections() const { return sections_; }

 private:
  std::vector<Section> sections_;
};

// The program's languages: one built-in table each, compiled into the program.
enum class Language : uint8_t { English, German };
std::string_view BuiltInTable(Language language);

// Replaces the current table. Until the first call the English table is current.
void SetCurrentTable(std::shared_ptr<const LanguageTable> table);
std::shared_ptr<const LanguageTable> CurrentTable();

// While it lives, the texts this thread looks up come from `table` rather
// than the current one: the service answers each keeper in the language the
// request asks for, whatever language the program itself speaks.
class LanguageScope {
 public:
  explicit LanguageScope(std::shared_ptr<const LanguageTable> table);
  ~LanguageScope();
  LanguageScope(const LanguageScope&) = delete;
  LanguageScope& operator=(const LanguageScope&) = delete;

 private:
  std::shared_ptr<const LanguageTable> outer_;
};

// The text of a [Messages] key: the key itself when missing, backslash-n as CR LF,
// "%s" filled in order. A text that cannot be formatted comes back unformatted.
std::string LangFormat(std::string_view key, std::initializer_list<std::string_view> args);
std::string LangText(std::string_view key);

// Backslash-n pairs turned into CR LF.
std::string ExpandLineBreaks(std::string_view value);
// printf-style "%s" filling; false when a placeholder lacks its argument or is not "%s"/"%%".
// Arguments beyond the placeholders are ignored.
bool FormatPercentS(std::string_view pattern, std::initializer_list<std::string_view> args,
                    std::string& out);
// The pattern filled in, or the pattern itself when it cannot be filled.
std::string FormatText(std::string_view pattern, std::initializer_list<std::string_view> args);

}  // namespace vmx
