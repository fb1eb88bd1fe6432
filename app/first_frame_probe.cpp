#include "app/first_frame_probe.h"

#include <unistd.h>

#include <QEvent>
#include <QMetaObject>
#include <QWidget>
#include <QWindow>
#include <cstdlib>

namespace vmx {
namespace {

class FirstFrameProbe final : public QObject {
 public:
  FirstFrameProbe(QWidget& window, std::function<void()> job)
      : QObject(&window), window_(window), job_(std::move(job)) {
    window.installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    // The native window exists once the widget is shown; it paints and flushes
    // its first frame while it handles its first expose, and the line goes out
    // right after.
    if (watched == &window_ && event->type() == QEvent::Show && window_.windowHandle())
      window_.windowHandle()->installEventFilter(this);
    if (watched == window_.windowHandle() && event->type() == QEvent::Expose && !done_ &&
        window_.windowHandle()->isExposed()) {
      done_ = true;
      QMetaObject::invokeMethod(
          this,
          [this] {
            window_.removeEventFilter(this);
            if (window_.windowHandle()) window_.windowHandle()->removeEventFilter(this);
            job_();
            deleteLater();
          },
          Qt::QueuedConnection);
    }
    return false;
  }

 private:
  QWidget& window_;
  std::function<void()> job_;
  bool done_ = false;
};

}  // namespace

void ReportFirstFrame(QWidget& window) {
  const char* fd = std::getenv("VMX_FIRST_FRAME_FD");
  if (!fd || !*fd) return;
  char* end = nullptr;
  const long n = std::strtol(fd, &end, 10);
  if (*end != 0 || n < 0) return;
  AfterFirstFrame(window, [fd = static_cast<int>(n)] {
    static constexpr char kLine[] = "first frame\n";
    [[maybe_unused]] const auto written = ::write(fd, kLine, sizeof kLine - 1);
  });
}

void AfterFirstFrame(QWidget& window, std::function<void()> job) {
  new FirstFrameProbe(window, std::move(job));
}

}  // namespace vmx
