#include "bluetooth/discover.h"

#include <algorithm>
#include <exception>

#include "lang/catalogue.h"

namespace vmx {
namespace {

constexpr int kNameReadings = 10;
constexpr int kAttempts = 5;
constexpr int kConnectedReadings = 10;

std::string Upper(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::toupper(c); });
  return s;
}

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
  return s;
}

}  // namespace

std::unique_ptr<TthdDiscover> TthdDiscover::Create(bool install, Bluetooth& bluetooth,
                                                   RfcommBinder& binder, DiscoverHost& host,
                                                   DiscoverTiming timing) {
  std::unique_ptr<TthdDiscover> worker(new TthdDiscover(install, bluetooth, binder, host, timing));
  worker->thread_ = std::thread([w = worker.get()] { w->Run(); });
  return worker;
}

TthdDiscover::TthdDiscover(bool install, Bluetooth& bluetooth, RfcommBinder& binder,
                           DiscoverHost& host, DiscoverTiming timing)
    : install_(install), bluetooth_(bluetooth), binder_(binder), host_(host), timing_(timing) {}

TthdDiscover::~TthdDiscover() {
  Terminate();
  if (thread_.joinable()) thread_.join();
}

void TthdDiscover::Terminate() {
  {
    MutexLock g(wakeLock_);
    terminated_ = true;
  }
  wake_.NotifyAll();
  bluetooth_.Interrupt();
  binder_.Interrupt();
}

bool TthdDiscover::WaitFinished(std::chrono::milliseconds timeout) {
  const auto until = std::chrono::steady_clock::now() + timeout;
  MutexLock g(wakeLock_);
  while (!finished_ && wake_.WaitUntil(wakeLock_, until)) {
  }
  return finished_;
}

bool TthdDiscover::Wait(std::chrono::milliseconds d) {
  const auto until = std::chrono::steady_clock::now() + d;
  MutexLock g(wakeLock_);
  while (!terminated_ && wake_.WaitUntil(wakeLock_, until)) {
  }
  return !terminated_;
}

bool TthdDiscover::Retry() {
  return Wait(timing_.retryWait);
}

void TthdDiscover::Log(const std::string& text) {
  if (!Running()) return;
  // A window that is going away takes no more lines: the run ends with it.
  if (!host_.HandOff([&] { host_.LogLine(text); })) Terminate();
}

void TthdDiscover::LogError(const BtError& error) {
  Log(LangFormat("WindowsError", {error.name, error.text}));
}

void TthdDiscover::BringToFront() {
  if (Running() && !host_.HandOff([&] { host_.BringToFront(); })) Terminate();
}

void TthdDiscover::Run() {
  try {
    if (install_)
      InstallRun();
    else
      RemovalRun();
  } catch (const std::exception& e) {
    Log(e.what());
  }
  {
    MutexLock g(wakeLock_);
    finished_ = true;
  }
  wake_.NotifyAll();
}

void TthdDiscover::InstallRun() {
  Log(LangText("DiscoverNearbyDevices"));
  std::vector<BtDevice> devices;
  BtResult error = bluetooth_.StartDiscovery();
  if (!error) {
    const bool searched = Wait(timing_.inquiry);
    bluetooth_.StopDiscovery();
    if (!searched) return;
    error = bluetooth_.ListDevices(devices);
  }
  if (!Running()) return;
  if (error) {
    LogError(*error);
    Log(LangText("BluetoothAvailable"));
  }
  for (const BtDevice& found : devices) {
    if (!Running()) return;
    InstallDevice(found);
  }
  Log(LangText("DiscoveryCompleted"));
}

void TthdDiscover::InstallDevice(const BtDevice& found) {
  Log(LangFormat("DeviceDetected", {found.address}));
  BtDevice device;
  if (!ReadName(found.id, device)) return;

  std::string line = "\"" + device.name + "\"";
  if (device.paired) line += ", " + LangText("Installed");
  if (device.connected) line += ", " + LangText("Connected");
  Log(line);

  if (device.name != kBoardName) return;
  if (device.paired) {
    // Paired elsewhere, or its binding did not survive a restart: a board
    // without a serial port is of no use, so it gets one, and nothing more.
    bool bound = false;
    if (Bound(device.address, bound) && bound) return;
    InstallSerialPort(device, false);
    return;
  }

  Log(LangFormat("InstallingDevice", {device.name}));
  bool paired = false;
  for (int i = 0; i < kAttempts && Running(); ++i) {
    BringToFront();
    if (!Running()) return;
    const BtResult error = bluetooth_.Pair(device.id, kPin);
    if (!error) {
      paired = true;
      break;
    }
    if (!Running()) return;
    LogError(*error);
    if (!Retry()) return;
  }
  if (paired) InstallSerialPort(device, true);
}

