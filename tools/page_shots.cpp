// Pictures of the window's pages for the documentation: the program connected
// to its built-in simulated board, each page in front in turn, taken from the
// screen (run it on an X server such as Xvfb; scripts/screenshots does).
//   page_shots OUTDIR [-german] [--messages]
// The Messages page names the program's own path, so it is left out unless
// --messages says that path is fit to be seen.
#include <QDir>
#include <QElapsedTimer>
#include <QScreen>
#include <QTabWidget>
#include <QTest>
#include <cstdio>

#include "app/application.h"
#include "app/demo_board.h"
#include "app/frm_lantix.h"
#include "persist/memory_preferences.h"

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

  auto* pages = window.findChild<QTabWidget*>("pc");
  const QString suffix = german ? "-de" : "-en";
  int failed = 0;
  for (int i = 0; i < pages->count(); ++i) {
    QWidget* page = pages->widget(i);
    if (page->objectName() == "tsMessages" && !messages) continue;
    window.ShowPage(page);
    QTest::qWait(700);
    const QString file = out.filePath(page->objectName() + suffix + ".png");
    if (!Shot(window).save(file)) {
      std::fprintf(stderr, "page_shots: cannot write %s\n", qPrintable(file));
      ++failed;
    }
  }
  return failed ? 1 : 0;
}
