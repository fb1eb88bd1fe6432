// The handlers of the Options menu: modes, big step size, expert pages,
// refresh, save, IR pairing, reef defaults, health data and the board clock.
// The menu items are found by name in the window; each handler only changes
// records and raises request bits (settings/device_actions.h).
#pragma once

#include <QObject>
#include <cstdint>

#include "link/records.h"

class QAction;

namespace vmx {

class PageContext;

class OptionsMenu final : public QObject {
  Q_OBJECT

 public:
  OptionsMenu(PageContext& context, QObject* parent);

  void mnuOptionsClick();
  void ModeClick(BoardMode mode);
  void mnuStepBigClick();
  void mnuShowExpertClick();
  void mnuRefreshClick();
  void mnuSaveEEPROMClick();
  void mnuIRLearnClick();
  void mnuLoadReefClick();
  void mnuHealthClick();
  void mnuSetTimeDateClick();

 private:
  QAction* Item(const char* name) const;
  void ShowPage(const char* name);
  // Mode was changed on the PC: the grid's first column and the enabling follow.
  void SetMode(BoardMode mode);

  PageContext& context_;
};

}  // namespace vmx
