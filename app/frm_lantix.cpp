#include "app/frm_lantix.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDate>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QScreen>
#include <QStandardPaths>
#include <QTime>
#include <QUrl>
#include <cmath>
#include <cstdio>

#include "app/acclimation_dialog.h"
#include "app/application.h"
#include "app/apply_language.h"
#include "app/command_line.h"
#include "app/desktop_alerts.h"
#include "app/device_watcher.h"
#include "app/file_info_text.h"
#include "app/first_frame_probe.h"
#include "app/hand_off_queue.h"
#include "app/help_pages.h"
#include "app/history_menu.h"
#include "app/link_state_view.h"
#include "app/main_menu.h"
#include "app/messages_page.h"
#include "app/page_control.h"
#include "app/plan_keeper.h"
#include "app/port_source.h"
#include "app/qsettings_preferences.h"
#include "app/qt_link_session.h"
#include "app/settings_menu.h"
#include "app/sleep_watcher.h"
#include "app/status_bar.h"
#include "astro/geo_page.h"
#include "editor/config_page.h"
#include "editor/expert_page.h"
#include "editor/options_menu.h"
#include "graphics/visualize_page.h"
#include "lang/catalogue.h"
#include "lang/log_stamp.h"
#include "link/port_name.h"
#include "settings/device_actions.h"
#include "ui/names.h"
#include "ui/page.h"
#include "ui/status_display.h"
#include "ui/text.h"

