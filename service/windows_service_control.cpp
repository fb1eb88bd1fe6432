#include <windows.h>

#include <cstdio>

#include "platform/stop_request.h"
#include "platform/windows_text.h"
#include "service/service_control.h"
#include "service/service_options.h"

namespace vmx::service {
namespace {

constexpr wchar_t kName[] = L"velmarinexd";
constexpr wchar_t kShownName[] = L"Velmarinex tank service";

SERVICE_STATUS_HANDLE g_status = nullptr;
std::function<int()>* g_serve = nullptr;
int g_exit = 1;

void Report(DWORD state, int exitCode = 0) {
  SERVICE_STATUS status{};
  status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
  status.dwCurrentState = state;
  status.dwControlsAccepted =
      state == SERVICE_RUNNING ? SERVICE_ACCEPT_STOP | SERVICE_ACCEPT_SHUTDOWN : 0;
  status.dwWin32ExitCode = exitCode == 0 ? NO_ERROR : ERROR_SERVICE_SPECIFIC_ERROR;
  status.dwServiceSpecificExitCode = static_cast<DWORD>(exitCode);
  // The boards are let go within a few seconds.
  status.dwWaitHint = state == SERVICE_STOP_PENDING ? 10000 : 0;
  ::SetServiceStatus(g_status, &status);
}

DWORD WINAPI OnControl(DWORD control, DWORD, void*, void*) {
  switch (control) {
    case SERVICE_CONTROL_STOP:
    case SERVICE_CONTROL_SHUTDOWN:
      Report(SERVICE_STOP_PENDING);
      RequestStop();
      return NO_ERROR;
    case SERVICE_CONTROL_INTERROGATE:
      return NO_ERROR;
    default:
      return ERROR_CALL_NOT_IMPLEMENTED;
  }
}

void WINAPI ServiceMain(DWORD, wchar_t**) {
  g_status = ::RegisterServiceCtrlHandlerExW(kName, OnControl, nullptr);
  if (!g_status) return;
  Report(SERVICE_RUNNING);
  g_exit = (*g_serve)();
  Report(SERVICE_STOPPED, g_exit);
}

// One word of a command line as the C library splits it again: quoted when
// it holds a blank or a quote, backslashes doubled only before a quote.
std::wstring Quoted(const std::wstring& word) {
  if (!word.empty() && word.find_first_of(L" \t\"") == std::wstring::npos) return word;
  std::wstring out = L"\"";
  size_t backslashes = 0;
  for (const wchar_t c : word) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    out.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
    backslashes = 0;
    out += c;
  }
  out.append(2 * backslashes, L'\\');
  return out + L"\"";
}

std::string Failure(const char* what) {
  const DWORD error = ::GetLastError();
  std::string text = std::string(what) + ": " + WindowsErrorText(error);
  if (error == ERROR_ACCESS_DENIED) text += " (run it as an administrator)";
  return text;
}

// Closes a service manager handle at the end of its scope.
struct Handle {
  SC_HANDLE h;
  ~Handle() {
    if (h) ::CloseServiceHandle(h);
  }
};

}  // namespace

bool ServiceManagerInThisBuild() {
  return true;
}

std::string InstallService(const std::vector<std::string>& arguments) {
  std::wstring program(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n =
        ::GetModuleFileNameW(nullptr, program.data(), static_cast<DWORD>(program.size()));
    if (n == 0) return Failure("the program's path");
    if (n < program.size()) {
      program.resize(n);
      break;
    }
    program.resize(program.size() * 2);
  }
  std::wstring command = Quoted(program) + L" --as-service";
  for (const std::string& word : arguments) command += L" " + Quoted(WideText(word));

  const Handle manager{::OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CREATE_SERVICE)};
  if (!manager.h) return Failure("the service manager");
  const Handle service{::CreateServiceW(manager.h, kName, kShownName, SERVICE_ALL_ACCESS,
                                        SERVICE_WIN32_OWN_PROCESS, SERVICE_AUTO_START,
                                        SERVICE_ERROR_NORMAL, command.c_str(), nullptr, nullptr,
                                        nullptr, nullptr, nullptr)};
  if (!service.h) return Failure("installing the service");
  std::wstring about =
      L"Holds the Velmarinex boards of this computer and serves them to the browser.";
  SERVICE_DESCRIPTIONW description{about.data()};
  ::ChangeServiceConfig2W(service.h, SERVICE_CONFIG_DESCRIPTION, &description);
  return {};
}

std::string UninstallService() {
  const Handle manager{::OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT)};
  if (!manager.h) return Failure("the service manager");
  const Handle service{
      ::OpenServiceW(manager.h, kName, SERVICE_STOP | SERVICE_QUERY_STATUS | DELETE)};
  if (!service.h) return Failure("the service");
  SERVICE_STATUS status{};
  if (::ControlService(service.h, SERVICE_CONTROL_STOP, &status)) {
    for (int i = 0; i < 100 && status.dwCurrentState != SERVICE_STOPPED; ++i) {
      ::Sleep(100);
      if (!::QueryServiceStatus(service.h, &status)) break;
    }
  }
  if (!::DeleteService(service.h)) return Failure("removing the service");
  return {};
}

int RunAsService(std::function<int()> serve) {
  g_serve = &serve;
  SERVICE_TABLE_ENTRYW table[] = {{const_cast<wchar_t*>(kName), ServiceMain}, {nullptr, nullptr}};
  if (!::StartServiceCtrlDispatcherW(table)) {
    std::fprintf(stderr, "velmarinexd: --as-service is for the service manager: %s\n",
                 WindowsErrorText(::GetLastError()).c_str());
    return 1;
  }
  return g_exit;
}

}  // namespace vmx::service
