#include "cli/json_writer.h"

#include <cmath>
#include <cstdio>

namespace vmx::cli {

std::string JsonQuote(std::string_view text) {
  std::string out = "\"";
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += ch;
    } else if (c < 0x20) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04x", c);
      out += buf;
    } else {
      out += ch;
    }
  }
  return out + "\"";
}

std::string JsonNumber(double value) {
  if (!std::isfinite(value)) return "null";
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.17g", value);
  return buf;
}

JsonObject& JsonObject::AddRaw(std::string_view key, std::string_view json) {
  if (!members_.empty()) members_ += ", ";
  members_ += JsonQuote(key);
  members_ += ": ";
  members_ += json;
  return *this;
}

JsonObject& JsonObject::AddNumber(std::string_view key, double value) {
  return AddRaw(key, JsonNumber(value));
}

JsonObject& JsonObject::AddInt(std::string_view key, long long value) {
  return AddRaw(key, std::to_string(value));
}

JsonObject& JsonObject::AddBool(std::string_view key, bool value) {
  return AddRaw(key, value ? "true" : "false");
}

JsonObject& JsonObject::AddString(std::string_view key, std::string_view value) {
  return AddRaw(key, JsonQuote(value));
}

}  // namespace vmx::cli
