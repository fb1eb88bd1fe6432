// Pictures of the window's pages for the documentation: the program connected
// to its built-in simulated board, each page in front in turn.
//   page_shots OUTDIR [-german]
#include <QDir>
#include <QElapsedTimer>
#include <QTabWidget>
#include <QTest>
#include <cstdio>

#include "app/application.h"
#include "app/demo_board.h"
#include "app/frm_lantix.h"
#include "persist/memory_preferences.h"

int main(int argc, char** argv) {
  vmx::Application app(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: page_shots OUTDIR [-german]\n");
    return 2;
  }
  const QDir out(QString::fromLocal8Bit(argv[1]));
  const bool german = argc > 2 && QString(argv[2]) == "-german";
  QDir().mkpath(out.path());

  vmx::DemoBoard demo;
  demo.Start();
  vmx::MemoryPreferences preferences;
  vmx::StartOptions options;
  options.arguments = {"-expert", german ? "-german" : "-english"};
  options.demoPort = demo.PortPath();
  options.preferences = &preferences;
  options.logToStderr = false;
  vmx::TfrmLantix window(std::move(options));
  window.show();
  // The first full read ends with the port remembered.
  QElapsedTimer waited;
  waited.start();
  while (!preferences.KeyExists() && waited.elapsed() < 10000) QTest::qWait(50);
  QTest::qWait(1500);

  auto* pages = window.findChild<QTabWidget*>("pc");
  const QString suffix = german ? "-de" : "-en";
  for (int i = 0; i < pages->count(); ++i) {
    QWidget* page = pages->widget(i);
    // The log names the program's own path; it stays out of the pictures.
    if (page->objectName() == "tsMessages") continue;
    window.ShowPage(page);
    QTest::qWait(700);
    const QString file = out.filePath(page->objectName() + suffix + ".png");
    if (!window.grab().save(file)) std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
  }
  return 0;
}
