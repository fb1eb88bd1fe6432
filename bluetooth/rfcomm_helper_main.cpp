// velmarinex-rfcomm: binds or releases one RFCOMM tty for the configurator,
// which itself runs without CAP_NET_ADMIN. It does nothing else, so that it
// can be given the capability or be allowed through polkit.
//   velmarinex-rfcomm bind 00:11:22:AA:BB:CC CHANNEL   prints the new N of /dev/rfcommN
//   velmarinex-rfcomm release N
// A failure prints its errno name, a tab and the system's text, and exits 1.
#include <cstdio>
#include <string>

#include "bluetooth/rfcomm_kernel.h"

namespace {

int Report(const vmx::BtResult& result, int id) {
  if (result) {
    std::printf("%s\t%s\n", result->name.c_str(), result->text.c_str());
    return 1;
  }
  std::printf("%d\n", id);
  return 0;
}

int Number(const char* text) {
  try {
    size_t used = 0;
    const int n = std::stoi(text, &used);
    return used == std::string(text).size() ? n : -1;
  } catch (const std::exception&) {
    return -1;
  }
}

}  // namespace

int main(int argc, char** argv) {
  const std::string verb = argc > 1 ? argv[1] : "";
  if (verb == "bind" && argc == 4) {
    int id = -1;
    const vmx::BtResult result = vmx::rfcomm::CreateBinding(argv[2], Number(argv[3]), id);
    return Report(result, id);
  }
  if (verb == "release" && argc == 3) {
    const int id = Number(argv[2]);
    return Report(vmx::rfcomm::ReleaseBinding(id), id);
  }
  const bool help = verb == "--help" || verb == "-h";
  std::fprintf(help ? stdout : stderr,
               "usage: velmarinex-rfcomm bind ADDRESS CHANNEL | release N\n");
  return help ? 0 : 2;
}
