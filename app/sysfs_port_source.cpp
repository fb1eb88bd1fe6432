#include "app/sysfs_port_source.h"

#include <sys/stat.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <tuple>

namespace vmx {
namespace fs = std::filesystem;
namespace {

constexpr size_t kMaxAttributeLength = 128;
constexpr int kMaxParentSteps = 8;

// First line of a sysfs attribute, with anything unprintable turned into blanks
// (the text ends up inside a menu caption). Empty when unreadable.
std::string ReadAttribute(const fs::path& file) {
  std::ifstream in(file);
  std::string line;
  if (!in || !std::getline(in, line)) return {};
  if (line.size() > kMaxAttributeLength) line.resize(kMaxAttributeLength);
  for (char& c : line)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
  const size_t first = line.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return line.substr(first, line.find_last_not_of(' ') - first + 1);
}

// A USB adapter names itself in the USB device a few levels above the tty.
std::string UsbDescription(const fs::path& device) {
  std::error_code ec;
  fs::path dir = fs::canonical(device, ec);
  if (ec) return {};
  for (int step = 0; step < kMaxParentSteps && dir.has_relative_path(); ++step) {
    if (fs::exists(dir / "idVendor", ec)) {
      std::string text = ReadAttribute(dir / "manufacturer");
      const std::string product = ReadAttribute(dir / "product");
      if (!product.empty()) text += (text.empty() ? "" : " ") + product;
      if (text.empty())
        text = ReadAttribute(dir / "idVendor") + ":" + ReadAttribute(dir / "idProduct");
      return text;
    }
    dir = dir.parent_path();
  }
  return {};
}

std::string Describe(const fs::path& entry, const std::string& name) {
  std::error_code ec;
  if (name.starts_with("rfcomm")) {
    const std::string address = ReadAttribute(entry / "address");
    return address.empty() ? "rfcomm" : "rfcomm " + address;
  }
  const fs::path device = entry / "device";
  if (std::string usb = UsbDescription(device); !usb.empty()) return usb;
  const fs::path driver = fs::read_symlink(device / "driver", ec);
  if (!ec && !driver.filename().empty()) return driver.filename().string();
  return "tty";
}

bool UsableName(const std::string& name) {
  return !name.empty() && std::none_of(name.begin(), name.end(),
                                       [](unsigned char c) { return c <= ' ' || c == 0x7F; });
}

struct Found {
  struct timespec created;
  std::string name;
  SerialDevice device;
};

}  // namespace

SysfsPortSource::SysfsPortSource(fs::path ttyClass, fs::path devices)
    : ttyClass_(std::move(ttyClass)), devices_(std::move(devices)) {}

std::vector<SerialDevice> SysfsPortSource::Devices() {
  std::vector<Found> found;
  std::set<std::string> seen;
  auto add = [&](const std::string& name, const std::string& description) {
    struct stat st {};
    const fs::path node = devices_ / name;
    if (!seen.insert(name).second || ::stat(node.c_str(), &st) != 0) return;
    found.push_back({st.st_ctim, name, {node.string(), description}});
  };

  // The iterator throws when the class directory cannot be read at all.
  for (const fs::directory_entry& e : fs::directory_iterator(ttyClass_)) {
    const std::string name = e.path().filename().string();
    std::error_code ec;
    if (!UsableName(name)) continue;
    const bool rfcomm = name.starts_with("rfcomm");
    if (!rfcomm && !fs::exists(e.path() / "device", ec)) continue;  // virtual terminals, ptys
    // Serial-core ports that the kernel reserves without a UART behind them.
    if (ReadAttribute(e.path() / "type") == "0") continue;
    add(name, Describe(e.path(), name));
  }
  std::error_code ec;
  for (fs::directory_iterator it(devices_, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.starts_with("rfcomm") && UsableName(name)) add(name, "rfcomm");
  }

  std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
    return std::tie(a.created.tv_sec, a.created.tv_nsec, a.name) <
           std::tie(b.created.tv_sec, b.created.tv_nsec, b.name);
  });
  std::vector<SerialDevice> devices;
  for (Found& f : found) devices.push_back(std::move(f.device));
  return devices;
}

std::unique_ptr<PortSource> MakeSystemPortSource() {
  return std::make_unique<SysfsPortSource>();
}

}  // namespace vmx
