#include "bluetooth/sdp_query.h"

#include <endian.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <vector>

#include "bluetooth/bt_address.h"
#include "bluetooth/rfcomm_kernel.h"
#include "bluetooth/sdp_record.h"

namespace vmx {
namespace {

// The kernel's L2CAP socket address (include/net/bluetooth/l2cap.h).
constexpr int kBtProtoL2cap = 0;
constexpr uint16_t kSdpPsm = 1;
struct SockaddrL2 {
  sa_family_t l2_family;
  uint16_t l2_psm;  // little-endian
  uint8_t l2_bdaddr[6];
  uint16_t l2_cid;
  uint8_t l2_bdaddr_type;
};

constexpr int kSlice = 50;  // ms between looks at the interruption
constexpr int kMaxRounds = 16;

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

BtError Interrupted() {
  return {"org.bluez.Error.Canceled", "Operation canceled"};
}
BtError TimedOut() {
  return rfcomm::ErrnoError(ETIMEDOUT);
}

// Waits for `events` on the socket; an error when time runs out or on interruption.
BtResult AwaitSocket(int fd, short events, const std::atomic<bool>& interrupted, int timeoutMs) {
  for (int waited = 0; waited < timeoutMs; waited += kSlice) {
    if (interrupted) return Interrupted();
    pollfd p{fd, events, 0};
    const int n = ::poll(&p, 1, kSlice);
    if (n > 0) return {};
    if (n < 0 && errno != EINTR) return rfcomm::ErrnoError(errno);
  }
  return TimedOut();
}

}  // namespace

BtResult QuerySerialPortChannel(const std::string& address, int& channel,
                                const std::atomic<bool>& interrupted, int timeoutMs) {
  const std::optional<BtAddress> remote = ParseBtAddress(address);
  if (!remote) return rfcomm::ErrnoError(EINVAL);
  Fd s(::socket(AF_BLUETOOTH, SOCK_SEQPACKET | SOCK_CLOEXEC | SOCK_NONBLOCK, kBtProtoL2cap));
  if (s.get() < 0) return rfcomm::ErrnoError(errno);

  SockaddrL2 to{};
  to.l2_family = AF_BLUETOOTH;
  to.l2_psm = htole16(kSdpPsm);
  std::memcpy(to.l2_bdaddr, remote->data(), remote->size());
  if (::connect(s.get(), reinterpret_cast<const sockaddr*>(&to), sizeof to) < 0) {
    if (errno != EINPROGRESS) return rfcomm::ErrnoError(errno);
    if (BtResult e = AwaitSocket(s.get(), POLLOUT, interrupted, timeoutMs)) return e;
    int error = 0;
    socklen_t length = sizeof error;
    ::getsockopt(s.get(), SOL_SOCKET, SO_ERROR, &error, &length);
    if (error != 0) return rfcomm::ErrnoError(error);
  }

  std::vector<uint8_t> attributes;
  std::vector<uint8_t> continuation;
  for (uint16_t round = 1; round <= kMaxRounds; ++round) {
    const std::vector<uint8_t> request = sdp::SerialPortRequest(round, continuation);
    if (::send(s.get(), request.data(), request.size(), MSG_NOSIGNAL) < 0)
      return rfcomm::ErrnoError(errno);
    if (BtResult e = AwaitSocket(s.get(), POLLIN, interrupted, timeoutMs)) return e;
    std::vector<uint8_t> answer(4096);
    const ssize_t n = ::recv(s.get(), answer.data(), answer.size(), 0);
    if (n < 0) return rfcomm::ErrnoError(errno);
    answer.resize(static_cast<size_t>(n));
    if (!sdp::ReadResponse(answer, round, attributes, continuation))
      return rfcomm::ErrnoError(EBADMSG);
    if (continuation.empty()) break;
  }
  if (!continuation.empty()) return rfcomm::ErrnoError(EBADMSG);
  const std::optional<int> found = sdp::RfcommChannel(attributes);
  if (!found) return BtError{"org.bluez.Error.DoesNotExist", "No serial port service record"};
  channel = *found;
  return {};
}

}  // namespace vmx
