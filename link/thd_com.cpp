#include "link/thd_com.h"

#include <array>
#include <bit>

#include "lang/catalogue.h"
#include "link/access_hint.h"
#include "link/port_name.h"
#include "link/record_requests.h"
#include "link/serial_port.h"

namespace vmx {
namespace {

// A write from taking its request up to the decision to send it again.
class WriteInFlight {
 public:
  explicit WriteInFlight(SharedStore& store) : store_(store) { store_.WriteStarted(); }
  ~WriteInFlight() { store_.WriteEnded(); }
  WriteInFlight(const WriteInFlight&) = delete;
  WriteInFlight& operator=(const WriteInFlight&) = delete;

 private:
  SharedStore& store_;
};

constexpr const char* kProduct = "Velmarinex 2.x.4";

// Names of the boards this program is not for, by DeviceType div 2.
constexpr std::array<const char*, 5> kOtherHardware{"Velmarinex 1.x", "Ostrana 1.x",
                                                    "Velmarinex 2.x", "Ostrana 2.x",
                                                    "Pirolux 1.x"};

}  // namespace

std::unique_ptr<TthdCom> TthdCom::Create(const std::string& port, bool debug, SharedStore& store,
                                         LinkHost& host, LinkTiming timing,
                                         PortFactory makePort) {
  std::unique_ptr<TthdCom> worker(new TthdCom(store, host, timing, std::move(makePort)));
  worker->SetPort(port, debug);
  worker->thread_ = std::thread([w = worker.get()] { w->Run(); });
  return worker;
}

TthdCom::TthdCom(SharedStore& store, LinkHost& host, LinkTiming timing, PortFactory makePort)
    : store_(store), host_(host), timing_(timing), makePort_(std::move(makePort)) {
  port_ = makePort_ ? makePort_() : MakeSystemSerialPort();
  proto_ = std::make_unique<WireProtocol>(
      *port_, [this](const std::string& text) { Log(text); }, timing_.serialTimeout);
  listener_ = store_.AddRequestListener([this] { WakeUp(Wake::Request); });
}

TthdCom::~TthdCom() {
  store_.RemoveRequestListener(listener_);
  Abort();
  if (thread_.joinable()) thread_.join();
}

void TthdCom::SetPort(const std::string& port, bool debug) {
  debug_ = debug;
  {
    // Only a port-list entry loses its description; a path given explicitly
    // stays whole, blanks and all.
    MutexLock g(nameLock_);
    portName_ = PortOfText(port);
  }
  WakeUp(Wake::Port);
}

void TthdCom::WakeUp(Wake reason) {
  {
    MutexLock g(wakeLock_);
    (reason == Wake::Request ? raised_ : portChanged_) = true;
  }
  wake_.NotifyAll();
}

std::string TthdCom::ShownPort() const { return ShortForMessage(PortName()); }

std::string TthdCom::PortName() const {
  MutexLock g(nameLock_);
  return portName_;
}

void TthdCom::Terminate() {
  {
    MutexLock g(wakeLock_);
    terminated_ = true;
  }
  wake_.NotifyAll();
}

void TthdCom::Abort() {
  Terminate();
  MutexLock g(portLock_);
  if (port_) port_->Interrupt();
}

bool TthdCom::WaitClosed(std::chrono::milliseconds timeout) {
  const auto until = std::chrono::steady_clock::now() + timeout;
  MutexLock g(wakeLock_);
  while (!linkClosed_ && wake_.WaitUntil(wakeLock_, until)) {
  }
  return linkClosed_;
}

bool TthdCom::Wait(std::chrono::milliseconds d) {
  const auto until = std::chrono::steady_clock::now() + d;
  MutexLock g(wakeLock_);
  while (!terminated_ && wake_.WaitUntil(wakeLock_, until)) {
  }
  return !terminated_;
}

std::chrono::steady_clock::duration TthdCom::RefreshPeriod() const {
  return timing_.pass * timing_.refreshPasses;
}

void TthdCom::Sleep() {
  // Bits 18 and up ask for nothing; they must not keep the worker awake.
  const bool more = store_.Pending(request::AllRequests);
  const auto until =
      more ? std::chrono::steady_clock::now() + timing_.pass : lastRefresh_ + RefreshPeriod();
  MutexLock g(wakeLock_);
  while (!terminated_ && !raised_ && !portChanged_ && wake_.WaitUntil(wakeLock_, until)) {
  }
  raised_ = portChanged_ = false;
}

bool TthdCom::TakeRetry(uint32_t bit, bool ok) {
  uint8_t& failed = failedWrites_[std::countr_zero(bit)];
  if (ok) {
    failed = 0;
    return false;
  }
  // A burst of lost lines is ridden out; a board that never takes this write
  // does not hold up every pass for ever.
  if (++failed < kWriteAttempts) return true;
  failed = 0;
  return false;
}

void TthdCom::GiveUpOrRetry(uint32_t bit, bool ok, const std::function<void()>& again) {
  if (TakeRetry(bit, ok))
    again();
  else if (!ok)
    // The PC is not left showing an edit the board never took: the record,
    // or the whole schedule, is read back from the board.
    store_.Raise(ReadBackOf(bit));
}

bool TthdCom::WaitSteps(int steps) {
  for (int i = 0; i < steps; ++i)
    if (!Wait(timing_.terminationCheck)) return false;
  return true;
}

// ---- hand-offs ----

bool TthdCom::OnUi(const std::function<void()>& job) { return host_.HandOff(job); }

void TthdCom::Log(const std::string& text) {
  OnUi([&] { host_.LogLine(text); });
}

void TthdCom::Status(const std::string& text) {
  OnUi([&] { host_.StatusLine(text); });
}

void TthdCom::State(bool connected) {
  OnUi([&] { host_.LinkState(connected); });
}

void TthdCom::Accept(const std::function<void()>& copy, RecordKind page) {
  OnUi([&] {
    copy();
    host_.UpdatePage(page);
  });
}

void TthdCom::Trace(std::string_view name) {
  if (debug_) Log(std::string(name));
}

// ---- transactions ----

bool TthdCom::Wanted(uint32_t bit, uint32_t blockers) {
  const uint32_t word = store_.Requests();
  return (word & bit) && !(word & blockers);
}

bool TthdCom::Get(std::string_view command, std::string_view trace, size_t length) {
  Trace(trace);
  proto_->SetDebug(debug_);
  return proto_->Get(command, length);
}

bool TthdCom::Set(std::string_view command, std::string_view trace, size_t length) {
  Trace(trace);
  proto_->SetDebug(debug_);
  return proto_->Set(command, proto_->Payload(length));
}

void TthdCom::Check(bool ok) {
  if (!ok) Identify();
}

void TthdCom::Action(std::string_view trace, uint8_t action, uint32_t bit) {
  Trace(trace);
  store_.Clear(bit);
  proto_->SetDebug(debug_);
  const uint8_t payload[] = {action};
  Check(proto_->Set("7F", payload));
}

// ---- the run ----

void TthdCom::Run() {
  try {
    while (Connect()) {
      Identify();
      lastRefresh_ = std::chrono::steady_clock::now();
      Next next = Next::Stay;
      while (!terminated_ && next == Next::Stay) next = Pass();
      if (next != Next::Reconnect || terminated_) break;
    }
  } catch (const std::exception& e) {
    Log(e.what());
  }
  End();
}

void TthdCom::DropRequests() {
  const DroppedWrites dropped = store_.ResetRequests(0);
  if (!dropped.Empty()) Status(LangFormat("ChangesNotSent", {DroppedWritesText(dropped)}));
}

bool TthdCom::Connect() {
  DropRequests();
  failedWrites_.fill(0);
  deviceType_ = firmwareVersion_ = kNoDevice;
  firmwareState_ = bootloaderState_ = false;
  const std::string name = PortName();
  const std::string shown = ShortForMessage(name);
  Status(LangFormat("ConnectingTo", {shown}));
  for (int attempt = 1;; ++attempt) {
    try {
      port_->Open(name);
      Status(LangFormat("ConnectedTo", {shown}));
      return true;
    } catch (const SerialAccessDenied& e) {
      Log(e.what());
      if (std::optional<std::string> hint = TakeAccessHint()) Log(*hint);
    } catch (const std::exception& e) {
      Log(e.what());
    }
    if (!WaitSteps(timing_.waitSteps)) return false;
    if (attempt >= timing_.openAttempts) {
      Status(LangFormat("ErrorConnectingTo", {shown}));
      return false;
    }
    Status(LangText("TryingAgain"));
    if (terminated_) return false;
  }
}

void TthdCom::Identify() {
  try {
    Trace("GetDevice");
    uint8_t type = kNoDevice, version = kNoDevice;
    for (int attempt = 1;; ++attempt) {
      proto_->SetDebug(debug_);
      if (proto_->Get("80", DeviceIdent::Size)) {
        type = proto_->Buffer().payload[0];
        version = proto_->Buffer().payload[1];
        break;
      }
      Log(LangText("TimeoutWhileWaiting"));
      type = version = kNoDevice;
      if (terminated_ || !port_->IsOpen() || attempt >= timing_.identifyAttempts) break;
    }
    if (type != deviceType_ || version != firmwareVersion_) TakeIdentity(type, version);
    OnUi([&] { host_.Identified(type, version); });
  } catch (const std::exception& e) {
    Log(e.what());
  }
}

void TthdCom::TakeIdentity(uint8_t type, uint8_t version) {
  deviceType_ = type;
  firmwareVersion_ = version;
  firmwareState_ = bootloaderState_ = false;
  DropRequests();
  failedWrites_.fill(0);
  const std::string port = ShownPort();
  if (type == kThisBoard) {
    if (version == kExpectedFirmware) {
      State(true);
      store_.SetRequests(request::InitialSet);
      Status(LangFormat("ConnectedToOn", {kProduct, port}));
      firmwareState_ = true;
    } else {
      State(false);
      Status(LangFormat("DetectedWrongVersionOn",
                        {"Velmarinex 2.x." + std::to_string(version), port}));
    }
    return;
  }
  State(false);
  if (type == kThisBootloader) {
    Status(LangFormat("ConnectedToBootloaderOn", {"Velmarinex", port}));
    bootloaderState_ = true;
  } else if (type != kNoDevice) {
    const std::string name =
        type / 2 < kOtherHardware.size() ? kOtherHardware[type / 2] : std::to_string(type);
    Status(LangFormat("OtherHardware", {name}));
    Terminate();
  }
}

TthdCom::Next TthdCom::Pass() {
  // a. Another port was chosen.
  if (port_->Name() != PortName()) {
    State(false);
    port_->Close();
    return terminated_ ? Next::End : Next::Reconnect;
  }
  // b. Nothing answers.
  if (deviceType_ == kNoDevice) {
    Status(LangText("ConnectionError"));
    if (!WaitSteps(timing_.waitSteps)) return Next::End;
    port_->Close();
    return terminated_ ? Next::End : Next::Reconnect;
  }
  // c. The periodic refresh, every refreshPasses pass pauses' time (about 0.5 s).
  if (const auto now = std::chrono::steady_clock::now(); now - lastRefresh_ >= RefreshPeriod()) {
    lastRefresh_ = now;
    if (firmwareState_)
      store_.Raise(request::PeriodicSet);
    else if (bootloaderState_)
      store_.Raise(request::Bootloader);
    else
      Identify();
  }
  const Next next = ServeRequests();
  if (next != Next::Stay) return next;
  // v.
  Sleep();
  return Next::Stay;
}

void TthdCom::Read(std::string_view command, std::string_view trace, size_t length,
                   void (SharedStore::*accept)(std::span<const uint8_t>), RecordKind page) {
  if (Get(command, trace, length))
    Accept([&] { (store_.*accept)(proto_->Payload(length)); }, page);
  else
    Identify();
}

void TthdCom::Write(std::string_view command, std::string_view trace, size_t length,
                    void (SharedStore::*prepare)(std::span<uint8_t>), uint32_t bit) {
  const WriteInFlight writing(store_);
  // A window that is closing prepares nothing, and nothing half-prepared goes out.
  if (!OnUi([&] { (store_.*prepare)(proto_->Buffer().payload); })) return;
  const bool ok = Set(command, trace, length);
  // The edit is still the PC's newest; a later pass sends it again, unless
  // the identification finds another board and drops every request.
  GiveUpOrRetry(bit, ok, [&] { store_.Raise(bit); });
  Check(ok);
}

TthdCom::Next TthdCom::ServeRequests() {
  using namespace request;
  using S = SharedStore;

  // Saving and the reef defaults wait until every edit has reached the board:
  // a save would store a half-written schedule, the defaults would be
  // overwritten by the writes still pending.
  if (Wanted(LoadReef) && !store_.WritesPending()) {  // d.
    Trace("LoadReef");
    store_.Change(LoadReef, ReadAllSet);
    proto_->SetDebug(debug_);
    const uint8_t payload[] = {4};
    Check(proto_->Set("7F", payload));
  }
  if (Wanted(WriteConfig))  // e.
    Write("02", "SetConfig", Config::Size, &S::PrepareConfig, WriteConfig);
  if (Wanted(ReadConfig, WriteConfig))                                                // f.
    Read("82", "GetConfig", Config::Size, &S::AcceptConfig, RecordKind::Config);
  if (Wanted(WriteInfoTime))  // g.
    Write("01", "SetInfo", Info::Size, &S::PrepareInfoTime, WriteInfoTime);
  if (Wanted(WriteInfoChannels))                                                       // h.
    Write("01", "SetInfo", Info::Size, &S::PrepareInfoChannels, WriteInfoChannels);
  if (Wanted(ReadInfo, WriteInfoTime | WriteInfoChannels))  // i.
    Read("81", "GetInfo", Info::Size, &S::AcceptInfo, RecordKind::Info);
  if (Wanted(WriteExpert) && FreshRc5Codes())  // j.
    Write("05", "SetExpert", Expert::Size, &S::PrepareExpert, WriteExpert);
  if (Wanted(ReadExpert, WriteExpert))  // k.
    Read("85", "GetExpert", Expert::Size, &S::AcceptExpert, RecordKind::Expert);
  if (Wanted(WriteSchedule)) {  // l.
    const WriteInFlight writing(store_);
    bool found = false;
    OnUi([&] { found = store_.PrepareRow(proto_->Buffer().payload); });
    if (found) {
      const int index = proto_->Buffer().payload[0];
      const bool ok = Set("03", "SetSchedule", kScheduleMessageSize);
      // An unacknowledged row may not have arrived: it goes out again.
      GiveUpOrRetry(WriteSchedule, ok, [&] { store_.RemarkRow(index); });
      Check(ok);
    }
  }
  if (Wanted(ReadSchedule, WriteSchedule) && ServeSchedule() == Next::End)  // m.
    return Next::End;
  if (Wanted(ReadChart)) {  // n.
    Status(LangText("ReadingChart"));
    ReadAndReport("87", "GetChart", Chart::Size, &S::AcceptChart, RecordKind::Chart);
  }
  if (Wanted(ReadHealth))  // o.
    ReadAndReport("88", "GetHealth", Health::Size, &S::AcceptHealth, RecordKind::Health);
  if (Wanted(WriteWeather))  // p.
    Write("06", "SetExpertWeather", ExpertWeather::Size, &S::PrepareExpertWeather, WriteWeather);
  if (Wanted(ReadWeather, WriteWeather))  // q.
    Read("86", "GetExpertWeather", ExpertWeather::Size, &S::AcceptExpertWeather,
         RecordKind::ExpertWeather);
  if (Wanted(SaveEEPROM) && !store_.WritesPending())  // r.
    Action("SaveEEPROM", 1, SaveEEPROM);
  if (Wanted(ToggleCloud)) Action("ToggleCloud", 2, ToggleCloud);  // s.
  if (Wanted(ToggleStorm)) Action("ToggleStorm", 3, ToggleStorm);  // t.
  if (Wanted(Bootloader)) ServeBootloader();                        // u.
  return Next::Stay;
}

bool TthdCom::FreshRc5Codes() {
  // After an IR pairing the board holds codes the PC has not seen; writing the
  // old ones back would start or abort a pairing.
  if (!store_.Rc5ReadDue()) return true;
  if (!Get("85", "GetExpert", Expert::Size)) {
    Identify();
    return false;  // the write waits for a later pass
  }
  OnUi([&] { store_.AcceptRc5Codes(proto_->Payload(Expert::Size)); });
  return true;
}

void TthdCom::ReadAndReport(std::string_view command, std::string_view trace, size_t length,
                            void (SharedStore::*accept)(std::span<const uint8_t>),
                            RecordKind page) {
  const bool ok = Get(command, trace, length);
  if (ok) Accept([&] { (store_.*accept)(proto_->Payload(length)); }, page);
  Status(LangText("Done"));  // whether or not it worked
  Check(ok);
}

TthdCom::Next TthdCom::ServeSchedule() {
  Status(LangText("ReadingSchedule"));
  const int rows = store_.RowCount();
  bool ok = true;
  for (int i = 0; i < rows; ++i) {
    ok = Get("83", "GetSchedule", kScheduleMessageSize);
    if (!ok) break;
    OnUi([&] { store_.AcceptRow(proto_->Payload(kScheduleMessageSize)); });
    if (terminated_) {
      store_.Clear(request::ReadSchedule);
      return Next::End;
    }
  }
  OnUi([&] { host_.UpdatePage(RecordKind::Schedule); });
  Status(LangText("Done"));
  // A download cut short by a bad reply is asked for again, as any failed
  // read is: the rows it did not reach would otherwise stay as they were.
  if (ok) store_.Clear(request::ReadSchedule);
  Check(ok);
  return Next::Stay;
}

void TthdCom::End() {
  const std::string name = ShownPort();
  {
    MutexLock g(portLock_);
    proto_.reset();
    port_.reset();
  }
  {
    MutexLock g(wakeLock_);
    linkClosed_ = true;
  }
  wake_.NotifyAll();
  Status(LangFormat("DisconnectedFrom", {name}));
  State(false);
}

}  // namespace vmx
