// An INI text held line by line, so that writing keys into an existing file
// keeps everything else in it as it stands: other sections and keys,
// comments, blank lines, the byte-order mark and the line ends.
//
// Reading takes any usual layout: CR LF, LF or CR line ends, a UTF-8
// byte-order mark, blanks around names and values, ";" and "#" comments.
// Section and key names match without regard to case; where a section or a
// key comes twice, the first one counts.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vmx {

class IniDocument {
 public:
  IniDocument() = default;
  static IniDocument Parse(std::string_view text);

  bool HasSection(std::string_view section) const;
  // The value, without blanks around it; nothing when the key is missing.
  std::optional<std::string_view> Get(std::string_view section, std::string_view key) const;
  // Replaces the key's line where it stands, or adds the key after the last
  // entry of its section, or adds the section at the end of the text.
  void Set(std::string_view section, std::string_view key, std::string_view value);

  // The whole text. A new document ends every section with a blank line and
  // uses CR LF, as Windows INI files do; a parsed one keeps its own line end.
  std::string Text() const;

 private:
  // Names compare without regard to case, looked up as they are given: no
  // lower-case copy is made for each lookup, and imports look up hundreds.
  struct NoCaseHash {
    using is_transparent = void;
    size_t operator()(std::string_view name) const;
  };
  struct NoCaseEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const;
  };
  using NameMap = std::unordered_map<std::string, size_t, NoCaseHash, NoCaseEqual>;

  struct Section {
    std::string header;  // the section's own line; empty for the lines before any section
    std::vector<std::string> lines;
    NameMap keys;  // key -> index in lines
  };

  const Section* Find(std::string_view section) const;
  Section& AddSection(std::string_view name);
  void AddLine(Section& section, std::string line);

  std::vector<Section> sections_{Section{}};       // [0]: the lines before the first section
  NameMap index_;  // name -> first section
  std::string lineEnd_ = "\r\n";
  bool byteOrderMark_ = false;
};

}  // namespace vmx
