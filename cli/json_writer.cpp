#include "cli/json_writer.h"

#include <cmath>
#include <cstdio>

namespace vmx::cli {
namespace {

void Write(const Json& value, std::string& out) {
  switch (value.type()) {
    case Json::value_t::object: {
      out += '{';
      bool first = true;
      for (const auto& [key, member] : value.items()) {
        if (!first) out += ", ";
        first = false;
        out += JsonQuote(key);
        out += ": ";
        Write(member, out);
      }
      out += '}';
      return;
    }
    case Json::value_t::array: {
      out += '[';
      for (size_t i = 0; i < value.size(); ++i) {
        if (i) out += ", ";
        Write(value[i], out);
      }
      out += ']';
      return;
    }
    case Json::value_t::number_float:
      out += JsonNumber(value.get<double>());
      return;
    default:
      out += value.dump(-1, ' ', false, Json::error_handler_t::replace);
  }
}

}  // namespace

std::string JsonText(const Json& value) {
  std::string out;
  Write(value, out);
  return out;
}

std::string JsonQuote(std::string_view text) {
  return Json(std::string(text)).dump(-1, ' ', false, Json::error_handler_t::replace);
}

std::string JsonNumber(double value) {
  if (!std::isfinite(value)) return "null";
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.17g", value);
  return buf;
}

JsonObject& JsonObject::Add(std::string_view key, Json value) {
  members_[std::string(key)] = std::move(value);
  return *this;
}

JsonObject& JsonObject::AddRaw(std::string_view key, std::string_view json) {
  return Add(key, Json::parse(json));
}

JsonObject& JsonObject::AddNumber(std::string_view key, double value) {
  return Add(key, std::isfinite(value) ? Json(value) : Json(nullptr));
}

JsonObject& JsonObject::AddInt(std::string_view key, long long value) {
  return Add(key, value);
}

JsonObject& JsonObject::AddBool(std::string_view key, bool value) {
  return Add(key, value);
}

JsonObject& JsonObject::AddString(std::string_view key, std::string_view value) {
  return Add(key, std::string(value));
}

}  // namespace vmx::cli
