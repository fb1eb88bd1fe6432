// The main menu `mnuMain`: every menu and item with its object name, shortcut
// and separator. Captions come from the language table; handlers are wired
// by the window and the pages.
#pragma once

class QMainWindow;

namespace vmx {

// Builds the menu bar of `window`. The items mnuHealth and mnuDebug are not
// shown in any menu but belong to the window, so their shortcuts work while
// they are enabled.
void BuildMainMenu(QMainWindow& window);

}  // namespace vmx