namespace vmx {
namespace {

constexpr const char* kCaptionPrefix = "Velmarinex \u2022 ";
constexpr int kClientWidth = 1009;
constexpr int kClientHeight = 655;
constexpr int kDefaultLat = 501;  // tenths of a degree: 50.1 N
constexpr int kDefaultLon = 85;   // 8.5 E
// At exit the worker gets this long to finish.
constexpr std::chrono::milliseconds kExitWait{500};

// "[" short date, blank, long time "] " in the user's formats; the time zone
// some long formats carry only widens every line.
std::string StampNow() {
  const QLocale locale = QLocale::system();
  QString timeFormat = locale.timeFormat(QLocale::LongFormat);
  timeFormat.remove(QRegularExpression("\\s*t+"));
  return "[" +
         (locale.toString(QDate::currentDate(), QLocale::ShortFormat) + ' ' +
          locale.toString(QTime::currentTime(), timeFormat.trimmed()))
             .toStdString() +
         "] ";
}

}  // namespace

TfrmLantix::TfrmLantix(StartOptions options)
    : options_(std::move(options)), handOffs_(std::make_shared<HandOffQueue>(this)) {
  setObjectName(names::frmLantix);
  Preferences* prefs = options_.preferences;
  if (!prefs) prefs = (ownPreferences_ = std::make_unique<QSettingsPreferences>()).get();
  PortSource* ports = options_.ports;
  if (!ports) ports = (ownPorts_ = MakeSystemPortSource()).get();
  dialogs_ = options_.dialogs;
  if (!dialogs_) dialogs_ = (ownDialogs_ = std::make_unique<QtDialogs>(this)).get();
  connection_ = std::make_unique<Connection>(
      *ports, *prefs,
      Connection::Hooks{
          [this](const std::string& text) { AddLogLine(text); },
          [this](const std::string& port) {
            if (settingsMenu_) settingsMenu_->Backup(port);
          },
          [this](const std::string& port, bool debug) { return StartWorker(port, debug); }});
  bluetooth_ = std::make_unique<BluetoothRuns>(
      handOffs_, reaper_,
      BluetoothRuns::Hooks{[this](const std::string& text) { AddLogLine(text); },
                           [this] { BringToFront(); }},
      BluetoothRuns::Options{options_.bluetoothBus, options_.rfcommBinder,
                             options_.discoverTiming});
  BuildWindow();
  WireHandlers();
  FormCreate();
}

TfrmLantix::~TfrmLantix() {
  if (auto* app = qobject_cast<Application*>(QCoreApplication::instance()))
    app->SetExceptionHandler({});
  FormClose();
  FormDestroy();
}

void TfrmLantix::BuildWindow() {
  BuildMainMenu(*this);
  pc_ = new PageControl(*this, this);
  setCentralWidget(pc_);
  messages_ = pc_->BuiltPageOf<MessagesPage>(names::tsMessages);
  pc_->onPageBuilt = [this](Page& page) { PageBuilt(page); };
  // The pages not in front are built right after the first frame, before the
  // other first-frame jobs; a window not shown by the first pass of the event
  // loop (a test's, a tool's) builds them then.
  AfterFirstFrame(*this, [this] {
    pc_->BuildAll();
    ReportAllControls();
  });
  QMetaObject::invokeMethod(
      this, [this] { if (!isVisible()) pc_->BuildAll(); }, Qt::QueuedConnection);
  settingsMenu_ = new SettingsMenu(*this, this);
  settingsMenu_->configurationShown = [this] { ApplyExpertWeather(); };
  sb_ = new StatusBar(this);
  setStatusBar(sb_);
  linkStates_ = std::make_unique<LinkStateView>(*this);
  status_ = std::make_unique<StatusDisplay>(*this);
  alerts_ = new DesktopAlerts(*this, options_.desktopBus, this);
  plans_ = std::make_unique<PlanKeeper>(*this, nullptr);
  plans_->alert = [this](const std::string& text) { alerts_->Alert(text); };
}

void TfrmLantix::WireHandlers() {
  pc_->onPageChange = [this] { pcChange(); };
  connect(findChild<QMenu*>(names::mnuConnection), &QMenu::aboutToShow, this,
          &TfrmLantix::mnuConnectionClick);
  connect(findChild<QMenu*>(names::mnuFile), &QMenu::aboutToShow, this, &TfrmLantix::mnuFileClick);
  const std::pair<const char*, void (TfrmLantix::*)()> handlers[] = {
      {names::mnuDisconnect, &TfrmLantix::mnuDisconnectClick},
      {names::mnuDiscover, &TfrmLantix::mnuDiscoverClick},
      {names::mnuRemove, &TfrmLantix::mnuRemoveClick},
      {names::mnuDebug, &TfrmLantix::mnuDebugClick},
      {names::mnuFirmwareUpdate, &TfrmLantix::mnuFirmwareUpdateClick},
  };
  for (const auto& [name, handler] : handlers)
    connect(Action(name), &QAction::triggered, this, handler);
  connect(Action(names::mnuExit), &QAction::triggered, this, &QWidget::close);
  for (const auto& [name, topic] :
       {std::pair{names::mnuHardware, "hardware"}, std::pair{names::mnuSoftware, "software"},
        std::pair{names::mnuFAQ, "faq"}}) {
    connect(Action(name), &QAction::triggered, this, [this, topic = topic] {
      const auto* expert = pc_->PageOf<ExpertPage>(names::tsExpert);
      OpenHelpPage(Q(HelpPageUrl(topic, expert && expert->DisplayLanguage() == Language::German)));
    });
  }
  connect(messages_, &MessagesPage::doubleClicked, this, &TfrmLantix::memDblClick);
  new OptionsMenu(*this, this);  // the Options menu and the trigger buttons
  connect(Action(names::mnuAcclimation), &QAction::triggered, this,
          &TfrmLantix::mnuAcclimationClick);

  auto* devices = new DeviceWatcher(options_.deviceDirectory, this);
  connect(devices, &DeviceWatcher::arrived, this, &TfrmLantix::DeviceArrived);
  // The system's buses may be slow or absent; the window shows first. A bus
  // given by address (a private one) is taken at once.
  if (options_.sleepBus.isEmpty() && options_.desktopBus.isEmpty())
    AfterFirstFrame(*this, [this] { WatchBuses(); });
  else
    WatchBuses();
  if (auto* app = qobject_cast<Application*>(QCoreApplication::instance()))
    app->SetExceptionHandler([this](const std::string& m) { ApplicationEventsException(m); });
}

void TfrmLantix::WatchBuses() {
  auto* sleep = new SleepWatcher(options_.sleepBus, this);
  connect(sleep, &SleepWatcher::suspending, this, &TfrmLantix::SystemSuspending);
  connect(sleep, &SleepWatcher::resuming, this, &TfrmLantix::SystemResuming);
  taskbar_ = TaskbarProgress::Create(options_.desktopBus);
  if (shown_) FormShow();
}

void TfrmLantix::FormCreate() {
  connection_->portList.clear();
  ScaleForScreen();
  ChooseAppDir();

  connection_->portName.clear();
  const std::optional<std::string> readFromRegistry = connection_->LoadPort();

  pc_->SetExpertPagesVisible(false);
  connection_->debugMessages = false;
  const CommandLine line = ParseCommandLine(options_.arguments);
  if (line.expert) pc_->SetExpertPagesVisible(true);
  connection_->debugMessages = line.debug;
  if (line.portGiven) connection_->portName = line.portName;
  if (!options_.demoPort.empty()) connection_->portName = options_.demoPort;

  language_ = ApplyLanguage(*this, line.language);
  caption_ = kApplicationTitle;

  if (readFromRegistry) AddLogLine(*readFromRegistry);
  for (const std::string& arg : options_.arguments)
    AddLogLine("Parameter: " + ShortForMessage(arg));
  AddLogLine(LangText("Started") + " " + kApplicationTitle);
  AddLogLine(FileInfoText(QCoreApplication::applicationFilePath()).toStdString());

  // The pages fill what depends on the language: headings, colour names.
  for (Page* page : pc_->Pages()) page->LanguageApplied();
  pc_->ActivateTab(names::tsChannelsGL);
  store_.config.Lat = kDefaultLat;
  store_.config.Lon = kDefaultLon;
  // The Geo page's Now: the board clock starts from the computer's.
  SetBoardClockNow();
  SetLinkState(false);
  // After the link state: at start-up the log comes to the front as if a link had ended.
  ApplyRecord(RecordKind::Config);
  if (!connection_->portName.empty()) connection_->StartWorker();
}

void TfrmLantix::ScaleForScreen() {
  QScreen* screen = this->screen();
  const double factor = screen ? screen->logicalDotsPerInch() / 96.0 : 1.0;
  sb_->Scale(factor);
  // The menu bar sits outside the client area.
  resize(static_cast<int>(std::lround(kClientWidth * factor)),
         static_cast<int>(std::lround(kClientHeight * factor)) + menuBar()->sizeHint().height());
  if (screen) move(screen->availableGeometry().center() - rect().center());
}

void TfrmLantix::ChooseAppDir() {
  // An installed program cannot write beside itself; its backups then go to
  // the user's data directory.
  QString dir = options_.appDir.isEmpty() ? QCoreApplication::applicationDirPath()
                                          : options_.appDir;
  if (!QFileInfo(dir).isWritable()) {
    dir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(dir);
  }
  appDir_ = QDir::toNativeSeparators(dir);
  if (!appDir_.endsWith(QDir::separator())) appDir_ += QDir::separator();
  QDir::setCurrent(appDir_);
}

void TfrmLantix::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!shown_) {
    shown_ = true;
    FormShow();
  }
}

