// The list of port entries the Connection menu offers: "PATH (DESCRIPTION)".
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/port_source.h"

namespace vmx {

std::string MakePortEntry(const SerialDevice& device);

// Replaces `list` with the entries of the devices `source` reports, logging
// each. When the source fails its error is logged and `list` stays as it was.
void ListSerialPorts(PortSource& source, std::vector<std::string>& list,
                     const std::function<void(const std::string&)>& log);

}  // namespace vmx
