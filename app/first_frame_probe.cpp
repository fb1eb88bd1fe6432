#include "app/first_frame_probe.h"

#include <unistd.h>

#include <QEvent>
#include <QMetaObject>
#include <QPointer>
#include <QWidget>
#include <QWindow>
#include <cstdlib>
#include <string_view>
#include <vector>

namespace vmx {
namespace {

// One per window, so that its jobs run in a known order: the report of the
// frame first (what runs after it must not count as start-up), the others in
// the order they were given.
class FirstFrameProbe final : public QObject {
 public:
  explicit FirstFrameProbe(QWidget& window) : QObject(&window), window_(window) {
    window.installEventFilter(this);
  }

  static FirstFrameProbe& Of(QWidget& window) {
    for (QObject* child : window.children()) {
      auto* probe = dynamic_cast<FirstFrameProbe*>(child);
      if (probe && !probe->done_) return *probe;
    }
    return *new FirstFrameProbe(window);
  }

  void Add(std::function<void()> job, bool first) {
    jobs_.insert(first ? jobs_.begin() : jobs_.end(), std::move(job));
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    // The native window exists once the widget is shown; it paints and flushes
    // its first frame while it handles its first expose, and the jobs run
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
            // A job given from a job waits for the window to be shown again.
            const std::vector<std::function<void()>> jobs = std::move(jobs_);
            // A job that ends the window ends the probe, and the jobs after it.
            const QPointer<FirstFrameProbe> alive(this);
            for (const auto& job : jobs) {
              if (!alive) return;
              job();
            }
            if (alive) deleteLater();
          },
          Qt::QueuedConnection);
    }
    return false;
  }

 private:
  QWidget& window_;
  std::vector<std::function<void()>> jobs_;
  bool done_ = false;
};

// The descriptor VMX_FIRST_FRAME_FD names; -1 when there is none.
int ProbeDescriptor() {
  const char* fd = std::getenv("VMX_FIRST_FRAME_FD");
  if (!fd || !*fd) return -1;
  char* end = nullptr;
  const long n = std::strtol(fd, &end, 10);
  if (*end != 0 || n < 0) return -1;
  return static_cast<int>(n);
}

void WriteLine(int fd, std::string_view line) {
  [[maybe_unused]] const auto written = ::write(fd, line.data(), line.size());
}

}  // namespace

void ReportFirstFrame(QWidget& window) {
  const int fd = ProbeDescriptor();
  if (fd < 0) return;
  FirstFrameProbe::Of(window).Add([fd] { WriteLine(fd, "first frame\n"); }, true);
}

void ReportAllControls() {
  if (const int fd = ProbeDescriptor(); fd >= 0) WriteLine(fd, "all controls\n");
}

void AfterFirstFrame(QWidget& window, std::function<void()> job) {
  FirstFrameProbe::Of(window).Add(std::move(job), false);
}

}  // namespace vmx