void TfrmLantix::FormShow() {
  if (!taskbar_) return;
  taskbar_->SetProgressValue(1, 1);
  taskbar_->SetProgressState(TaskbarProgress::State::Error);
}

void TfrmLantix::closeEvent(QCloseEvent* event) {
  FormClose();
  event->accept();
}

void TfrmLantix::FormClose() {
  if (closing_) return;
  closing_ = true;
  connection_->Disconnect();
  // From here on the worker's hand-offs return at once and a transaction on
  // the line is cut short: nothing keeps the program from ending.
  handOffs_->Close();
  if (LinkSession* worker = connection_->Worker()) worker->Abort();
  bluetooth_->Terminate();
}

void TfrmLantix::FormDestroy() {
  if (LinkSession* worker = connection_->Worker()) worker->WaitClosed(kExitWait);
  bluetooth_.reset();
  connection_.reset();
}

std::unique_ptr<LinkSession> TfrmLantix::StartWorker(const std::string& port, bool debug) {
  return std::make_unique<QtLinkSession>(handOffs_, *this, store_, reaper_, port, debug,
                                         options_.timing);
}

QAction* TfrmLantix::Action(const char* name) const {
  return findChild<QAction*>(name);
}

QWidget* TfrmLantix::PageNamed(const char* name) const {
  return pc_->PageNamed(name);
}

