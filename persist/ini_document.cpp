#include "persist/ini_document.h"

#include <cstdint>

#include "link/field_table.h"

namespace vmx {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The blanks of the "C" locale, whatever locale the program runs in.
bool Space(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && Space(s.front())) s.remove_prefix(1);
  while (!s.empty() && Space(s.back())) s.remove_suffix(1);
  return s;
}

// The section name of a header line ("[Name]"), or nothing.
std::optional<std::string_view> HeaderName(std::string_view line) {
  line = Trim(line);
  if (!line.starts_with('[')) return std::nullopt;
  const size_t close = line.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return Trim(line.substr(1, close - 1));
}

// The key of an entry line ("Key=Value"), or nothing for blanks and comments.
std::optional<std::string_view> EntryKey(std::string_view line) {
  const std::string_view trimmed = Trim(line);
  if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '#') return std::nullopt;
  const size_t equals = trimmed.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  const std::string_view key = Trim(trimmed.substr(0, equals));
  if (key.empty()) return std::nullopt;
  return key;
}

bool Blank(std::string_view line) {
  return Trim(line).empty();
}

}  // namespace

size_t IniDocument::NoCaseHash::operator()(std::string_view name) const {
  uint64_t hash = 14695981039346656037u;  // FNV-1a
  for (const char c : name)
    hash = (hash ^ static_cast<unsigned char>(FoldCase(c))) * 1099511628211u;
  return static_cast<size_t>(hash);
}

bool IniDocument::NoCaseEqual::operator()(std::string_view a, std::string_view b) const {
  return EqualsIgnoreCase(a, b);
}

IniDocument IniDocument::Parse(std::string_view text) {
  IniDocument doc;
  if (text.starts_with(kByteOrderMark)) {
    doc.byteOrderMark_ = true;
    text.remove_prefix(kByteOrderMark.size());
  }
  // The first line end found is the one the text is written with.
  if (const size_t end = text.find_first_of("\r\n"); end != std::string_view::npos)
    doc.lineEnd_ = text.substr(end, 2) == "\r\n" ? "\r\n" : std::string(1, text[end]);

  Section* current = &doc.sections_.front();
  while (!text.empty()) {
    const size_t end = text.find_first_of("\r\n");
    const std::string_view line = text.substr(0, end);
    if (end == std::string_view::npos)
      text = {};
    else
      text.remove_prefix(end + (text.substr(end, 2) == "\r\n" ? 2 : 1));
    if (const auto name = HeaderName(line)) {
      Section section;
      section.header = std::string(line);
      doc.sections_.push_back(std::move(section));
      doc.index_.try_emplace(std::string(*name), doc.sections_.size() - 1);
      current = &doc.sections_.back();
    } else {
      doc.AddLine(*current, std::string(line));
    }
  }
  return doc;
}

void IniDocument::AddLine(Section& section, std::string line) {
  // Lines before the first section belong to no section and hold no keys.
  if (&section != &sections_.front())
    if (const auto key = EntryKey(line))
      section.keys.try_emplace(std::string(*key), section.lines.size());
  section.lines.push_back(std::move(line));
}

const IniDocument::Section* IniDocument::Find(std::string_view section) const {
  const auto it = index_.find(Trim(section));
  return it == index_.end() ? nullptr : &sections_[it->second];
}

bool IniDocument::HasSection(std::string_view section) const {
  return Find(section) != nullptr;
}

std::optional<std::string_view> IniDocument::Get(std::string_view section,
                                                 std::string_view key) const {
  const Section* s = Find(section);
  if (!s) return std::nullopt;
  const auto it = s->keys.find(Trim(key));
  if (it == s->keys.end()) return std::nullopt;
  const std::string_view line = s->lines[it->second];
  return Trim(line.substr(line.find('=') + 1));
}

IniDocument::Section& IniDocument::AddSection(std::string_view name) {
  // A blank line parts the new section from what goes before it.
  Section& last = sections_.back();
  const bool empty = sections_.size() == 1 && last.lines.empty();
  if (!empty && (last.lines.empty() ? !last.header.empty() : !Blank(last.lines.back())))
    last.lines.emplace_back();
  Section section;
  section.header = "[" + std::string(name) + "]";
  section.lines.emplace_back();  // the blank line that ends it
  sections_.push_back(std::move(section));
  index_.try_emplace(std::string(name), sections_.size() - 1);
  return sections_.back();
}

void IniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
  const auto found = index_.find(Trim(section));
  Section& s = found == index_.end() ? AddSection(section) : sections_[found->second];
  std::string line;
  line.reserve(key.size() + 1 + value.size());
  line.append(key).append(1, '=').append(value);
  if (const auto it = s.keys.find(key); it != s.keys.end()) {
    s.lines[it->second] = std::move(line);
    return;
  }
  // After the section's last non-blank line, so the blank lines that part it
  // from the next section stay behind it. Every key's line lies before that
  // point, so no index in `keys` moves.
  size_t at = s.lines.size();
  while (at > 0 && Blank(s.lines[at - 1])) --at;
  s.lines.insert(s.lines.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
  s.keys.emplace(std::string(key), at);
}

std::string IniDocument::Text() const {
  // Sized first: a backup of a whole board is hundreds of lines.
  size_t size = kByteOrderMark.size();
  for (const Section& s : sections_) {
    size += s.header.size() + lineEnd_.size();
    for (const std::string& line : s.lines) size += line.size() + lineEnd_.size();
  }
  std::string text;
  text.reserve(size);
  if (byteOrderMark_) text += kByteOrderMark;
  for (const Section& s : sections_) {
    if (!s.header.empty()) text.append(s.header).append(lineEnd_);
    for (const std::string& line : s.lines) text.append(line).append(lineEnd_);
  }
  return text;
}

}  // namespace vmx
