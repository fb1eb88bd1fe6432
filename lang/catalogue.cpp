#include "lang/catalogue.h"

#include <mutex>
#include <utility>

#include "link/field_table.h"

namespace vmx {
namespace embedded {
extern const std::string_view EnglishTable;
extern const std::string_view GermanTable;
}  // namespace embedded

namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
    s.remove_suffix(1);
  return s;
}

// A value is everything after the first "=": blanks at its end are part of the
// text, only the line end (CR of a CR LF file) is not.
std::string_view StripLineEnd(std::string_view s) {
  while (!s.empty() && s.back() == '\r') s.remove_suffix(1);
  return s;
}

std::mutex g_tableLock;
std::shared_ptr<const LanguageTable> g_table;

}  // namespace

LanguageTable LanguageTable::Parse(std::string_view text) {
  LanguageTable table;
  // A UTF-8 byte order mark would otherwise become part of the first section name.
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  size_t current = 0;  // the section entries go to
  while (!text.empty()) {
    const size_t end = text.find('\n');
    const std::string_view raw = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    const std::string_view line = Trim(raw);
    if (line.empty()) continue;
    if (line.front() == '[' && line.back() == ']') {
      // A section named again goes on where its first part left off, so none
      // of its entries is hidden behind the first part of the same name.
      const std::string_view name = Trim(line.substr(1, line.size() - 2));
      const Section* earlier = table.FindSection(name);
      current =
          earlier ? static_cast<size_t>(earlier - table.sections_.data()) : table.sections_.size();
      if (!earlier) table.sections_.push_back({std::string(name), {}});
      continue;
    }
    const size_t eq = raw.find('=');
    if (eq == std::string_view::npos || table.sections_.empty()) continue;
    table.sections_[current].entries.push_back(
        {std::string(Trim(raw.substr(0, eq))), std::string(StripLineEnd(raw.substr(eq + 1)))});
  }
  return table;
}

const LanguageTable::Section* LanguageTable::FindSection(std::string_view name) const {
  for (const auto& s : sections_)
    if (EqualsIgnoreCase(s.name, name)) return &s;
  return nullptr;
}

const std::string* LanguageTable::Find(std::string_view section, std::string_view key) const {
  const Section* s = FindSection(section);
  if (!s) return nullptr;
  for (const auto& e : s->entries)
    if (EqualsIgnoreCase(e.key, key)) return &e.value;
  return nullptr;
}

std::string_view BuiltInTable(Language language) {
  return language == Language::German ? embedded::GermanTable : embedded::EnglishTable;
}

void SetCurrentTable(std::shared_ptr<const LanguageTable> table) {
  std::lock_guard g(g_tableLock);
  g_table = std::move(table);
}

namespace {
thread_local std::shared_ptr<const LanguageTable> t_scopeTable;
}  // namespace

LanguageScope::LanguageScope(std::shared_ptr<const LanguageTable> table)
    : outer_(std::exchange(t_scopeTable, std::move(table))) {}

LanguageScope::~LanguageScope() {
  t_scopeTable = std::move(outer_);
}

std::shared_ptr<const LanguageTable> CurrentTable() {
  if (t_scopeTable) return t_scopeTable;
  std::lock_guard g(g_tableLock);
  if (!g_table)
    g_table = std::make_shared<const LanguageTable>(
        LanguageTable::Parse(BuiltInTable(Language::English)));
  return g_table;
}

std::string ExpandLineBreaks(std::string_view value) {
  std::string out;
  out.reserve(value.size());
  for (size_t i = 0; i < value.size(); ++i) {
    if (value[i] == '\\' && i + 1 < value.size() && value[i + 1] == 'n') {
      out += "\r\n";
      ++i;
    } else {
      out += value[i];
    }
  }
  return out;
}

bool FormatPercentS(std::string_view pattern, std::initializer_list<std::string_view> args,
                    std::string& out) {
  out.clear();
  auto next = args.begin();
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] != '%') {
      out += pattern[i];
      continue;
    }
    if (i + 1 >= pattern.size()) return false;
    const char spec = pattern[++i];
    if (spec == '%') {
      out += '%';
    } else if (spec == 's' && next != args.end()) {
      out += *next++;
    } else {
      return false;
    }
  }
  return true;
}

std::string FormatText(std::string_view pattern, std::initializer_list<std::string_view> args) {
  std::string formatted;
  if (!FormatPercentS(pattern, args, formatted)) return std::string(pattern);
  return formatted;
}

std::string LangFormat(std::string_view key, std::initializer_list<std::string_view> args) {
  // Workers build their log lines with this; nothing may escape into them.
  try {
    const auto table = CurrentTable();
    const std::string* value = table->Find("Messages", key);
    return FormatText(ExpandLineBreaks(value ? std::string_view(*value) : key), args);
  } catch (...) {
    return std::string(key);
  }
}

std::string LangText(std::string_view key) {
  return LangFormat(key, {});
}

}  // namespace vmx
