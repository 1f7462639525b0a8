// SPDX-License-Identifier: MIT
// lunavant-host: plays the host's add-in manager against the reference host's automation
// server, so a COM add-in can be tried and tested under wine. See Usage() for what it does.
#include <windows.h>

#include <objbase.h>
#include <shellapi.h>

#include <cstdio>
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "addin_manager.h"
#include "addin_record.h"
#include "late_binding.h"
#include "report.h"
#include "script.h"
#include "script_runner.h"
#include "text.h"

namespace {

using namespace lunavant;
using driver::Inform;
using driver::ReportFailure;

constexpr wchar_t kDefaultHost[] = L"Lunavant.ReferenceHost";

enum ExitCode : int {
  kSuccess = 0,
  kExpectationFailed = 1,
  kUsageError = 2,
  kHostUnavailable = 3,
  kAddInFailed = 4,
  kStepFailed = 5,
};

constexpr char kUsage[] =
    R"(Usage: lunavant-host [--host PROGID] [--addin PROGID] [--by-name] [SCRIPT]
       lunavant-host --register DLL | --unregister DLL
       lunavant-host --list
Plays the host's add-in manager: starts the host's Application through its automation
server (--host, default Lunavant.ReferenceHost), connects each add-in registered under
HKEY_CURRENT_USER\Software\Microsoft\Office\MS Project\Addins\<ProgID> with LoadBehavior 3
(OnConnection with ext_cm_Startup, then OnStartupComplete), runs SCRIPT's user actions
through the host's automation, then calls OnBeginShutdown and OnDisconnection
(ext_dm_HostShutdown). An add-in that sets its COMAddIn's Connect to False is disconnected
(ext_dm_UserClosed) after the action that made it do so.

Options:
  --host PROGID     the host's ProgID
  --addin PROGID    connect only this registered add-in (its LoadBehavior must be 3)
  --by-name         call the add-ins' IDTExtensibility2 by name (IDispatch), not through
                    its vtable
  --register DLL    call DllRegisterServer of a COM DLL (as regsvr32 does) and exit
  --unregister DLL  call DllUnregisterServer and exit
  --list            list the registered add-ins and exit
  --help            show this text and exit

)";

constexpr char kExitCodes[] = R"(
Exit codes (when several apply, the highest):
  0  everything succeeded
  1  an expectation of the script did not hold (the script went on)
  2  bad command line or script; nothing was started
  3  the host could not be started
  4  an add-in could not be connected, or one of its calls failed; or --register failed
  5  the host failed a script action; the rest of the script was skipped
Failures are reported on standard error, progress on standard output.
)";

struct Options {
  std::wstring host = kDefaultHost;
  std::optional<std::wstring> only_addin;
  std::optional<std::wstring> script;
  std::optional<std::wstring> register_dll;
  std::optional<std::wstring> unregister_dll;
  bool by_name = false;
  bool list = false;
  bool help = false;
};

std::optional<Options> ParseOptions(const std::vector<std::wstring>& args) {
  Options options;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::wstring& arg = args[i];
    auto value = [&](std::optional<std::wstring>& target) {
      if (i + 1 >= args.size()) {
        ReportFailure(com::Narrow(arg) + " needs a value");
        return false;
      }
      target = args[++i];
      return true;
    };
    std::optional<std::wstring> host;
    if (arg == L"--help" || arg == L"-h") {
      options.help = true;
    } else if (arg == L"--by-name") {
      options.by_name = true;
    } else if (arg == L"--list") {
      options.list = true;
    } else if (arg == L"--host") {
      if (!value(host)) return std::nullopt;
      options.host = *host;
    } else if (arg == L"--addin") {
      if (!value(options.only_addin)) return std::nullopt;
    } else if (arg == L"--register") {
      if (!value(options.register_dll)) return std::nullopt;
    } else if (arg == L"--unregister") {
      if (!value(options.unregister_dll)) return std::nullopt;
    } else if (arg.starts_with(L"-") && arg != L"-") {
      ReportFailure("unknown option " + com::Narrow(arg) + " (see --help)");
      return std::nullopt;
    } else if (options.script) {
      ReportFailure("one script only (see --help)");
      return std::nullopt;
    } else {
      options.script = arg;
    }
  }
  return options;
}

std::optional<std::string> ReadWholeFile(const std::wstring& path) {
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string bytes;
  char buffer[65536];
  DWORD read = 0;
  bool ok = true;
  while ((ok = ReadFile(file, buffer, sizeof buffer, &read, nullptr) != FALSE) && read > 0) {
    bytes.append(buffer, read);
  }
  CloseHandle(file);
  if (!ok) return std::nullopt;
  return bytes;
}

