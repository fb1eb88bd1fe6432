#include "sim/control_command.h"

#include <sstream>
#include <vector>

namespace vmx::sim {

const char* const kControlHelp =
    "commands:\n"
    "  fault NAME [COUNT] [COMMAND]  next COUNT replies (0: all; to COMMAND only) get the fault\n"
    "                                silence short wrong-echo bad-hex lower-case crlf zero-ack hangup\n"
    "                                lost"
    "  delay MS [COUNT] [COMMAND]    next COUNT replies come MS late\n"
    "  clear                         drop every pending fault\n"
    "  identity TYPE VERSION         answer GetDevice with another identity\n"
    "  hangup [MS]                   the device vanishes, back after MS (default 1000; -1 never)\n"
    "  geometry PAGE FLASH           PageSize and FlashSize the bootloader reports\n"
    "  jumper on|off                 set or remove the bootloader jumper\n"
    "  baud N                        pace the line at N baud (0: as fast as the pty)\n"
    "  temperature SENSOR TENTHS     board, water or second sensor reads TENTHS of a degree C\n"
    "                                (none: the sensor is missing)\n"
    "  errors FLAGS                  the board reports the error bits FLAGS (0: none)\n"
    "  help                          this text\n";

namespace {

bool ToInt(const std::string& s, long& out) {
  try {
    size_t used = 0;
    out = std::stol(s, &used, 0);
    return used == s.size();
  } catch (...) {
    return false;
  }
}

}  // namespace

std::string RunControlCommand(std::string_view line, SimBoard& board, PtyServer& server) {
  std::istringstream in{std::string(line)};
  std::vector<std::string> w;
  for (std::string s; in >> s;) w.push_back(s);
  if (w.empty()) return {};
  long a = 0, b = 0;
  const std::string& verb = w[0];
  if (verb == "help") return kControlHelp;
  if (verb == "clear") {
    board.ClearFaults();
    return "faults cleared";
  }
  if (verb == "identity" && w.size() == 3 && ToInt(w[1], a) && ToInt(w[2], b)) {
    board.SetIdentity(static_cast<uint8_t>(a), static_cast<uint8_t>(b));
    return "identity " + w[1] + " " + w[2];
  }
  if (verb == "geometry" && w.size() == 3 && ToInt(w[1], a) && ToInt(w[2], b) && a >= 0 &&
      a <= 0xFFFF && b >= 0 && b <= 0xFFFFFFFFL) {
    board.SetGeometry(static_cast<uint16_t>(a), static_cast<uint32_t>(b));
    return "geometry " + w[1] + " " + w[2];
  }
  if (verb == "jumper" && w.size() == 2 && (w[1] == "on" || w[1] == "off")) {
    board.SetJumper(w[1] == "on");
    return "jumper " + w[1];
  }
  if (verb == "baud" && w.size() == 2 && ToInt(w[1], a) && a >= 0 && a <= 4000000) {
    server.SetLineRate(static_cast<int>(a));
    return "baud " + w[1];
  }
  if (verb == "temperature" && w.size() == 3) {
    int16_t Info::* sensor = w[1] == "board"    ? &Info::TempBoard
                             : w[1] == "water"  ? &Info::TempWater
                             : w[1] == "second" ? &Info::TempSlave
                                                : nullptr;
    long tenths = kNoTemperature;
    if (!sensor || (w[2] != "none" && (!ToInt(w[2], tenths) || tenths < -32768 || tenths >= 0x7FFF)))
      return "temperature: board|water|second TENTHS|none";
    board.With([&](BoardState& s) { s.info.*sensor = static_cast<int16_t>(tenths); });
    return "temperature " + w[1] + " " + w[2];
  }
  if (verb == "errors" && w.size() == 2) {
    if (!ToInt(w[1], a) || a < 0 || a > 0xFF) return "errors: FLAGS is 0 to 255";
    board.With([&](BoardState& s) { s.info.ErrorFlags = static_cast<uint8_t>(a); });
    return "errors " + w[1];
  }
  if (verb == "hangup" && w.size() <= 2) {
    a = 1000;
    if (w.size() == 2 && !ToInt(w[1], a)) return "hangup: MS must be a number";
    server.HangUp(std::chrono::milliseconds(a));
    return "hung up";
  }
  if ((verb == "fault" || verb == "delay") && w.size() >= 2 && w.size() <= 4) {
    Fault fault = Fault::Delay;
    long ms = 0;
    if (verb == "fault") {
      const auto f = ParseFault(w[1]);
      if (!f) return "unknown fault " + w[1];
      fault = *f;
    } else if (!ToInt(w[1], ms)) {
      return "delay: MS must be a number";
    }
    long count = 1;
    if (w.size() >= 3 && !ToInt(w[2], count)) return "COUNT must be a number";
    const std::string command = w.size() == 4 ? w[3] : "";
    board.InjectFault(fault, static_cast<int>(count), command, std::chrono::milliseconds(ms));
    return std::string(FaultName(fault)) + " armed";
  }
  return "unknown command; type help";
}

}  // namespace vmx::sim