bool TfrmLantix::PagesBuilt() const {
  return pc_->AllBuilt();
}

void TfrmLantix::PageBuilt(Page& page) {
  // What the page missed: the language texts, the records shown so far (as
  // the window then was), the channels' colours, the enabling, the clock.
  ApplyLanguageTexts(page, language_);
  page.LanguageApplied();
  for (const auto& [record, windowVisible] : shownRecords_) {
    if (!page.Shows(record)) continue;
    replayingHidden_ = !windowVisible;
    page.Apply(record);
    replayingHidden_ = false;
  }
  if (spreadColors_) page.ChannelColorsChanged();
  if (auto* geo = qobject_cast<GeoPage*>(&page)) geo->ShowBoardClock();
  if (auto* config = qobject_cast<ConfigPage*>(&page)) {
    config->ShowTimeLapse();
    const ConfigPage::AlertControls alerts = config->Alerts();
    alerts_->Attach(alerts.enabled, alerts.waterRange, alerts.waterLow, alerts.waterHigh);
  }
  linkStates_->Adopt(page);
  ApplyLinkStateTable();
}

void TfrmLantix::SetBoardClockNow() {
  if (auto* geo = pc_->BuiltPageOf<GeoPage>(names::tsGeo))
    geo->SetBoardClockNow();
  else
    SetCurrentTimeAndDate(store_, ComputerClock());  // the pages show it once built
}

void TfrmLantix::EndTimeLapse() {
  pc_->PageOf<ConfigPage>(names::tsConfig)->EndTimeLapse();
}

void TfrmLantix::ShowPage(QWidget* page) {
  pc_->ShowPage(page);
}

QWidget* TfrmLantix::ActivePage() const {
  return pc_->currentWidget();
}

bool TfrmLantix::ExpertPagesVisible() const {
  return pc_->ExpertPagesVisible();
}

void TfrmLantix::SetExpertPagesVisible(bool visible) {
  pc_->SetExpertPagesVisible(visible);
}

std::string TfrmLantix::PortName() const {
  return connection_->portName;
}

QObject* TfrmLantix::Control(const QString& name) const {
  return findChild<QObject*>(name);
}

void TfrmLantix::SetCaptionStatus(const QString& status) {
  QString caption = QString::fromUtf8(kCaptionPrefix) + caption_;
  if (!status.isEmpty()) caption += QString::fromUtf8(" \u2022 ") + status;
  setWindowTitle(caption);
}

void TfrmLantix::SetStatusPanel(int panel, const QString& text) {
  sb_->SetPanelText(panel, text);
}

void TfrmLantix::pcChange() {
  QWidget* page = pc_->currentWidget();
  if (pc_->IsActive(names::tsTemp)) store_.Raise(request::ReadChart);
  if (auto* shown = qobject_cast<Page*>(page)) shown->Activated();
}

