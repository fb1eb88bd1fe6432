// TfrmLantix: the main window. It owns the shared records, the connection
// with its link worker, the pages, the menus, the status bar and the log,
// and runs the start-up and shutdown sequences.
#pragma once

#include <QMainWindow>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/bluetooth_runs.h"
#include "app/connection.h"
#include "app/link_reports.h"
#include "app/taskbar_progress.h"
#include "app/worker_reaper.h"
#include "link/link_timing.h"
#include "link/shared_store.h"
#include "ui/dialogs.h"
#include "ui/page_context.h"

namespace vmx {

class HandOffQueue;
class LinkStateView;
class MessagesPage;
class PageControl;
class SettingsMenu;
class StatusBar;
class StatusDisplay;
class DesktopAlerts;
class Page;

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
  QString bluetoothBus;              // bluetoothd's bus; empty: the system bus
  std::function<std::unique_ptr<RfcommBinder>()> rfcommBinder;  // default: the kernel's
  DiscoverTiming discoverTiming;
  bool logToStderr = true;
  // Where backups go; empty: beside the program, else the user's data folder.
  QString appDir;
};

class TfrmLantix final : public QMainWindow, public LinkReports, public PageContext {
  Q_OBJECT

 public:
  explicit TfrmLantix(StartOptions options = {});
  ~TfrmLantix() override;

  static constexpr const char* kApplicationTitle = "Velmarinex 2.x.4a";

  // What the pages ask of the window.
  SharedStore& Store() override { return store_; }
  QWidget* ActivePage() const override;
  QWidget* PageNamed(const char* name) const override;
  void ShowPage(QWidget* page) override;
  bool ExpertPagesVisible() const override;
  void SetExpertPagesVisible(bool visible) override;
  // While a page built late is shown a record that came while the window was
  // hidden, the window counts as hidden.
  bool WindowVisible() const override { return isVisible() && !replayingHidden_; }
  bool Connected() const override { return connected_; }
  std::string PortName() const override;
  QString AppDir() const override { return appDir_; }
  vmx::Language Language() const override { return language_; }
  void SetCaptionStatus(const QString& status) override;
  void SetStatusPanel(int panel, const QString& text) override;
  void ShowStatus(const std::string& text) override;
  void AddLogLine(const std::string& text) override;
  void UpdateEnabling() override { ApplyLinkStateTable(); }
  void ApplyRecord(RecordKind record) override;
  void UpdateChannelColors() override;
  QObject* Control(const QString& name) const override;
  void EndTimeLapse() override;
  Dialogs& Ask() override { return *dialogs_; }

  // Every page is built: the window's controls all exist, by their names.
  bool PagesBuilt() const;
  // The Geo page's Now: the board clock from the computer's, in real time.
  void SetBoardClockNow();

  void SetLinkState(bool connected);
  void SetTaskbarProgress(int64_t completed, int64_t total);
  void OpenHelpPage(const QString& url);
  void ApplicationEventsException(const std::string& message);
  // The last steps of showing a freshly read ExpertWeather record.
  void ApplyExpertWeather();

  Connection& Link() { return *connection_; }
  BluetoothRuns& Discovery() { return *bluetooth_; }
  bool ConnectedState() const { return connected_; }
  const LinkStateView& LinkStates() const { return *linkStates_; }
  StatusBar& Bar() const { return *sb_; }

  // Link worker reports (UI thread).
  void LogLine(const std::string& text) override;
  void StatusLine(const std::string& text) override;
  void Progress(const std::string& text, int64_t done, int64_t total) override;
  void LinkState(bool connected) override;
  void UpdatePage(RecordKind page) override;
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
  // Before the system may put up a Bluetooth dialog of its own.
  void BringToFront();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildWindow();
  void WireHandlers();
  void FormCreate();
  void FormShow();
  // Sleep notices and the launcher's progress, over D-Bus.
  void WatchBuses();
  void FormClose();
  void FormDestroy();
  void ScaleForScreen();
  void ChooseAppDir();
  void pcChange();
  void ApplyLinkStateTable();
  // A page built after the window catches up with what the others were shown.
  void PageBuilt(Page& page);
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
  std::unique_ptr<BluetoothRuns> bluetooth_;  // its workers go to the reaper too
  std::unique_ptr<TaskbarProgress> taskbar_;
  std::unique_ptr<LinkStateView> linkStates_;
  std::unique_ptr<StatusDisplay> status_;
  DesktopAlerts* alerts_ = nullptr;
  // The colour names the pages were last given; none at first, so the first
  // Config read spreads them.
  std::optional<decltype(Config::ColorName)> spreadColors_;
  // The records shown so far, the last last, and whether the window was
  // visible then: a page built later is shown them in that order.
  std::vector<std::pair<RecordKind, bool>> shownRecords_;
  bool replayingHidden_ = false;

  PageControl* pc_ = nullptr;
  StatusBar* sb_ = nullptr;
  MessagesPage* messages_ = nullptr;
  SettingsMenu* settingsMenu_ = nullptr;

  QString appDir_;
  QString caption_;
  bool connected_ = false;
  vmx::Language language_ = vmx::Language::English;
  bool shown_ = false;
  bool closing_ = false;
};

}  // namespace vmx
