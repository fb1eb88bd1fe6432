#include "app/application.h"

#include <cxxabi.h>

#include <QIcon>

#include <cstdio>
#include <exception>
#include <typeinfo>

namespace vmx {

namespace {

// The name of the installed desktop entry and icon: Wayland desktops match the
// window to its menu entry by it, X11 ones get the icon from the theme.
constexpr const char* kDesktopId = "de.velmarinex.Configurator";

}  // namespace

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
  setDesktopFileName(kDesktopId);
}

void Application::SetThemeIcon() {
  setWindowIcon(QIcon::fromTheme(kDesktopId));
}

bool Application::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& e) {
    Report(e.what());
  } catch (...) {
    // No message to show: the exception's type is all there is to say.
    const std::type_info* type = abi::__cxa_current_exception_type();
    Report(type ? type->name() : "");
  }
  return false;
}

void Application::SetExceptionHandler(std::function<void(const std::string&)> handler) {
  handler_ = std::move(handler);
}

void Application::Report(const std::string& message) {
  if (handler_) {
    handler_(message);
  } else {
    std::fprintf(stderr, "%s\n", message.c_str());
  }
}

}  // namespace vmx
