// A JSON object written member by member, for machine-readable output.
#pragma once

#include <string>
#include <string_view>

namespace vmx::cli {

// "..." with quotes, backslashes and control characters escaped; UTF-8 passes.
std::string JsonQuote(std::string_view text);
// Full double precision; null for values JSON cannot hold (NaN, infinities).
std::string JsonNumber(double value);

class JsonObject {
 public:
  JsonObject& AddNumber(std::string_view key, double value);
  JsonObject& AddInt(std::string_view key, long long value);
  JsonObject& AddBool(std::string_view key, bool value);
  JsonObject& AddString(std::string_view key, std::string_view value);
  // value is JSON text already: a nested object or an array.
  JsonObject& AddRaw(std::string_view key, std::string_view json);
  std::string Text() const { return "{" + members_ + "}"; }

 private:
  std::string members_;
};

}  // namespace vmx::cli
