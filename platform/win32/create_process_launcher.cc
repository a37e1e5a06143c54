// Children started with CreateProcessW: the quoted program path as the whole
// command line, the job directory as current directory, a minimised first
// window, and no inherited handles (the lock file stays with Varden).
#include <windows.h>

#include "platform/paths.h"
#include "platform/process_launcher.h"
#include "platform/win32/child_environment.h"
#include "platform/win32/system_error.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_handle.h"

namespace platform {
namespace {

constexpr const char* kPrinterProgramName = "KVITRA.EXE";

// Minimised without taking the focus from the program the user works in;
// the pointer shows the start-up feedback meanwhile.
STARTUPINFOW MinimisedStart() {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_FORCEONFEEDBACK;
  startup.wShowWindow = SW_SHOWMINNOACTIVE;
  return startup;
}

BOOL CALLBACK PostCloseToWindowOf(HWND window, LPARAM processId) {
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == static_cast<DWORD>(processId)) PostMessageW(window, WM_CLOSE, 0, 0);
  return TRUE;
}

class CreatedChild : public ChildProcess {
 public:
  CreatedChild(HANDLE process, DWORD processId) : process_(process), processId_(processId) {}
  ~CreatedChild() override {
    if (!exited_) Kill();
  }

  bool HasExited() override {
    if (!exited_ && WaitForSingleObject(process_.get(), 0) != WAIT_TIMEOUT) Record();
    return exited_;
  }

  int32_t ExitCode() override { return exitCode_; }

  // Every top-level window of the child gets one WM_CLOSE.
  void RequestClose() override {
    if (!exited_) EnumWindows(PostCloseToWindowOf, static_cast<LPARAM>(processId_));
  }

  // A child ended here gets exit code 0; one that ended by itself just before
  // keeps its own.
  void Kill() override {
    if (exited_) return;
    TerminateProcess(process_.get(), 0);
    WaitForSingleObject(process_.get(), INFINITE);
    Record();
  }

 private:
  void Record() {
    DWORD code = 0;
    GetExitCodeProcess(process_.get(), &code);
    exitCode_ = static_cast<int32_t>(code);
    exited_ = true;
  }

  win32::Handle process_;
  DWORD processId_;
  bool exited_ = false;
  int32_t exitCode_ = 0;
};

class CreateProcessLauncher : public ProcessLauncher {
 public:
  Result<std::unique_ptr<ChildProcess>> Start(const LaunchRequest& request) override {
    // Quoted, so that a job directory with blanks still names the program.
    std::wstring commandLine = L"\"" + win32::WideFromCp1250(request.program) + L"\"";
    const std::wstring directory = win32::WideFromCp1250(request.workingDirectory);
    std::vector<std::pair<std::wstring, std::wstring>> extra;
    for (const auto& [name, value] : request.extraEnvironment)
      extra.emplace_back(win32::WideFromCp1250(name), win32::WideFromCp1250(value));
    std::wstring environment =
        win32::EnvironmentBlock(win32::ChildEnvironment(win32::OwnEnvironment(), extra));
    STARTUPINFOW startup = MinimisedStart();
    PROCESS_INFORMATION created{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT,
                        environment.data(), directory.c_str(), &startup, &created))
      return win32::LastErrorStatus("start " + request.program);
    CloseHandle(created.hThread);
    return std::unique_ptr<ChildProcess>(std::make_unique<CreatedChild>(created.hProcess, created.dwProcessId));
  }
};

}  // namespace

ProcessLauncher& SystemProcessLauncher() {
  static CreateProcessLauncher launcher;
  return launcher;
}

// The printer program lives in the job directory it serves.
std::string PrinterProgramPath(const std::string& jobDir) { return JoinPath(jobDir, kPrinterProgramName); }

}  // namespace platform
