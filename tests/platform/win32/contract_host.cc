// The contract tests' host on Windows (run under Wine): directories under the
// user's temporary folder, handles of the test's own as the second party, the
// launch helper as the child program, the COM pair that with_com_pair.sh
// makes as the serial line, Winsock for the listener.
#include "tests/platform/contract_host.h"

#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "platform/paths.h"
#include "platform/serial_port.h"
#include "platform/win32/wide_text.h"
#include "tests/platform/win32/scratch_dir.h"

namespace contract {

namespace {

using platform::win32::Cp1250FromWide;
using platform::win32::WideFromCp1250;

HANDLE OpenExisting(const std::string& path, DWORD access, DWORD share) {
  return ::CreateFileW(WideFromCp1250(path).c_str(), access, share, nullptr, OPEN_EXISTING, 0, nullptr);
}

}  // namespace

const Capabilities& SystemCapabilities() {
  static const Capabilities capabilities{.shareModes = true, .exclusiveSerialOpen = false};
  return capabilities;
}

ScratchDir::ScratchDir() {
  wchar_t temp[MAX_PATH + 1];
  const DWORD length = ::GetTempPathW(MAX_PATH + 1, temp);
  static int counter = 0;
  const std::filesystem::path root =
      std::filesystem::path(std::wstring(temp, length)) /
      (L"kvitra-contract-" + std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(counter++));
  std::filesystem::create_directories(root);
  path_ = Cp1250FromWide(root.wstring());
}

ScratchDir::~ScratchDir() {
  std::error_code ignored;
  std::filesystem::remove_all(WideFromCp1250(path_), ignored);
}

std::string ScratchDir::operator/(const std::string& name) const { return platform::JoinPath(path_, name); }

void WriteFile(const std::string& path, const std::string& bytes) {
  const HANDLE file = ::CreateFileW(WideFromCp1250(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  ::WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr);
  ::CloseHandle(file);
}

std::string ReadFile(const std::string& path) { return testing_support::Contents(path); }

void RenameFile(const std::string& from, const std::string& to) {
  ::MoveFileExW(WideFromCp1250(from).c_str(), WideFromCp1250(to).c_str(), MOVEFILE_REPLACE_EXISTING);
}

size_t EntryCount(const std::string& dir) {
  size_t count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(WideFromCp1250(dir))) ++count;
  return count;
}

namespace {

class HandleHolder : public Holder {
 public:
  explicit HandleHolder(HANDLE handle) : handle_(handle) {}
  ~HandleHolder() override { ::CloseHandle(handle_); }

 private:
  HANDLE handle_;
};

}  // namespace

std::unique_ptr<Holder> HoldOpen(const std::string& path, bool sharing) {
  const HANDLE file = OpenExisting(path, GENERIC_READ, sharing ? FILE_SHARE_READ | FILE_SHARE_WRITE : 0);
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  return std::make_unique<HandleHolder>(file);
}

bool OtherPartyIsRefusedLock(const std::string& path, unsigned offset, unsigned length) {
  const HANDLE file = OpenExisting(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE);
  if (file == INVALID_HANDLE_VALUE) return true;
  const bool locked = ::LockFile(file, offset, 0, length, 0);
  if (locked) ::UnlockFile(file, offset, 0, length, 0);
  ::CloseHandle(file);
  return !locked;
}

namespace {

std::filesystem::path LaunchHelper() {
  wchar_t self[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  return std::filesystem::path(self).parent_path() / "launch_helper.exe";
}

const char* HelperMode(ChildBehaviour behaviour) {
  switch (behaviour) {
    case ChildBehaviour::Report:
      return "report";
    case ChildBehaviour::HonoursClose:
      return "windows";
    case ChildBehaviour::IgnoresClose:
      return "stubborn";
  }
  return "";
}

}  // namespace

platform::LaunchRequest ChildLaunch(ChildBehaviour behaviour, const ScratchDir& dir,
                                    const std::string& workingDirectory, const std::string& value) {
  const std::string program = dir / "child.exe";
  std::error_code ignored;
  std::filesystem::copy_file(LaunchHelper(), WideFromCp1250(program),
                             std::filesystem::copy_options::overwrite_existing, ignored);
  return {program, workingDirectory, {{"LAUNCH_HELPER_MODE", HelperMode(behaviour)}, {"CONTRACT_VALUE", value}}};
}

std::string AsChildSeesIt(const std::string& dir) { return dir; }

namespace {

// The far end is the pair's other COM port, opened through the seam.
class ComPeer : public SerialPeer {
 public:
  ComPeer(std::string name, std::unique_ptr<platform::SerialPort> other)
      : name_(std::move(name)), other_(std::move(other)) {}
  std::string PortName() const override { return name_; }
  void Send(const std::string& bytes) override {
    other_->Write(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  }

 private:
  std::string name_;
  std::unique_ptr<platform::SerialPort> other_;
};

}  // namespace

std::unique_ptr<SerialPeer> OpenSerialPeer() {
  const char* pair = std::getenv("COM_PAIR");
  if (pair == nullptr) return nullptr;
  std::string nearName, otherName;
  std::istringstream(pair) >> nearName >> otherName;
  auto other = platform::SystemSerialPorts().Open("\\\\.\\" + otherName, 9600, false);
  if (!other || !(*other)->SetTimeouts({0, 0, 1000, 0, 1000}).ok()) return nullptr;
  return std::make_unique<ComPeer>("\\\\.\\" + nearName, std::move(*other));
}

std::string MissingPortName() { return "\\\\.\\COM99"; }

namespace {

SOCKET BoundLoopbackSocket(uint16_t& port) {
  WSADATA data;
  ::WSAStartup(MAKEWORD(2, 2), &data);  // counted: each socket's owner calls WSACleanup once
  const SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
  int length = sizeof address;
  ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
  port = ntohs(address.sin_port);
  return s;
}

void Release(SOCKET s) {
  ::closesocket(s);
  ::WSACleanup();
}

// Connections complete in the system's backlog; nothing needs to accept them.
class LoopbackListener : public TcpListener {
 public:
  LoopbackListener() : socket_(BoundLoopbackSocket(port_)) { ::listen(socket_, 4); }
  ~LoopbackListener() override { Release(socket_); }
  std::string Port() const override { return std::to_string(port_); }

