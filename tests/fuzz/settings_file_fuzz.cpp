// Settings files of any content through the reader and both imports, and
// settings given one by one on the command line ("Key=Value").
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "link/shared_store.h"
#include "persist/ini_document.h"
#include "persist/settings_assign.h"
#include "persist/settings_file.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

// Rows an import may fill: two say as much as a board's 32 (the rows are alike), at a
// fraction of the time.
constexpr size_t kRows = 2;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vmx;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  IniDocument doc = IniDocument::Parse(text);

  SettingsRecords read;
  read.schedule.resize(kRows);
  ReadConfiguration(doc, read);
  ReadSchedule(doc, read);

  // Both imports into the shared records, as the window runs them: they store
  // what reading gives, nothing else.
  SharedStore store;
  store.info.RowCount = kRows;
  store.ResizeRowTables(kRows);
  ImportConfiguration(doc, store);
  ImportSchedule(doc, store);
  FUZZ_CHECK((SettingsRecords{store.config, store.expert, store.weather, store.schedule}) == read);

  // What is written into the file reads back as written, whatever else the
  // file holds; and the text written parses to the same values again.
  SettingsRecords written;
  written.schedule.resize(kRows);
  for (size_t i = 0; i < kRows; ++i) written.schedule[i].Timer = static_cast<int16_t>(i * 37);
  written.config.FanLow = 201;
  written.expert.Bias = -120;
  PutSettings(doc, written);
  SettingsRecords back;
  back.schedule.resize(kRows);
  ReadConfiguration(doc, back);
  ReadSchedule(doc, back);
  FUZZ_CHECK(back == written);
  SettingsRecords reparsed;
  reparsed.schedule.resize(kRows);
  const IniDocument again = IniDocument::Parse(doc.Text());
  ReadConfiguration(again, reparsed);
  ReadSchedule(again, reparsed);
  FUZZ_CHECK(reparsed == written);

  // Each line as a command-line setting.
  std::string error;
  std::vector<SettingsAssignment> assignments;
  for (size_t start = 0; start < text.size();) {
    const size_t end = std::min(text.find('\n', start), text.size());
    if (auto a = ParseAssignment(text.substr(start, end - start), error)) assignments.push_back(*a);
    start = end + 1;
  }
  AssignSettings(store, assignments, error);
  return 0;
}
