#include "app/serial_port_list.h"

#include <exception>

#include "lang/catalogue.h"

namespace vmx {

std::string MakePortEntry(const SerialDevice& device) {
  return device.path + " (" + device.description + ")";
}

void ListSerialPorts(PortSource& source, std::vector<std::string>& list,
                     const std::function<void(const std::string&)>& log) {
  log(LangText("ListingSerialPorts"));
  try {
    std::vector<std::string> found;
    for (const SerialDevice& device : source.Devices()) {
      found.push_back(MakePortEntry(device));
      log(found.back());
    }
    list = std::move(found);
  } catch (const std::exception& e) {
    log(e.what());
  }
  if (list.empty()) log(LangText("NoSerialPorts"));
}

}  // namespace vmx
