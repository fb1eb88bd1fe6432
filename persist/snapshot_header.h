// The header that makes a settings file a snapshot: a [Snapshot] section at
// the very start, saying when, why and by which program it was taken, and
// the length and digest of the settings text after it. A file cut short, or
// changed by hand, no longer matches its header.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "persist/settings_history.h"

namespace vmx {

// A header is never longer: listing reads no more of a file than this.
inline constexpr size_t kSnapshotHeaderLimit = 1024;

struct SnapshotHeader {
  int64_t taken = 0;
  SnapshotReason reason = SnapshotReason::Backup;
  std::string program;
  std::string board;
  uint64_t length = 0;  // bytes of settings text after the header
  uint64_t digest = 0;  // FNV-1a of that text
  size_t headerSize = 0;
};

uint64_t SnapshotDigest(std::string_view body);

std::string SnapshotHeaderText(int64_t taken, SnapshotReason reason, std::string_view program,
                               std::string_view board, std::string_view body);
// "20240621T120000Z-1a2b3c4d.ini": sorts by time, differs for different settings.
std::string SnapshotFileName(int64_t taken, std::string_view body);

// Reads the header at the start of `text` (which may be the file's first bytes only).
bool ParseSnapshotHeader(std::string_view text, SnapshotHeader& header);
// The settings text of a whole snapshot file when it matches its header;
// nothing, with `problem` in the user's language, when it does not.
std::optional<std::string_view> CheckedSnapshotBody(std::string_view text, std::string& problem);

}  // namespace vmx
