#include "bluetooth/rfcomm_kernel.h"

#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "bluetooth/bt_address.h"

namespace vmx::rfcomm {
namespace {

// The kernel's own layouts (include/net/bluetooth/rfcomm.h).
constexpr int kBtProtoRfcomm = 3;
constexpr unsigned long kCreateDev = _IOW('R', 200, int);
constexpr unsigned long kReleaseDev = _IOW('R', 201, int);
constexpr unsigned long kGetDevList = _IOR('R', 210, int);
constexpr uint32_t kHangupNow = 1u << 2;
constexpr uint16_t kMaxDevices = 256;

struct DevReq {
  int16_t dev_id;
  uint32_t flags;
  uint8_t src[6];
  uint8_t dst[6];
  uint8_t channel;
};
static_assert(offsetof(DevReq, src) == 8 && offsetof(DevReq, channel) == 20);

struct DevInfo {
  int16_t id;
  uint32_t flags;
  uint16_t state;
  uint8_t src[6];
  uint8_t dst[6];
  uint8_t channel;
};
static_assert(offsetof(DevInfo, dst) == 16 && sizeof(DevInfo) == 24);

struct DevListHead {
  uint16_t dev_num;
  DevInfo dev_info[1];
};
static_assert(offsetof(DevListHead, dev_info) == 4);

class Socket {
 public:
  Socket() : fd_(::socket(AF_BLUETOOTH, SOCK_RAW | SOCK_CLOEXEC, kBtProtoRfcomm)) {}
  ~Socket() {
    if (fd_ >= 0) ::close(fd_);
  }
  Socket(const Socket&) = delete;
  Socket& operator=(const Socket&) = delete;
  int fd() const { return fd_; }

 private:
  int fd_;
};

bool NoRfcomm(int code) {
  return code == EAFNOSUPPORT || code == EPROTONOSUPPORT || code == ESOCKTNOSUPPORT;
}

}  // namespace

BtError ErrnoError(int code) {
  const char* name = strerrorname_np(code);
  return {name ? name : "errno " + std::to_string(code), std::strerror(code)};
}

BtResult ListBindings(std::vector<RfcommBinding>& bindings) {
  bindings.clear();
  Socket s;
  if (s.fd() < 0) {
    if (NoRfcomm(errno)) return {};
    return ErrnoError(errno);
  }
  std::vector<std::byte> buffer(offsetof(DevListHead, dev_info) + kMaxDevices * sizeof(DevInfo));
  uint16_t wanted = kMaxDevices;
  std::memcpy(buffer.data(), &wanted, sizeof wanted);
  if (::ioctl(s.fd(), kGetDevList, buffer.data()) < 0) return ErrnoError(errno);
  uint16_t count = 0;
  std::memcpy(&count, buffer.data(), sizeof count);
  if (count > kMaxDevices) count = kMaxDevices;
  for (uint16_t i = 0; i < count; ++i) {
    DevInfo info;
    std::memcpy(&info, buffer.data() + offsetof(DevListHead, dev_info) + i * sizeof(DevInfo),
                sizeof info);
    BtAddress dst;
    std::memcpy(dst.data(), info.dst, dst.size());
    bindings.push_back({info.id, FormatBtAddress(dst), info.channel});
  }
  return {};
}

BtResult CreateBinding(const std::string& address, int channel, int& id) {
  const std::optional<BtAddress> dst = ParseBtAddress(address);
  if (!dst || channel < 1 || channel > 30) return ErrnoError(EINVAL);
  Socket s;
  if (s.fd() < 0) return ErrnoError(errno);
  DevReq req{};
  req.dev_id = -1;
  std::memcpy(req.dst, dst->data(), dst->size());
  req.channel = static_cast<uint8_t>(channel);
  const int made = ::ioctl(s.fd(), kCreateDev, &req);
  if (made < 0) return ErrnoError(errno);
  id = made;
  return {};
}

BtResult ReleaseBinding(int id) {
  if (id < 0 || id >= kMaxDevices) return ErrnoError(EINVAL);
  Socket s;
  if (s.fd() < 0) return ErrnoError(errno);
  DevReq req{};
  req.dev_id = static_cast<int16_t>(id);
  req.flags = kHangupNow;
  if (::ioctl(s.fd(), kReleaseDev, &req) < 0) return ErrnoError(errno);
  return {};
}

}  // namespace vmx::rfcomm
