// How start-up is measured from outside: when the environment names a
// descriptor in VMX_FIRST_FRAME_FD, the window writes one line to it once its
// first frame is on the screen. Without it nothing is installed.
#pragma once

#include <functional>

class QWidget;

namespace vmx {

void ReportFirstFrame(QWidget& window);
// Writes the line "all controls" to that descriptor, if any: every page is
// built, so every control exists by its name.
void ReportAllControls();

// Runs `job` once `window` has shown its first frame (right after it, on the
// UI thread); never, when the window is destroyed before.
void AfterFirstFrame(QWidget& window, std::function<void()> job);

}  // namespace vmx