// regsvr32's work, in this process's bitness, so a 32-bit DLL lands in the 32-bit view.
int CallRegistration(const std::wstring& dll, const char* entry) {
  const HMODULE module = LoadLibraryExW(dll.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  if (module == nullptr) {
    ReportFailure(com::Narrow(dll) +
                  " cannot be loaded: " + com::DescribeHresult(HRESULT_FROM_WIN32(GetLastError())));
    return kAddInFailed;
  }
  using Entry = HRESULT(STDAPICALLTYPE*)();
  const auto function =
      reinterpret_cast<Entry>(reinterpret_cast<void (*)()>(GetProcAddress(module, entry)));
  int code = kSuccess;
  if (function == nullptr) {
    ReportFailure(com::Narrow(dll) + " has no " + entry);
    code = kAddInFailed;
  } else if (const HRESULT hr = function(); FAILED(hr)) {
    ReportFailure(com::Narrow(dll) + ": " + entry + " failed: " + com::DescribeHresult(hr));
    code = kAddInFailed;
  } else {
    Inform(std::string(entry) + " succeeded: " + com::Narrow(dll));
  }
  FreeLibrary(module);
  return code;
}

void ListAddIns() {
  for (const com::AddInRecord& record : com::ReadAddInRecords()) {
    std::string line = com::Narrow(record.prog_id) + "\tLoadBehavior ";
    line += record.load_behavior ? std::to_string(*record.load_behavior) : std::string("?");
    line += "\t" + com::Narrow(record.friendly_name);
    if (!record.problem.empty()) line += "\t(" + com::Narrow(record.problem) + ")";
    Inform(line);
  }
}

com::ComPtr<IDispatch> StartHost(const std::wstring& prog_id) {
  CLSID clsid{};
  HRESULT hr = CLSIDFromProgID(prog_id.c_str(), &clsid);
  if (FAILED(hr)) {
    ReportFailure("the host " + com::Narrow(prog_id) +
                  " is not registered: " + com::DescribeHresult(hr));
    return {};
  }
  com::ComPtr<IDispatch> application;
  hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IDispatch,
                        application.put_void());
  if (FAILED(hr)) {
    ReportFailure("the host " + com::Narrow(prog_id) +
                  " cannot be started: " + com::DescribeHresult(hr));
  }
  return application;
}

int RunSession(const Options& options, const std::vector<driver::ScriptStep>& steps) {
  const com::ComPtr<IDispatch> application = StartHost(options.host);
  if (!application) return kHostUnavailable;

  int code = kSuccess;
  driver::AddInManager manager(
      application.get(), options.by_name ? driver::CallStyle::kByName : driver::CallStyle::kVtable);
  manager.ConnectAtStartup(com::ReadAddInRecords(), options.only_addin);

  driver::ScriptRunner runner(application.get(), manager);
  for (const driver::ScriptStep& step : steps) {
    try {
      if (!runner.Run(step)) code = std::max(code, int{kExpectationFailed});
    } catch (const std::exception& failure) {
      ReportFailure(com::Narrow(*options.script) + ":" + std::to_string(step.line) + ": " +
                    com::Narrow(step.action) + ": " + failure.what());
      code = kStepFailed;
      break;
    }
    manager.DisconnectThoseThatAsked();
  }

  manager.ShutDown();
  if (!manager.all_succeeded()) code = std::max(code, int{kAddInFailed});
  return code;
}

int Main(const std::vector<std::wstring>& args) {
  const std::optional<Options> options = ParseOptions(args);
  if (!options) return kUsageError;
  if (options->help) {
    std::fputs(kUsage, stdout);
    std::fwrite(driver::ScriptActionsHelp().data(), 1, driver::ScriptActionsHelp().size(), stdout);
    std::fputs(kExitCodes, stdout);
    return kSuccess;
  }

  std::vector<driver::ScriptStep> steps;
  if (options->script) {
    const std::optional<std::string> text = ReadWholeFile(*options->script);
    if (!text) {
      ReportFailure("cannot read the script " + com::Narrow(*options->script) + ": " +
                    com::DescribeHresult(HRESULT_FROM_WIN32(GetLastError())));
      return kUsageError;
    }
    try {
      steps = driver::ParseScript(*text, com::Narrow(*options->script));
    } catch (const driver::ScriptError& error) {
      ReportFailure(error.what());
      return kUsageError;
    }
  }

  // The host's objects and its add-ins live in one single-threaded apartment, as in the host.
  const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  if (FAILED(hr)) {
    ReportFailure("COM cannot start: " + com::DescribeHresult(hr));
    return kHostUnavailable;
  }
  int code = kSuccess;
  try {
    if (options->register_dll) {
      code = CallRegistration(*options->register_dll, "DllRegisterServer");
    } else if (options->unregister_dll) {
      code = CallRegistration(*options->unregister_dll, "DllUnregisterServer");
    } else if (options->list) {
      ListAddIns();
    } else {
      code = RunSession(*options, steps);
    }
  } catch (const std::exception& error) {
    ReportFailure(error.what());
    code = kHostUnavailable;
  }
  CoUninitialize();
  return code;
}

}  // namespace

int main() {
  SetConsoleOutputCP(CP_UTF8);
  int count = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::wstring> args;
  for (int i = 1; argv != nullptr && i < count; ++i) args.emplace_back(argv[i]);
  LocalFree(argv);
  return Main(args);
}
