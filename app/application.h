// The application object. An exception that escapes an event handler is
// handed to the window's log instead of ending the program.
#pragma once

#include <QApplication>
#include <functional>
#include <string>

namespace vmx {

class Application final : public QApplication {
  Q_OBJECT

 public:
  Application(int& argc, char** argv);

  bool notify(QObject* receiver, QEvent* event) override;

  // The windows' icon from the desktop's icon theme. Finding it reads the
  // theme's folders, which can take longer than building the whole window, so
  // the window shows first and calls this after its first frame.
  void SetThemeIcon();

  // Where the messages of stray exceptions go (the window's log).
  void SetExceptionHandler(std::function<void(const std::string&)> handler);

 private:
  void Report(const std::string& message);

  std::function<void(const std::string&)> handler_;
};

}  // namespace vmx