bool TthdDiscover::ReadName(const std::string& id, BtDevice& device) {
  for (int i = 0; i < kNameReadings && Running(); ++i) {
    const BtResult error = bluetooth_.ReadDevice(id, device);
    if (error) {
      LogError(*error);
    } else if (device.name.empty()) {
      Log(LangText("NoDeviceName"));
    } else {
      return true;
    }
    if (!Retry()) return false;
  }
  return false;
}

void TthdDiscover::InstallSerialPort(const BtDevice& device, bool pairedNow) {
  Log(LangText("InstallSerialPort"));
  for (int i = 0; i < kAttempts && Running(); ++i) {
    BringToFront();
    if (!Running()) return;
    const BtResult error = EnableSerialPort(device.id);
    if (!error) {
      Log(LangText("InstallationStarted"));
      return;
    }
    if (!Running()) return;
    LogError(*error);
    if (!Retry()) return;
  }
  if (!pairedNow || !Running()) return;
  Log(LangFormat("UninstallingDevice", {device.name}));
  if (Uninstall(device)) {
    Log(LangText("UninstallSuccessful"));
    Log(LangText("TryColdStart"));
  }
}

BtResult TthdDiscover::EnableSerialPort(const std::string& id) {
  // The services are read anew each time: the system may learn them only
  // some time after the pairing.
  BtDevice device;
  if (BtResult error = bluetooth_.ReadDevice(id, device)) return error;
  const bool offered =
      std::any_of(device.services.begin(), device.services.end(),
                  [](const std::string& s) { return Lower(s) == kSerialPortService; });
  if (!offered)
    return BtError{"org.bluez.Error.DoesNotExist", "The device offers no serial port service"};
  std::vector<RfcommBinding> bindings;
  if (BtResult error = binder_.List(bindings)) return error;
  for (const RfcommBinding& b : bindings)
    if (Upper(b.address) == Upper(device.address)) return {};
  int channel = 0;
  if (BtResult error = binder_.FindChannel(device.address, channel)) return error;
  int port = -1;
  return binder_.Bind(device.address, channel, port);
}

bool TthdDiscover::Bound(const std::string& address, bool& bound) {
  bound = false;
  std::vector<RfcommBinding> bindings;
  if (binder_.List(bindings)) return false;
  for (const RfcommBinding& b : bindings)
    if (Upper(b.address) == Upper(address)) bound = true;
  return true;
}

void TthdDiscover::RemovalRun() {
  Log(LangText("ListingInstalledDevices"));
  std::vector<BtDevice> devices;
  if (const BtResult error = bluetooth_.ListDevices(devices)) {
    if (!Running()) return;
    LogError(*error);
  }
  for (const BtDevice& device : devices) {
    if (!Running()) return;
    RemoveBoard(device);
  }
  Log(LangText("RemovalCompleted"));
}

void TthdDiscover::RemoveBoard(const BtDevice& device) {
  std::string line = device.address + ", \"" + device.name + "\"";
  if (!device.paired) line += ", " + LangText("NotInstalled");
  if (device.connected) line += ", " + LangText("Connected");
  Log(line);
  if (!device.paired || device.name != kBoardName) return;

  // Ten readings in a row; only the last one decides.
  bool connected = false;
  for (int i = 0; i < kConnectedReadings && Running(); ++i) {
    BtDevice now;
    if (const BtResult error = bluetooth_.ReadDevice(device.id, now)) {
      connected = false;
      LogError(*error);
      if (!Retry()) return;
    } else if (now.connected) {
      connected = true;
      Log(LangText("DeviceInUse"));
      if (!Retry()) return;
    } else {
      connected = false;
    }
  }
  if (connected || !Running()) return;

  Log(LangFormat("UninstallingDevice", {device.name}));
  if (Uninstall(device)) Log(LangText("UninstallSuccessful"));
}

bool TthdDiscover::Uninstall(const BtDevice& device) {
  for (int i = 0; i < kAttempts && Running(); ++i) {
    const BtResult error = UninstallOnce(device);
    if (!error) return true;
    if (!Running()) return false;
    LogError(*error);
    if (!Retry()) return false;
  }
  return false;
}

BtResult TthdDiscover::UninstallOnce(const BtDevice& device) {
  // The serial port goes first: a binding left behind would point at a
  // device the system no longer knows.
  std::vector<RfcommBinding> bindings;
  if (BtResult error = binder_.List(bindings)) return error;
  for (const RfcommBinding& b : bindings)
    if (Upper(b.address) == Upper(device.address))
      if (BtResult error = binder_.Release(b.id)) return error;
  return bluetooth_.RemoveDevice(device.id);
}

}  // namespace vmx
