// A window stand-in for page tests: the shared records, the pages under one
// parent widget, and a record of what the pages asked of the window.
#pragma once

#include <QAction>
#include <QApplication>
#include <QScrollArea>
#include <QTabWidget>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>
#include <array>
#include <memory>
#include <vector>

#include "editor/config_page.h"
#include "tests/ui/scripted_dialogs.h"
#include "ui/page.h"
#include "ui/page_context.h"

namespace vmx::testing {

class FakePageContext final : public PageContext {
 public:
  FakePageContext() {
    window->setObjectName("frmLantix");
    auto* layout = new QVBoxLayout(window.get());
    layout->addWidget(tabs);
  }

  // Creates a page inside the stand-in window (menu items it serves first).
  template <class P, class... Args>
  P* Add(Args&&... args) {
    auto* page = new P(*this, std::forward<Args>(args)...);
    tabs->addTab(page, page->objectName());
    pages.push_back(page);
    page->LanguageApplied();
    if (!active) active = page;
    return page;
  }
  QAction* AddAction(const char* name) {
    auto* action = new QAction(window.get());
    action->setObjectName(name);
    window->addAction(action);
    return action;
  }
  template <class W = QObject>
  W* Find(const QString& name) const {
    return window->findChild<W*>(name);
  }
  // The request word since the last call, which starts a new one.
  uint32_t TakeRequests() {
    const uint32_t word = store.Requests();
    store.SetRequests(0);
    return word;
  }

  // Brings the control on screen, as a user would before clicking it: its page
  // in front, scrolled into view.
  void Reveal(QWidget* control) {
    for (QWidget* w = control; w; w = w->parentWidget()) {
      if (auto* page = qobject_cast<Page*>(w)) tabs->setCurrentWidget(page);
    }
    QApplication::processEvents();
    for (QWidget* w = control->parentWidget(); w; w = w->parentWidget())
      if (auto* scroll = qobject_cast<QScrollArea*>(w)) scroll->ensureWidgetVisible(control);
    QApplication::processEvents();
  }
  void Click(const QString& name) {
    auto* control = Find<QWidget>(name);
    Reveal(control);
    // A radio button or check box answers on its indicator at the left.
    const bool indicator = control->inherits("QRadioButton") || control->inherits("QCheckBox");
    const QPoint at = indicator ? QPoint(8, control->height() / 2) : control->rect().center();
    QTest::mouseClick(control, Qt::LeftButton, {}, at);
  }

  // Shows the window so focus and visibility behave as on a screen.
  void Show() {
    window->resize(1009, 655);
    window->show();
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window.get()))
      qWarning("the test window did not become active");
  }

  SharedStore& Store() override { return store; }
  QWidget* ActivePage() const override { return active; }
  QWidget* PageNamed(const char* name) const override {
    for (Page* p : pages)
      if (p->objectName() == name) return p;
    return nullptr;
  }
  void ShowPage(QWidget* page) override {
    if (!page || page == active) return;
    active = page;
    shownPages.push_back(page->objectName());
    if (auto* p = qobject_cast<Page*>(page)) p->Activated();
  }
  bool ExpertPagesVisible() const override { return expertPages; }
  void SetExpertPagesVisible(bool visible) override { expertPages = visible; }
  bool WindowVisible() const override { return visible; }
  bool Connected() const override { return connected; }
  std::string PortName() const override { return port; }
  QString AppDir() const override { return appDir; }
  vmx::Language Language() const override { return language; }
  void SetCaptionStatus(const QString& status) override { caption = status; }
  void SetStatusPanel(int panel, const QString& text) override {
    panels.at(static_cast<size_t>(panel)) = text;
  }
  void ShowStatus(const std::string& text) override {
    panels[0] = QString::fromStdString(text);
    log.push_back(text);
  }
  void AddLogLine(const std::string& text) override { log.push_back(text); }
  void UpdateEnabling() override { ++enablingRuns; }
  void ApplyRecord(RecordKind record) override {
    applied.push_back(record);
    for (Page* p : pages)
      if (p->Shows(record)) p->Apply(record);
  }
  void UpdateChannelColors() override {
    ++colorUpdates;
    for (Page* p : pages) p->ChannelColorsChanged();
  }
  QObject* Control(const QString& name) const override { return window->findChild<QObject*>(name); }
  void EndTimeLapse() override {
    if (auto* config = window->findChild<ConfigPage*>()) config->EndTimeLapse();
  }
  Dialogs& Ask() override { return dialogs; }

  std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
  QTabWidget* tabs = new QTabWidget(window.get());
  SharedStore store;
  std::vector<Page*> pages;
  QWidget* active = nullptr;
  ScriptedDialogs dialogs;
  bool visible = true;
  bool connected = true;
  bool expertPages = true;
  vmx::Language language = vmx::Language::English;
  std::string port = "/dev/ttyUSB0";
  QString appDir = "/tmp/";
  QString caption;
  std::array<QString, 3> panels;
  std::vector<std::string> log;
  std::vector<RecordKind> applied;
  std::vector<QString> shownPages;
  int enablingRuns = 0;
  int colorUpdates = 0;
};

}  // namespace vmx::testing
