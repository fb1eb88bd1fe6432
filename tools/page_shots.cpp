// Pictures of the window's pages for the documentation: the program connected
// to its built-in simulated board, each page in front in turn, taken from the
// screen (run it on an X server such as Xvfb; scripts/screenshots does), and
// the Geo page's year view.
//   page_shots OUTDIR [-german] [--messages]
// The Messages page names the program's own path, so it is left out unless
// --messages says that path is fit to be seen.
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTest>
#include <cstdio>
#include <span>

#include "app/application.h"
#include "app/demo_board.h"
#include "app/frm_lantix.h"
#include "astro/year_window.h"
#include "graphics/colour_spread.h"
#include "persist/memory_preferences.h"
#include "ui/names.h"

namespace {

// What the screen shows of the window; the window's own rendering where the
// platform cannot read the screen back.
QPixmap Shot(QWidget& window) {
  if (QScreen* screen = window.screen()) {
    const QPixmap shown = screen->grabWindow(window.winId());
    if (!shown.isNull()) return shown;
  }
  return window.grab();
}

// Counts the paint events that reach a page or anything on it.
class PaintCount final : public QObject {
 public:
  explicit PaintCount(QWidget& page) {
    page.installEventFilter(this);
    for (QWidget* child : page.findChildren<QWidget*>()) child->installEventFilter(this);
  }
  int painted = 0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++painted;
    return false;
  }
};

// The share of the page's part of `shot` that differs from its background.
double PageSpread(const QPixmap& shot, QWidget& window, QWidget& page) {
  const QRect area(page.mapTo(&window, QPoint(0, 0)) * shot.devicePixelRatio(),
                   page.size() * shot.devicePixelRatio());
  const QImage pixels = shot.toImage().copy(area).convertToFormat(QImage::Format_RGB32);
  const auto* first = reinterpret_cast<const uint32_t*>(pixels.constBits());
  return vmx::OffColourShare(
      std::span(first, static_cast<size_t>(pixels.sizeInBytes()) / sizeof(uint32_t)));
}

// Shows `page` and takes the window once the page has been painted and the
// picture shows it; a picture that stays blank is not taken.
QPixmap ShootPage(vmx::TfrmLantix& window, QWidget& page) {
  PaintCount paints(page);
  window.ShowPage(&page);
  QElapsedTimer waited;
  waited.start();
  while (paints.painted == 0 && waited.elapsed() < 5000) QTest::qWait(20);
  // What was painted reaches the screen with the next passes of the event loop.
  QTest::qWait(300);
  for (;;) {
    QPixmap shot = Shot(window);
    const double spread = PageSpread(shot, window, page);
    if (spread >= vmx::kBlankPageShare) return shot;
    if (waited.elapsed() > 10000) {
      std::fprintf(stderr, "page_shots: %s stays blank (%.4f of its pixels off its background)\n",
                   qPrintable(page.objectName()), spread);
      return {};
    }
    QTest::qWait(200);
  }
}

}  // namespace

int main(int argc, char** argv) {
  vmx::Application app(argc, argv);
  bool german = false, messages = false;
  QString outDir;
  for (int i = 1; i < argc; ++i) {
    const QString a = QString::fromLocal8Bit(argv[i]);
    if (a == "-german")
      german = true;
    else if (a == "--messages")
      messages = true;
    else if (outDir.isEmpty() && !a.startsWith('-'))
      outDir = a;
  }
  if (outDir.isEmpty()) {
    std::fprintf(stderr, "usage: page_shots OUTDIR [-german] [--messages]\n");
    return 2;
  }
  const QDir out(outDir);
  QDir().mkpath(out.path());

  vmx::DemoBoard demo;
  demo.Start();
  vmx::MemoryPreferences preferences;
  vmx::StartOptions options;
  options.arguments = {"--demo", "-expert", german ? "-german" : "-english"};
  options.demoPort = demo.PortPath();
  options.preferences = &preferences;
  options.logToStderr = false;
  vmx::TfrmLantix window(std::move(options));
  window.show();
  // The first full read ends with the port remembered.
  QElapsedTimer waited;
  waited.start();
  while (!preferences.KeyExists() && waited.elapsed() < 10000) QTest::qWait(50);
  if (!preferences.KeyExists()) {
    std::fprintf(stderr, "page_shots: the simulated board did not answer\n");
    return 1;
  }
  QTest::qWait(1500);

  auto* pages = window.findChild<QTabWidget*>(vmx::names::pc);
  const QString suffix = german ? "-de" : "-en";
  int failed = 0;
  for (int i = 0; i < pages->count(); ++i) {
    QWidget* page = pages->widget(i);
    if (page->objectName() == vmx::names::tsMessages && !messages) continue;
    const QPixmap shot = ShootPage(window, *page);
    if (shot.isNull()) {
      ++failed;
      continue;
    }
    const QString file = out.filePath(page->objectName() + suffix + ".png");
    if (!shot.save(file)) {
      std::fprintf(stderr, "page_shots: cannot write %s\n", qPrintable(file));
      ++failed;
    }
  }
  // The Geo page's year view, a window of its own: NAME year.
  window.ShowPage(window.PageNamed(vmx::names::tsGeo));
  if (auto* button = window.findChild<QPushButton*>(vmx::names::btnYear)) button->click();
  if (auto* year = window.findChild<vmx::YearWindow*>()) {
    year->resize(1100, 700);
    QTest::qWait(800);
    QElapsedTimer shown;
    shown.start();
    QPixmap shot = Shot(*year);
    while (PageSpread(shot, *year, *year) < vmx::kBlankPageShare && shown.elapsed() < 10000) {
      QTest::qWait(200);
      shot = Shot(*year);
    }
    const QString file = out.filePath("year" + suffix + ".png");
    if (PageSpread(shot, *year, *year) < vmx::kBlankPageShare || !shot.save(file)) {
      std::fprintf(stderr, "page_shots: the year view stays blank or cannot be written\n");
      ++failed;
    }
  } else {
    std::fprintf(stderr, "page_shots: the Geo page has no year view\n");
    ++failed;
  }
  return failed ? 1 : 0;
}
