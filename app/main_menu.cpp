#include "app/main_menu.h"
#include "ui/names.h"

#include <QActionGroup>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace vmx {
namespace {

struct Item {
  const char* name;  // nullptr: a separator
  QKeySequence shortcut = {};
  bool checkable = false;
};

constexpr Qt::KeyboardModifiers kCtrl = Qt::ControlModifier;

QMenu* AddMenu(QMenuBar* bar, const char* name, std::initializer_list<Item> items) {
  QMenu* menu = bar->addMenu(QString());
  menu->setObjectName(name);
  for (const Item& item : items) {
    if (!item.name) {
      menu->addSeparator();
      continue;
    }
    QAction* action = menu->addAction(QString());
    action->setObjectName(item.name);
    action->setShortcut(item.shortcut);
    action->setCheckable(item.checkable);
  }
  return menu;
}

QKeySequence Ctrl(int key) {
  return QKeySequence(kCtrl | key);
}

}  // namespace

void BuildMainMenu(QMainWindow& window) {
  QMenuBar* bar = window.menuBar();
  bar->setObjectName(names::mnuMain);

  QMenu* connection = AddMenu(bar, names::mnuConnection,
                              {{names::mnuDiscover, Ctrl(Qt::Key_I)}, {names::mnuRemove, Ctrl(Qt::Key_U)}});
  connection->addSeparator();
  QMenu* connect = connection->addMenu(QString());
  connect->setObjectName(names::mnuConnect);
  QAction* disconnect = connection->addAction(QString());
  disconnect->setObjectName(names::mnuDisconnect);
  disconnect->setShortcut(Ctrl(Qt::Key_D));

  AddMenu(bar, names::mnuFile,
          {{names::mnuScheduleImport, Ctrl(Qt::Key_T)},
           {names::mnuConfigImport, Ctrl(Qt::Key_K)},
           {nullptr},
           {names::mnuScheduleConfigExport, Ctrl(Qt::Key_E)},
           {nullptr},
           {names::mnuCompare},
           {names::mnuUndoImport},
           {nullptr},
           {names::mnuFirmwareUpdate, Ctrl(Qt::Key_F)},
           {nullptr},
           {names::mnuExit, QKeySequence(Qt::AltModifier | Qt::Key_F4)}});

  QMenu* options = AddMenu(bar, names::mnuOptions,
                           {{names::mnuModeManual, Ctrl(Qt::Key_F1), true},
                            {names::mnuModeAuto, Ctrl(Qt::Key_F2), true},
                            {names::mnuModeGeo, Ctrl(Qt::Key_F3), true},
                            {names::mnuModeRGBDemo, Ctrl(Qt::Key_F4), true},
                            {names::mnuModeFlash, Ctrl(Qt::Key_F5), true},
                            {nullptr},
                            {names::mnuAllOff, Ctrl(Qt::Key_0)},
                            {names::mnuAll20, Ctrl(Qt::Key_2)},
                            {names::mnuAllOn, Ctrl(Qt::Key_1)},
                            {names::mnuSetTimeDate, Ctrl(Qt::Key_C)},
                            {nullptr},
                            {names::mnuStepBig, QKeySequence(Qt::Key_F4), true},
                            {nullptr},
                            {names::mnuShowExpert, QKeySequence(Qt::Key_F6), true},
                            {nullptr},
                            {names::mnuRefresh, QKeySequence(Qt::Key_F5)},
                            {names::mnuSaveEEPROM, Ctrl(Qt::Key_S)},
                            {names::mnuIRLearn, Ctrl(Qt::Key_R)},
                            {names::mnuLoadReef}});
  auto* modes = new QActionGroup(options);
  for (const char* name :
       {names::mnuModeManual, names::mnuModeAuto, names::mnuModeGeo, names::mnuModeRGBDemo, names::mnuModeFlash})
    modes->addAction(options->findChild<QAction*>(name));

  for (const Item& hidden :
       {Item{names::mnuHealth, QKeySequence(kCtrl | Qt::ShiftModifier | Qt::AltModifier | Qt::Key_X)},
        Item{names::mnuDebug, QKeySequence(kCtrl | Qt::AltModifier | Qt::Key_D)}}) {
    auto* action = new QAction(options);
    action->setObjectName(hidden.name);
    action->setShortcut(hidden.shortcut);
    window.addAction(action);
  }

  AddMenu(bar, names::mnuHelp, {{names::mnuHardware}, {names::mnuSoftware}, {names::mnuFAQ, QKeySequence(Qt::Key_F1)}});
}

}  // namespace vmx
