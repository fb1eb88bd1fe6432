#include "link/port_name.h"

#include <filesystem>
#include <system_error>

#include "link/records.h"

namespace vmx {

bool IdCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '_';
}

namespace {

bool Continuation(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

}  // namespace

std::string PortOfText(std::string_view text) {
  // An entry of the port list is the path, " (", the description and ")";
  // its path never holds a blank. A text naming an existing device whole is
  // taken whole, whatever it looks like.
  const size_t open = text.find(" (");
  if (open == std::string_view::npos || !text.ends_with(')')) return std::string(text);
  std::error_code error;
  if (std::filesystem::exists(std::string(text), error)) return std::string(text);
  const size_t blank = text.find(' ');
  return std::string(text.substr(0, blank));
}

std::string ShortForMessage(std::string_view text, size_t limit) {
  static constexpr std::string_view kEllipsis = "\u2026";
  if (text.size() <= limit || limit < 2 * kEllipsis.size()) return std::string(text);
  size_t head = (limit - kEllipsis.size()) * 2 / 3;
  size_t tail = text.size() - (limit - kEllipsis.size() - head);
  while (head > 0 && Continuation(text[head])) --head;
  while (tail < text.size() && Continuation(text[tail])) ++tail;
  return std::string(text.substr(0, head)) + std::string(kEllipsis) +
         std::string(text.substr(tail));
}

std::string BoardIdOfPort(std::string_view port) {
  std::string name = PortBaseName(port);
  for (char& c : name)
    if (!IdCharacter(c)) c = '_';
  return "vmx" + std::to_string(kThisBoard) + "_" + name;
}

}  // namespace vmx
