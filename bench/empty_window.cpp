// The yardstick for start-up: an empty Qt main window of the program's size,
// shown and reporting its first frame exactly as the program does.
#include <QApplication>
#include <QMainWindow>

#include "app/first_frame_probe.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QMainWindow window;
  window.resize(1009, 655);
  vmx::ReportFirstFrame(window);
  window.show();
  return app.exec();
}