void TfrmLantix::ApplyRecord(RecordKind record) {
  const bool visible = isVisible();
  // The live state is shown only in a window the user can see.
  if (record == RecordKind::Info) {
    if (!visible) return;
    status_->ApplyInfo();
  }
  for (Page* page : pc_->Pages())
    if (page->Shows(record)) page->Apply(record);
  // A page built later shows it then, as the window now is.
  std::erase_if(shownRecords_, [record](const auto& shown) { return shown.first == record; });
  shownRecords_.emplace_back(record, visible);
  if (record == RecordKind::Config && visible) {
    status_->UpdateModePanel();
    // The Config record is read again and again; repainting every tinted
    // control each time would keep an idle window busy.
    if (store_.config.ColorName != spreadColors_) UpdateChannelColors();
  }
  ApplyLinkStateTable();
}

void TfrmLantix::UpdateChannelColors() {
  // While the schedule view's channel list is open the user is choosing from
  // it; the colours are spread with the next Config read.
  if (auto* visualize = pc_->BuiltPageOf<VisualizePage>(names::tsVisualize);
      visualize && visualize->ChannelListOpen())
    return;
  spreadColors_ = store_.config.ColorName;
  for (Page* page : pc_->Pages()) page->ChannelColorsChanged();
}

void TfrmLantix::SetLinkState(bool connected) {
  connected_ = connected;
  alerts_->LinkState(connected);
  if (taskbar_) {
    taskbar_->SetProgressValue(1, 1);
    if (connected) taskbar_->SetProgressState(TaskbarProgress::State::Normal);
  }
  if (!connected) {
    // The mode items are enabled only in the connected state (and at start-up):
    // a link that was never up does not pull the log to the front again.
    if (QAction* manual = Action(names::mnuModeManual); manual && manual->isEnabled())
      ShowPage(messages_);
    status_->LinkLost();
    if (taskbar_)
      taskbar_->SetProgressState(connection_->WorkerRunning() ? TaskbarProgress::State::Paused
                                                              : TaskbarProgress::State::Error);
  }
  ApplyLinkStateTable();
}

void TfrmLantix::ApplyLinkStateTable() {
  LinkFacts facts;
  facts.connected = connected_;
  facts.mode = store_.config.Mode;
  facts.fanMode = store_.expert.FanMode;
  facts.tempWater = store_.info.TempWater;
  facts.tempSlave = store_.info.TempSlave;
  const auto* expert = pc_->BuiltPageOf<ExpertPage>(names::tsExpert);
  facts.fanModeLedSelected = expert && expert->FanModeLedSelected();
  facts.settingsRead = settingsMenu_ && settingsMenu_->RecordsComplete();
  facts.undoAvailable = settingsMenu_ && settingsMenu_->History().UndoAvailable();
  linkStates_->Apply(facts);
}

void TfrmLantix::SetTaskbarProgress(int64_t completed, int64_t total) {
  if (taskbar_) taskbar_->SetProgressValue(completed, total);
}

void TfrmLantix::AddLogLine(const std::string& text) {
  const std::string entry = StampLogEntry(StampNow(), text);
  messages_->Append(Q(entry));
  if (options_.logToStderr) {
    QString plain = Q(entry);
    plain.replace("\r\n", "\n");
    std::fprintf(stderr, "%s\n", plain.toLocal8Bit().constData());
  }
}

void TfrmLantix::ShowStatus(const std::string& text) {
  sb_->SetPanelText(0, Q(text));
  AddLogLine(text);
}

void TfrmLantix::OpenHelpPage(const QString& url) {
  QDesktopServices::openUrl(QUrl(url));
}

void TfrmLantix::ApplicationEventsException(const std::string& message) {
  AddLogLine(message);
}

void TfrmLantix::ApplyExpertWeather() {
  // The weather record is the last one of a new link's first full read: the
  // user leaves the log for the page of the board's mode.
  if (pc_->currentWidget() == messages_) {
    const BoardMode mode = ModeOf(store_.config.Mode);
    const char* page = mode == BoardMode::Auto  ? names::tsSchedule
                       : mode == BoardMode::Geo ? names::tsGeo
                                                : names::tsChannels;
    ShowPage(PageNamed(page));
  }
  connection_->SavePort();
}

void TfrmLantix::LogLine(const std::string& text) {
  AddLogLine(text);
}

