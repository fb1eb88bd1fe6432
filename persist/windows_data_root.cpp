#include <shlobj.h>
#include <windows.h>

#include <cstdlib>

#include "persist/data_root.h"

namespace vmx {

std::filesystem::path UserDataRoot() {
  // The variable first, as for XDG_DATA_HOME: a relative one is ignored.
  if (const wchar_t* local = ::_wgetenv(L"LOCALAPPDATA"); local && *local) {
    const std::filesystem::path folder(local);
    if (folder.is_absolute()) return folder / L"Velmarinex";
  }
  wchar_t* known = nullptr;
  std::filesystem::path root;
  if (::SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &known) == S_OK && known)
    root = std::filesystem::path(known) / L"Velmarinex";
  ::CoTaskMemFree(known);
  return root;
}

}  // namespace vmx
