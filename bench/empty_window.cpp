// The yardstick for start-up: an empty Qt main window of the program's size,
// shown and reporting its first frame exactly as the program does. With
// --text it shows one word: the least any window with text pays, as the
// first text loads the font database.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <string_view>

#include "app/first_frame_probe.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QMainWindow window;
  window.resize(1009, 655);
  if (argc > 1 && std::string_view(argv[1]) == "--text")
    window.setCentralWidget(new QLabel("Velmarinex"));
  vmx::ReportFirstFrame(window);
  window.show();
  return app.exec();
}