void TfrmLantix::StatusLine(const std::string& text) {
  ShowStatus(text);
}

void TfrmLantix::Progress(const std::string& text, int64_t done, int64_t total) {
  SetTaskbarProgress(done, total);
  AddLogLine(text);
}

void TfrmLantix::LinkState(bool connected) {
  settingsMenu_->LinkState(connected);
  SetLinkState(connected);
  plans_->LinkState(connected);
}

void TfrmLantix::UpdatePage(RecordKind page) {
  settingsMenu_->RecordShown(page);
  ApplyRecord(page);
  // Alerts also watch a board whose window is minimised or hidden.
  if (page == RecordKind::Info) alerts_->InfoRead();
  if (page == RecordKind::Config) alerts_->ShowSettings();
  if (page == RecordKind::ExpertWeather) ApplyExpertWeather();
  if (page == RecordKind::Schedule) plans_->ScheduleRead();
}

void TfrmLantix::mnuAcclimationClick() {
  auto* dialog = findChild<AcclimationDialog*>(names::frmAcclimation);
  if (!dialog) dialog = new AcclimationDialog(*this, *plans_, this);
  dialog->ShowPlan();
  dialog->show();
  dialog->raise();
}

void TfrmLantix::mnuConnectionClick() {
  const std::optional<size_t> ticked = connection_->MenuOpening();
  auto* menu = findChild<QMenu*>(names::mnuConnect);
  menu->clear();
  const std::vector<std::string>& entries = connection_->portList;
  for (size_t i = 0; i < entries.size(); ++i) {
    QAction* item = menu->addAction(Q(entries[i]));
    item->setCheckable(true);
    item->setChecked(ticked == i);
    item->setData(static_cast<qulonglong>(i));
    connect(item, &QAction::triggered, this, [this, i] { SelectPort(i); });
  }
  menu->menuAction()->setEnabled(!entries.empty());
  Action(names::mnuDisconnect)->setEnabled(connection_->WorkerRunning());
  Action(names::mnuDiscover)->setEnabled(!bluetooth_->Running());
  Action(names::mnuRemove)->setEnabled(!bluetooth_->Running());
}

void TfrmLantix::SelectPort(size_t index) {
  connection_->SelectPort(index);
}

void TfrmLantix::mnuDisconnectClick() {
  connection_->DisconnectAndForget();
}

void TfrmLantix::mnuDiscoverClick() {
  ShowPage(messages_);
  if (!bluetooth_->Running()) bluetooth_->Start(true);
}

void TfrmLantix::mnuRemoveClick() {
  ShowPage(messages_);
  if (bluetooth_->Running()) return;
  // The board cannot be removed while this program holds it connected.
  connection_->DisconnectAndForget();
  bluetooth_->Start(false);
}

void TfrmLantix::BringToFront() {
  if (isMinimized()) showNormal();
  raise();
  activateWindow();
}

void TfrmLantix::mnuDebugClick() {
  // A worker takes the debug flag when it is created, so the link starts over.
  connection_->Disconnect();
  connection_->debugMessages = !connection_->debugMessages;
  AddLogLine(
      LangText(connection_->debugMessages ? "DebugMessagesActive" : "DebugMessagesInactive"));
}

void TfrmLantix::mnuFileClick() {
  Action(names::mnuFirmwareUpdate)->setEnabled(connection_->WorkerRunning());
}

void TfrmLantix::memDblClick() {
  connection_->Reconnect();
}

// A window on its way out starts no new link.
void TfrmLantix::DeviceArrived() {
  if (!closing_) connection_->DeviceNotice(Connection::kDeviceArrival, 0);
}

void TfrmLantix::SystemSuspending() {
  if (!closing_) connection_->PowerNotice(Connection::kSuspend);
}

void TfrmLantix::SystemResuming() {
  if (!closing_) connection_->PowerNotice(Connection::kResumeAutomatic);
}

}  // namespace vmx
