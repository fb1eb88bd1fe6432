// Whole text files read and replaced safely. A file is never rewritten in
// place: the new text goes to a temporary file in the same folder, is flushed
// to the disk, and only then takes the old file's name, so a crash or a full
// disk at any moment leaves either the old file or the new one, whole.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vmx {

struct FileRead {
  enum class Status { Read, Missing, Failed };
  Status status = Status::Failed;
  std::string text;
  std::string error;  // why it failed, in the system's words
};

// Settings files are small; anything beyond this is not one.
inline constexpr size_t kLargestTextFile = 16 * 1024 * 1024;

FileRead ReadTextFile(const std::string& path, size_t limit = kLargestTextFile);

// Replaces the file at `path` (through a symbolic link: the file it points
// to) with `text`, keeping the old file's permissions. Returns why it failed,
// in the system's words; empty on success. Without `durable` the text is not
// flushed to the disk first: still whole or absent after a crash of the
// program, but a power cut may leave it empty, so only files that tell a
// damaged copy of themselves by their own content may do without.
std::string ReplaceFile(const std::string& path, std::string_view text, bool durable = true);

// Appends `line` to the file at `path`, creating it, in one write at the
// file's end: a reader sees the line whole or, after a crash, a cut line it
// skips. A line break goes first when the file does not end in one (a line
// cut short before). Returns why it failed, in the system's words; empty on
// success.
std::string AppendLine(const std::string& path, std::string_view line);

}  // namespace vmx
