#include "link/firmware_update.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "lang/catalogue.h"
#include "link/firmware_image.h"
#include "platform/file_path.h"

namespace vmx {
namespace {

// The last kilobyte of the flash holds the bootloader itself.
constexpr int64_t kBootloaderSpace = 1024;
// Pages below this size are handled as this size.
constexpr int64_t kSmallestPage = 128;

using BlockMessage = std::array<uint8_t, 2 + kFirmwareBlock>;

bool PowerOfTwo(uint32_t v) {
  return v != 0 && (v & (v - 1)) == 0;
}

bool Exists(const std::string& path) {
  std::error_code ec;
  return !path.empty() && std::filesystem::is_regular_file(PathOfText(path), ec);
}

// Sends the bootloader's reset: it leaves the bootloader and starts the application.
bool Reset(FirmwareLink& link, std::span<const uint8_t, 6> payload) {
  link.Log(LangText("Resetting"));
  return link.Send("01", payload);
}

}  // namespace

std::string FirmwareProgressText(int64_t address, int64_t done, int64_t total) {
  // In whole numbers the percentage would only ever show 0 or 100.
  const double percent =
      total > 0 ? 100.0 * static_cast<double>(done) / static_cast<double>(total) : 0.0;
  char text[48];
  std::snprintf(text, sizeof text, "0x%04llX (%.0f %%)", static_cast<long long>(address), percent);
  return text;
}

FirmwareResult RunFirmwareUpdate(FirmwareLink& link, const BootInfo& boot, FirmwareTiming timing) {
  FirmwareResult result;
  constexpr std::array<uint8_t, 6> kNoImage{};

  // The page mask rounds the transfer to whole pages; a size that is not a
  // power of two gives no mask, and nothing can be sent safely.
  if (!PowerOfTwo(boot.PageSize)) {
    link.Status(LangFormat("InvalidPageSize", {std::to_string(boot.PageSize)}));
    result.outcome = FirmwareOutcome::Refused;
    result.resetAcknowledged = Reset(link, kNoImage);
    return result;
  }
  const int64_t available = static_cast<int64_t>(boot.FlashSize) - kBootloaderSpace;

  auto memory = std::make_unique<FirmwareMemory>();
  const ImageReports reports{[&](const std::string& t) { link.Log(t); },
                             [&](const std::string& t) { link.Status(t); },
                             [&](const std::string& p) { return link.FileInfo(p); }, link.Debug()};
  bool refused = false;
  ParsedImage image;
  for (;;) {
    result.file = link.ChooseFile();
    if (!Exists(result.file)) {
      result.file.clear();
      result.outcome = refused ? FirmwareOutcome::Refused : FirmwareOutcome::Cancelled;
      result.resetAcknowledged = Reset(link, kNoImage);
      return result;
    }
    image = ParseFirmwareFile(result.file, *memory, reports);
    if (!image.ok) {
      refused = true;
      continue;
    }
    link.Log(
        LangFormat("FlashSize", {std::to_string(image.last) + " / " + std::to_string(available)}));
    // `available` is the bootloader's first byte: an image may end just below it.
    if (image.last >= available) {
      link.Status(LangFormat("FirmwareTooLarge", {std::to_string(image.last + 1 - available)}));
      refused = true;
      continue;
    }
    break;
  }

  const int64_t mask = std::max<int64_t>(boot.PageSize, kSmallestPage) - 1;
  const int64_t start = image.first & ~mask;
  // `last` is inclusive: the page that holds it is sent whole.
  const int64_t end = std::min((image.last + 1 + mask) & ~mask, available);
  const int64_t total = end - start;
  result.bytes = total;
  link.Status(LangFormat("StartingFirmwareUpdate", {std::to_string(total)}));

  BlockMessage block{};
  for (int64_t address = start; address < end; address += kFirmwareBlock) {
    link.Progress(FirmwareProgressText(address, address - start, total), address - start, total);
    block[0] = static_cast<uint8_t>(address & 0xFF);
    block[1] = static_cast<uint8_t>(address >> 8);
    std::copy_n(memory->begin() + address, kFirmwareBlock, block.begin() + 2);
    for (int attempt = 1;; ++attempt) {
      if (link.Terminated()) {
        link.Log(LangText("UpdateStopped"));
        result.outcome = FirmwareOutcome::Stopped;
        return result;
      }
      if (link.Send("02", block)) {
        result.sent = address + kFirmwareBlock - start;
        break;
      }
      // The bootloader gets a moment to recover after every failure.
      if (!link.Pause(timing.retry)) {
        link.Log(LangText("UpdateStopped"));
        result.outcome = FirmwareOutcome::Stopped;
        return result;
      }
      if (attempt >= timing.attempts) {
        result.blockFailed = true;
        link.Log(LangText("TransferError"));
        break;
      }
    }
  }
  // The reset carries the last block's first six bytes as they stand.
  result.resetAcknowledged = Reset(link, std::span(block).first<6>());
  result.outcome = result.blockFailed || !result.resetAcknowledged ? FirmwareOutcome::Failed
                                                                   : FirmwareOutcome::Updated;
  return result;
}

void FinishFirmwareUpdate(FirmwareResult& result, uint8_t deviceType, FirmwareLink& link) {
  if (result.outcome != FirmwareOutcome::Updated && result.outcome != FirmwareOutcome::Failed)
    return;
  // A board that still answers as its bootloader (or not at all) runs no new firmware.
  if (deviceType != kThisBoard) result.outcome = FirmwareOutcome::Failed;
  link.Status(LangText(result.outcome == FirmwareOutcome::Updated ? "FirmwareUpdateSuccessful"
                                                                  : "FirmwareUpdateFailed"));
}

}  // namespace vmx
