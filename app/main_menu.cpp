#include "app/main_menu.h"

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
  bar->setObjectName("mnuMain");

  QMenu* connection = AddMenu(bar, "mnuConnection",
                              {{"mnuDiscover", Ctrl(Qt::Key_I)}, {"mnuRemove", Ctrl(Qt::Key_U)}});
  connection->addSeparator();
  QMenu* connect = connection->addMenu(QString());
  connect->setObjectName("mnuConnect");
  QAction* disconnect = connection->addAction(QString());
  disconnect->setObjectName("mnuDisconnect");
  disconnect->setShortcut(Ctrl(Qt::Key_D));

  AddMenu(bar, "mnuFile",
          {{"mnuScheduleImport", Ctrl(Qt::Key_T)},
           {"mnuConfigImport", Ctrl(Qt::Key_K)},
           {nullptr},
           {"mnuScheduleConfigExport", Ctrl(Qt::Key_E)},
           {nullptr},
           {"mnuFirmwareUpdate", Ctrl(Qt::Key_F)},
           {nullptr},
           {"mnuExit", QKeySequence(Qt::AltModifier | Qt::Key_F4)}});

  QMenu* options = AddMenu(bar, "mnuOptions",
                           {{"mnuModeManual", Ctrl(Qt::Key_F1), true},
                            {"mnuModeAuto", Ctrl(Qt::Key_F2), true},
                            {"mnuModeGeo", Ctrl(Qt::Key_F3), true},
                            {"mnuModeRGBDemo", Ctrl(Qt::Key_F4), true},
                            {"mnuModeFlash", Ctrl(Qt::Key_F5), true},
                            {nullptr},
                            {"mnuAllOff", Ctrl(Qt::Key_0)},
                            {"mnuAll20", Ctrl(Qt::Key_2)},
                            {"mnuAllOn", Ctrl(Qt::Key_1)},
                            {"mnuSetTimeDate", Ctrl(Qt::Key_C)},
                            {nullptr},
                            {"mnuStepBig", QKeySequence(Qt::Key_F4), true},
                            {nullptr},
                            {"mnuShowExpert", QKeySequence(Qt::Key_F6), true},
                            {nullptr},
                            {"mnuRefresh", QKeySequence(Qt::Key_F5)},
                            {"mnuSaveEEPROM", Ctrl(Qt::Key_S)},
                            {"mnuIRLearn", Ctrl(Qt::Key_R)},
                            {"mnuLoadReef"},
                            {},
                            {"mnuAcclimation"}});
  auto* modes = new QActionGroup(options);
  for (const char* name :
       {"mnuModeManual", "mnuModeAuto", "mnuModeGeo", "mnuModeRGBDemo", "mnuModeFlash"})
    modes->addAction(options->findChild<QAction*>(name));

  for (const Item& hidden :
       {Item{"mnuHealth", QKeySequence(kCtrl | Qt::ShiftModifier | Qt::AltModifier | Qt::Key_X)},
        Item{"mnuDebug", QKeySequence(kCtrl | Qt::AltModifier | Qt::Key_D)}}) {
    auto* action = new QAction(options);
    action->setObjectName(hidden.name);
    action->setShortcut(hidden.shortcut);
    window.addAction(action);
  }

  AddMenu(bar, "mnuHelp", {{"mnuHardware"}, {"mnuSoftware"}, {"mnuFAQ", QKeySequence(Qt::Key_F1)}});
}

}  // namespace vmx
