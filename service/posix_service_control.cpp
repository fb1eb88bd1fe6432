// Linux has no service manager of this kind for the program to talk to: the
// package's systemd unit starts velmarinexd, and the options that would ask
// for one are refused before anything gets here.
#include "lang/catalogue.h"
#include "service/service_control.h"
#include "service/service_options.h"

namespace vmx::service {

bool ServiceManagerInThisBuild() {
  return false;
}

std::string InstallService(const std::vector<std::string>&) {
  return LangText("ServiceNoScm");
}

std::string UninstallService() {
  return LangText("ServiceNoScm");
}

int RunAsService(std::function<int()>) {
  return 1;
}

}  // namespace vmx::service
