// TfrmLantix: the main window. It owns the shared records, the connection
// with its link worker, the pages, the menus, the status bar and the log,
// and runs the start-up and shutdown sequences.
#pragma once

#include <QMainWindow>
#include <memory>
#include <string>
#include <vector>

#include "app/connection.h"
#include "app/link_reports.h"
#include "app/taskbar_progress.h"
#include "app/worker_reaper.h"
#include "link/link_timing.h"
#include "link/shared_store.h"
#include "ui/dialogs.h"

namespace vmx {

class HandOffQueue;
class LinkStateView;
class MessagesPage;
class PageControl;
class StatusBar;

// What the window is started with; tests replace the system's parts.
struct StartOptions {
  std::vector<std::string> arguments;  // without the program name
  std::string demoPort;                // the built-in board's device, with --demo
  Preferences* preferences = nullptr;  // default: the user's settings
  PortSource* ports = nullptr;         // default: the system's serial devices
  Dialogs* dialogs = nullptr;          // default: the real message boxes and file choosers
  LinkTiming timing;
  QString deviceDirectory = "/dev";  // watched for newly arrived devices
  QString sleepBus;                  // the bus carrying logind; empty: the system bus
  QString desktopBus;                // the launcher's bus; empty: the session bus
  bool logToStderr = true;
};

class TfrmLantix final : public QMainWindow, public LinkReports {
  Q_OBJECT

 public:
  explicit TfrmLantix(StartOptions options = {});
  ~TfrmLantix() override;

  static constexpr const char* kApplicationTitle = "Velmarinex 2.x.4a";

  // Window operations the pages use.
  void ShowPage(QWidget* page);
  QWidget* PageNamed(const char* name) const;
  void SetLinkState(bool connected);
  void SetTaskbarProgress(int64_t completed, int64_t total);
  void AddLogLine(const std::string& text);
  void ShowStatus(const std::string& text);
  void OpenHelpPage(const QString& url);
  void ApplicationEventsException(const std::string& message);
  // The last steps of showing a freshly read ExpertWeather record.
  void ApplyExpertWeather();

  SharedStore& Store() { return store_; }
  Connection& Link() { return *connection_; }
  const QString& AppDir() const { return appDir_; }
  bool ConnectedState() const { return connected_; }
  const LinkStateView& LinkStates() const { return *linkStates_; }
  StatusBar& Bar() const { return *sb_; }
  Dialogs& Ask() { return *dialogs_; }

  // Link worker reports (UI thread).
  void LogLine(const std::string& text) override;
  void StatusLine(const std::string& text) override;
  void Progress(const std::string& text, int64_t done, int64_t total) override;
  void LinkState(bool connected) override;
  void UpdatePage(PageUpdate page) override;
  std::string ChooseFirmwareFile() override;  // these two in firmware_menu.cpp
  void FirmwareFinished(const FirmwareResult& result) override;

  // Menu and log handlers.
  void mnuConnectionClick();
  void SelectPort(size_t index);
  void mnuDisconnectClick();
  void mnuDiscoverClick();
  void mnuRemoveClick();
  void mnuDebugClick();
  void mnuFileClick();
  void mnuFirmwareUpdateClick();
  void memDblClick();
  void DeviceArrived();
  void SystemSuspending();
  void SystemResuming();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildWindow();
  void WireHandlers();
  void FormCreate();
  void FormShow();
  void FormClose();
  void FormDestroy();
  void ScaleForScreen();
  void ChooseAppDir();
  void pcChange();
  void ApplyLinkStateTable();
  std::unique_ptr<LinkSession> StartWorker(const std::string& port, bool debug);
  QAction* Action(const char* name) const;

  StartOptions options_;
  std::shared_ptr<HandOffQueue> handOffs_;
  SharedStore store_;
  std::unique_ptr<Preferences> ownPreferences_;
  std::unique_ptr<PortSource> ownPorts_;
  std::unique_ptr<Dialogs> ownDialogs_;
  Dialogs* dialogs_ = nullptr;
  WorkerReaper reaper_;  // outlives the connection, whose workers it disposes of
  std::unique_ptr<Connection> connection_;
  std::unique_ptr<TaskbarProgress> taskbar_;
  std::unique_ptr<LinkStateView> linkStates_;

  PageControl* pc_ = nullptr;
  StatusBar* sb_ = nullptr;
  MessagesPage* messages_ = nullptr;

  QString appDir_;
  QString caption_;
  bool connected_ = false;
  bool shown_ = false;
  bool closing_ = false;
};

}  // namespace vmx
