// Writing a firmware image through the board's bootloader: the file the user
// chooses, checked against the flash geometry, sent in 64-byte blocks, then
// the reset that starts the new application.
#pragma once

#include <chrono>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "link/records.h"

namespace vmx {

// How an update ended. The worker hands this to its host.
enum class FirmwareOutcome {
  Updated,    // every block went through, the reset was acknowledged and the
              // board answers with its application firmware
  Failed,     // a block failed ten times, the reset went unanswered, or the
              // board did not come back with its application firmware
  Refused,    // the flash geometry or the file was refused; no block was sent,
              // the board was sent back to its application
  Cancelled,  // no file was chosen; the board was sent back to its application
  Stopped,    // the worker was asked to end during the transfer: no reset, the
              // board stays in its bootloader
};

struct FirmwareResult {
  FirmwareOutcome outcome = FirmwareOutcome::Cancelled;
  std::string file;          // the image sent, if any
  int64_t bytes = 0;         // bytes the transfer covers (whole pages)
  int64_t sent = 0;          // of those, bytes acknowledged so far
  bool blockFailed = false;  // some block failed ten times
  bool resetAcknowledged = false;
};

// What an update needs from the worker that runs it: the line to the
// bootloader, the reports to the user, and the stop flag.
class FirmwareLink {
 public:
  virtual ~FirmwareLink() = default;
  // One bootloader Set; true once acknowledged (whatever the byte).
  virtual bool Send(std::string_view command, std::span<const uint8_t> payload) = 0;
  virtual bool Terminated() const = 0;
  // Waits `d`; false when the worker was asked to end meanwhile.
  virtual bool Pause(std::chrono::milliseconds d) = 0;
  virtual void Log(const std::string& text) = 0;
  virtual void Status(const std::string& text) = 0;
  virtual void Progress(const std::string& text, int64_t done, int64_t total) = 0;
  // The file the user picks; empty when none was chosen.
  virtual std::string ChooseFile() = 0;
  // The log's one-line description of a file.
  virtual std::string FileInfo(const std::string& path) = 0;
  virtual bool Debug() const = 0;
};

struct FirmwareTiming {
  int attempts = 10;                     // per block
  std::chrono::milliseconds retry{500};  // after a block that failed
};

// Bytes per block, whatever the page size.
constexpr int64_t kFirmwareBlock = 64;

// Runs one update with the board in its bootloader and `boot` as it reported
// its geometry. Ends with the reset unless stopped; the board's answer to the
// identification that follows is judged by FinishFirmwareUpdate.
FirmwareResult RunFirmwareUpdate(FirmwareLink& link, const BootInfo& boot,
                                 FirmwareTiming timing = {});

// After the reset: an update only counts when the board has come back with
// its application firmware. Reports the update's status line.
void FinishFirmwareUpdate(FirmwareResult& result, uint8_t deviceType, FirmwareLink& link);

// "0x0040 (1 %)": where the transfer stands.
std::string FirmwareProgressText(int64_t address, int64_t done, int64_t total);

}  // namespace vmx