 private:
  uint16_t port_ = 0;
  SOCKET socket_;
};

}  // namespace

std::unique_ptr<TcpListener> ListenOnLoopback() { return std::make_unique<LoopbackListener>(); }

std::string ClosedLoopbackPort() {
  uint16_t port = 0;
  Release(BoundLoopbackSocket(port));
  return std::to_string(port);
}

int FamilyNotSupportedCode() { return WSAEAFNOSUPPORT; }

}  // namespace contract

namespace contract {

namespace {

// A key under HKEY_CURRENT_USER\SOFTWARE\KvitraTest, deleted with the tree.
class RegistrySettingsKey : public OwnSettingsKey {
 public:
  std::string Path() const override { return "SOFTWARE\\KvitraTest\\Contract" + std::to_string(::GetCurrentProcessId()); }
  ~RegistrySettingsKey() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, L"SOFTWARE\\KvitraTest"); }
  bool Exists() override {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, WideFromCp1250(Path()).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
      return false;
    ::RegCloseKey(key);
    return true;
  }
  void Store(const std::string& name, platform::ValueType type, const std::vector<uint8_t>& data) override {
    HKEY key = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, WideFromCp1250(Path()).c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                          nullptr) != ERROR_SUCCESS)
      return;
    ::RegSetValueExW(key, WideFromCp1250(name).c_str(), 0, RegistryType(type), data.data(), DWORD(data.size()));
    ::RegCloseKey(key);
  }

 private:
  static DWORD RegistryType(platform::ValueType type) {
    switch (type) {
      case platform::ValueType::String:
        return REG_SZ;
      case platform::ValueType::ExpandString:
        return REG_EXPAND_SZ;
      case platform::ValueType::Dword:
        return REG_DWORD;
      case platform::ValueType::Other:
        break;
    }
    return REG_BINARY;
  }
};

}  // namespace

std::unique_ptr<OwnSettingsKey> MakeOwnSettingsKey() { return std::make_unique<RegistrySettingsKey>(); }

// Under Wine a test has the Unix standard handles and no console, and
// AllocConsole is refused (error 5): the event can only be sent where a
// console is attached.
bool RequestTerminationOfThisProcess() { return ::GenerateConsoleCtrlEvent(CTRL_BREAK_EVENT, 0) != 0; }

bool IsReady(const platform::WaitableEvent& event, int milliseconds) {
  const HANDLE handle = reinterpret_cast<HANDLE>(event.NativeHandle());
  return ::WaitForSingleObject(handle, static_cast<DWORD>(milliseconds)) == WAIT_OBJECT_0;
}

}  // namespace contract
