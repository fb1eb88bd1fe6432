// velmarinex: the configurator of the Velmarinex 2.x.4 lighting controller.
#include <signal.h>

#include <cstdio>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include <QMetaObject>
#include <QTemporaryDir>

#include "app/application.h"
#include "app/command_line.h"
#include "app/demo_board.h"
#include "app/first_frame_probe.h"
#include "app/frm_lantix.h"
#include "app/stop_signals.h"
#include "persist/memory_preferences.h"

int main(int argc, char** argv) {
  // A reader that went away (a closed pipe on standard error) must not end the program.
  ::signal(SIGPIPE, SIG_IGN);
  vmx::StartOptions options;
  for (int i = 1; i < argc; ++i) options.arguments.emplace_back(argv[i]);
  // Before the application object: the help needs no display.
  if (vmx::ParseCommandLine(options.arguments).help) {
    std::fputs(vmx::UsageText(), stdout);
    return 0;
  }
  vmx::Application app(argc, argv);

  // The built-in board's pty is gone after this run, so it must not replace
  // the port the user's next start connects to.
  std::unique_ptr<vmx::DemoBoard> demo;
  vmx::MemoryPreferences demoPreferences;
  // Nor may its backups (named after a pty) land among the user's own files.
  QTemporaryDir demoFolder;
  if (vmx::ParseCommandLine(options.arguments).demo) {
    demo = std::make_unique<vmx::DemoBoard>();
    try {
      demo->Start();
    } catch (const std::exception& e) {
      std::fprintf(stderr, "velmarinex: %s\n", e.what());
      return 1;
    }
    options.demoPort = demo->PortPath();
    options.preferences = &demoPreferences;
    if (demoFolder.isValid()) options.appDir = demoFolder.path();
  }

  vmx::StopSignals stop;
  vmx::TfrmLantix window(std::move(options));
  QObject::connect(&stop, &vmx::StopSignals::stopRequested, &window, &QWidget::close);
  vmx::ReportFirstFrame(window);
  // Queued once more, so that it comes after every other first-frame job.
  vmx::AfterFirstFrame(window, [&app] {
    QMetaObject::invokeMethod(
        &app, [&app] { app.SetThemeIcon(); }, Qt::QueuedConnection);
  });
  window.show();
  return app.exec();
}
