// JSON for machine-readable output, built with nlohmann-json and written in
// the layout our programs have always printed: ", " between members, ": "
// after a key, members in the order they were added, numbers of full double
// precision. Scripts compare that text, so the layout stays.
#pragma once

#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace vmx::cli {

// Members keep the order they were added in.
using Json = nlohmann::ordered_json;

// `value` in the layout above; invalid UTF-8 becomes U+FFFD.
std::string JsonText(const Json& value);

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
  JsonObject& Add(std::string_view key, Json value);
  const Json& Value() const { return members_; }
  std::string Text() const { return JsonText(members_); }

 private:
  Json members_ = Json::object();
};

}  // namespace vmx::cli
