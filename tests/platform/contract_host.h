#pragma once
// What the platform contract tests need from the system beyond the seam
// itself: scratch directories, a second party, child programs, the far ends
// of a serial line and a TCP connection. One implementation per system
// (posix/, win32/); the tests see only this.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/process_launcher.h"
#include "platform/settings_store.h"
#include "platform/waitable_event.h"

namespace contract {

// Where the systems legitimately differ.
struct Capabilities {
  // Files can be opened so that nobody else may open them (Windows share mode 0).
  bool shareModes = false;
  // A serial port open here cannot be opened a second time. Windows refuses
  // it; Wine's CreateFileA ignores share mode 0 on a COM port.
  bool exclusiveSerialOpen = false;
};
const Capabilities& SystemCapabilities();

// A fresh directory of the test's own, removed with its contents at the end.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const;

 private:
  std::string path_;
};

// Plain file access behind the seam's back, to set up and inspect.
void WriteFile(const std::string& path, const std::string& bytes);
// The whole contents, or "<missing>" when the file cannot be read.
std::string ReadFile(const std::string& path);
size_t EntryCount(const std::string& dir);
// Renames a file within one directory, replacing the target.
void RenameFile(const std::string& from, const std::string& to);

// Another program holding a file open for reading, until destroyed; it lets
// others read and write it too when `sharing`. nullptr where the system has
// no share modes.
class Holder {
 public:
  virtual ~Holder() = default;
};
std::unique_ptr<Holder> HoldOpen(const std::string& path, bool sharing);

// Whether a second party (another process on Linux, another handle on
// Windows, where locks belong to handles) is refused an exclusive lock on the
// range of an existing file right now.
bool OtherPartyIsRefusedLock(const std::string& path, unsigned offset, unsigned length);

// A child program placed in `dir`, started with `workingDirectory` and the
// extra variable CONTRACT_VALUE=<value>.
enum class ChildBehaviour {
  // Writes report.txt in its current directory (first line: that directory;
  // a later line: CONTRACT_VALUE) and exits with kReportExitCode.
  Report,
  // Writes ready.txt, then runs until asked to close, and ends when asked.
  HonoursClose,
  // Writes ready.txt, then ignores the close request and runs until ended.
  IgnoresClose,
};
inline constexpr int kReportExitCode = 3;
platform::LaunchRequest ChildLaunch(ChildBehaviour behaviour, const ScratchDir& dir,
                                    const std::string& workingDirectory, const std::string& value);
// The current directory as the child sees `dir` (report.txt's first line).
std::string AsChildSeesIt(const std::string& dir);

// The other end of a null-modem line whose near end the seam opens by name.
// nullptr when this run has no such pair (the test is skipped then).
class SerialPeer {
 public:
  virtual ~SerialPeer() = default;
  // The near end's name as the seam's SerialPorts::Open takes it.
  virtual std::string PortName() const = 0;
  virtual void Send(const std::string& bytes) = 0;
};
std::unique_ptr<SerialPeer> OpenSerialPeer();
// A port name that no device answers to.
std::string MissingPortName();

// A TCP listener on the loopback address that accepts connections in the
// background and never sends.
class TcpListener {
 public:
  virtual ~TcpListener() = default;
  virtual std::string Port() const = 0;
};
std::unique_ptr<TcpListener> ListenOnLoopback();
// A loopback port that nobody listens on.
std::string ClosedLoopbackPort();
// The system's error code for an address family it does not support.
int FamilyNotSupportedCode();

// A key of the test's own in the user's settings store, made to exist only
// by the store itself, and gone with everything in it at the end.
class OwnSettingsKey {
 public:
  virtual ~OwnSettingsKey() = default;
  // The key's path as SettingsStore::OpenOrCreateKey takes it.
  virtual std::string Path() const = 0;
  virtual bool Exists() = 0;
  // Stores a value of the type with its bytes as the registry holds them.
  virtual void Store(const std::string& name, platform::ValueType type, const std::vector<uint8_t>& data) = 0;
};
std::unique_ptr<OwnSettingsKey> MakeOwnSettingsKey();

// Asks this very process to end, as the system's own tools would (SIGTERM on
// Linux, Ctrl+Break on the console on Windows). false when this run cannot
// send such a request (under Wine a test has no console).
bool RequestTerminationOfThisProcess();
// Whether the event is ready, or becomes ready within `milliseconds`.
bool IsReady(const platform::WaitableEvent& event, int milliseconds);

}  // namespace contract
