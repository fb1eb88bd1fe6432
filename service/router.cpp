#include "service/router.h"

namespace vmx::service {
namespace {

std::vector<std::string_view> Segments(std::string_view path) {
  std::vector<std::string_view> out;
  while (!path.empty()) {
    if (path.front() == '/') {
      path.remove_prefix(1);
      continue;
    }
    const size_t end = path.find('/');
    out.push_back(path.substr(0, end));
    if (end == std::string_view::npos) break;
    path.remove_prefix(end);
  }
  return out;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string Decoded(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '+') {
      out += ' ';
    } else if (text[i] == '%' && i + 2 < text.size() && HexDigit(text[i + 1]) >= 0 &&
               HexDigit(text[i + 2]) >= 0) {
      out += static_cast<char>(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2]));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

}  // namespace

std::string Call::Param(const std::string& name) const {
  const auto it = params.find(name);
  return it == params.end() ? std::string() : it->second;
}

void Router::Add(http::verb method, std::string pattern, RouteHandler handler, bool open) {
  routes_.push_back({method, std::move(pattern), std::move(handler), open});
}

const Route* Router::Match(http::verb method, Call& call, bool& pathKnown) const {
  pathKnown = false;
  const std::vector<std::string_view> asked = Segments(call.path);
  for (const Route& route : routes_) {
    const std::vector<std::string_view> pattern = Segments(route.pattern);
    if (pattern.size() != asked.size()) continue;
    std::map<std::string, std::string> params;
    bool fits = true;
    for (size_t i = 0; i < pattern.size() && fits; ++i) {
      if (pattern[i].starts_with('{') && pattern[i].ends_with('}'))
        params[std::string(pattern[i].substr(1, pattern[i].size() - 2))] = asked[i];
      else
        fits = pattern[i] == asked[i];
    }
    if (!fits) continue;
    pathKnown = true;
    if (route.method != method) continue;
    call.params = std::move(params);
    return &route;
  }
  return nullptr;
}

void SplitTarget(std::string_view target, std::string& path,
                 std::map<std::string, std::string>& query) {
  const size_t mark = target.find('?');
  path = std::string(target.substr(0, mark));
  if (mark == std::string_view::npos) return;
  std::string_view rest = target.substr(mark + 1);
  while (!rest.empty()) {
    const size_t end = rest.find('&');
    const std::string_view pair = rest.substr(0, end);
    const size_t equals = pair.find('=');
    if (!pair.empty())
      query[Decoded(pair.substr(0, equals))] =
          equals == std::string_view::npos ? std::string() : Decoded(pair.substr(equals + 1));
    if (end == std::string_view::npos) break;
    rest.remove_prefix(end + 1);
  }
}

}  // namespace vmx::service
