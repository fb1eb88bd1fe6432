// Port names as people give them and as the port list shows them, the same
// in every program: a bare name means that device under /dev, a path stays as
// it is, and only a port-list entry carries a description to cut off. On
// Windows a port is "COM" and its number in any case, with or without the
// device prefix "\\.\" (com7, COM7, \\.\COM7); the program writes it COM7,
// as the system lists it. Other Windows device names stay as given.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vmx {

// The device a port argument names: a bare name (no "/") means /dev/NAME;
// paths keep their letter case and their blanks. On Windows the COM port in
// its written form (COM7), anything else as it stands.
std::string PortFromArgument(std::string_view arg);

// The port's own name without its folder: rfcomm0 for /dev/rfcomm0, COM12 for
// \\.\COM12 and com12 on Windows.
std::string PortBaseName(std::string_view port);

// The device of a port text as the worker is given it: a port-list entry
// "PATH (DESCRIPTION)" gives PATH, anything else, an explicit path with
// blanks included, is the device as it stands.
std::string PortOfText(std::string_view text);

// Text for a message: an overlong one keeps its start and its end around an
// ellipsis, so a runaway argument cannot flood the log; never cut inside a
// UTF-8 character.
std::string ShortForMessage(std::string_view text, size_t limit = 160);

// The name a board goes by wherever it must stay the same across restarts
// (MQTT topics, the service's routes, the history and plan folders): "vmx5_"
// and the port's file name as given, every character outside [A-Za-z0-9_-]
// as "_". /dev/rfcomm0 gives vmx5_rfcomm0, on Windows com7 gives vmx5_COM7.
std::string BoardIdOfPort(std::string_view port);
// The characters a board id keeps: A-Z, a-z, 0-9, "-" and "_".
bool IdCharacter(char c);

}  // namespace vmx
