// The system's service manager (Windows): velmarinexd installed as a
// service that starts with the computer, removed again, and run as one.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace vmx::service {

// Installs the service to start with the computer, running this program with
// `arguments`; the system's words when it cannot (empty when done).
std::string InstallService(const std::vector<std::string>& arguments);

// Stops the service if it runs and removes it; the system's words when it cannot.
std::string UninstallService();

// Runs `serve` as the service the manager started: running once it starts,
// asked to stop (as by Ctrl+C) when the manager says so, stopped with its
// exit code. Not started by the manager: 1, with a line on stderr.
int RunAsService(std::function<int()> serve);

}  // namespace vmx::service
