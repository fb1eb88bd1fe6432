// Writes the seed inputs of the wire-reply fuzz target: what the simulated
// board really answers to each command, plain and with the harmless faults a
// line shows (lower-case hex, CR LF). Run once from the source root; the
// files land in tests/fuzz/corpus/wire_reply.
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "link/shared_store.h"
#include "persist/ini_document.h"
#include "persist/settings_file.h"
#include "sim/sim_board.h"

namespace {

// Positions of the commands in the fuzz target's table.
struct Seed {
  const char* name;
  int choice;
  const char* line;
};

constexpr Seed kGets[] = {
    {"get_device", 0, "80"},   {"get_info", 1, "81"},   {"get_config", 2, "82"},
    {"get_schedule", 3, "83"}, {"get_expert", 4, "85"}, {"get_weather", 5, "86"},
    {"get_chart", 6, "87"},    {"get_health", 7, "88"},
};

void Append(std::string& out, int choice, const std::string& reply) {
  out += static_cast<char>(choice);
  out += static_cast<char>(reply.size());
  out += reply;
}

void Write(const std::string& dir, const std::string& name, const std::string& bytes) {
  std::ofstream(dir + "/" + name, std::ios::binary) << bytes;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string dir = argc > 1 ? argv[1] : "tests/fuzz/corpus/wire_reply";
  vmx::sim::SimBoard board({.rows = 4});
  std::string session;
  for (const Seed& s : kGets) {
    const std::string reply = board.Handle(s.line).bytes;
    std::string one;
    Append(one, s.choice, reply);
    Write(dir, s.name, one);
    Append(session, s.choice, reply);
    if (s.choice == 3)  // the other rows of the schedule
      for (int row = 1; row < 4; ++row) Append(session, s.choice, board.Handle(s.line).bytes);
  }
  Write(dir, "session", session);

  board.InjectFault(vmx::sim::Fault::LowerCase);
  std::string lower;
  Append(lower, 1, board.Handle("81").bytes);
  Write(dir, "get_info_lower_case", lower);
  board.InjectFault(vmx::sim::Fault::CrLf);
  std::string crlf;
  Append(crlf, 2, board.Handle("82").bytes);
  Write(dir, "get_config_crlf", crlf);

  // The Sets: each answered with the board's one acknowledgement byte.
  std::string sets;
  for (int choice = 9; choice <= 14; ++choice) Append(sets, choice, "K");
  Write(dir, "sets", sets);

  board.Handle("7F00");  // into the bootloader
  std::string boot;
  Append(boot, 0, board.Handle("80").bytes);
  Append(boot, 8, board.Handle("81").bytes);
  Write(dir, "bootloader", boot);

  // A settings file as the program exports it, from the board's records.
  vmx::SettingsRecords records = board.With([](vmx::sim::BoardState& st) {
    vmx::SettingsRecords r;
    r.config = st.config;
    r.expert = st.expert;
    r.weather = st.weather;
    r.schedule = st.schedule;
    return r;
  });
  vmx::IniDocument doc;
  vmx::PutSettings(doc, records);
  const std::string settings = argc > 2 ? argv[2] : "tests/fuzz/corpus/settings_file";
  Write(settings, "exported", doc.Text());
  std::printf("seeds written to %s and %s\n", dir.c_str(), settings.c_str());
  return 0;
}
