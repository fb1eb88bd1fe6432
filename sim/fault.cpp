#include "sim/fault.h"

#include <array>
#include <utility>

namespace vmx::sim {
namespace {

constexpr std::array<std::pair<Fault, std::string_view>, 10> kNames{{
    {Fault::Silence, "silence"},
    {Fault::ShortReply, "short"},
    {Fault::WrongEcho, "wrong-echo"},
    {Fault::InvalidHex, "bad-hex"},
    {Fault::LowerCase, "lower-case"},
    {Fault::CrLf, "crlf"},
    {Fault::ZeroAck, "zero-ack"},
    {Fault::Delay, "delay"},
    {Fault::HangUp, "hangup"},
    {Fault::Lost, "lost"},
}};

}  // namespace

std::optional<Fault> ParseFault(std::string_view name) {
  for (const auto& [f, n] : kNames)
    if (n == name) return f;
  return std::nullopt;
}

std::string_view FaultName(Fault f) {
  for (const auto& [k, n] : kNames)
    if (k == f) return n;
  return "?";
}

}  // namespace vmx::sim
