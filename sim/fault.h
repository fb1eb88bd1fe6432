// Faults the simulated board can put into its replies on request.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vmx::sim {

enum class Fault {
  Silence,       // no reply at all
  ShortReply,    // the reply lacks its last byte
  WrongEcho,     // the echo names another command
  InvalidHex,    // one payload digit is not hex
  LowerCase,     // hex digits in lower case
  CrLf,          // terminated by CR LF instead of CR
  ZeroAck,       // a Set is acknowledged with 0x00
  Delay,         // the reply comes late
  HangUp,        // the device vanishes instead of replying
  Lost,          // the line never reaches the board: no action, no reply
};

std::optional<Fault> ParseFault(std::string_view name);
std::string_view FaultName(Fault f);

}  // namespace vmx::sim
