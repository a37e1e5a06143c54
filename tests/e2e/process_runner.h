#pragma once
// Runs the real programs for end-to-end tests: a child with its own working
// directory, environment and captured output, and a scratch directory tree
// that stands for one computer (home, settings, host directory, job directory).
#include <sys/types.h>

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace e2e {

// The path of a built program, from the environment variable that CTest sets.
std::string ProgramPath(const char* variable);

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);
bool Exists(const std::string& path);
std::vector<std::string> ListDirectory(const std::string& path);
// Converts UTF-8 text with '\n' line ends into a Windows-1250 job file with CR LF.
std::string JobText(const std::string& utf8Lines);
// Checks `condition` every 20 ms until it holds or `limit` has passed; its last value.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit);
// How many times `what` occurs in `text` (overlaps counted).
size_t Count(const std::string& text, const std::string& what);

struct Scratch {
  Scratch();
  ~Scratch();
  std::string root, home, config, zembrano, jobs, archive;
  // The environment a program of this "computer" runs with (no display).
  std::map<std::string, std::string> Environment() const;
};

class Child {
 public:
  Child(const std::vector<std::string>& argv, const std::string& cwd,
        const std::map<std::string, std::string>& env);
  ~Child();
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  // Waits for the exit; -1 when it did not end in time (it is then killed).
  int Wait(std::chrono::milliseconds limit);
  void Signal(int signal);
  bool Running();
  // What it wrote to standard output and standard error so far.
  std::string Stdout();
  std::string Stderr();
  // Waits until standard output holds a line starting with `prefix`; returns it or "".
  std::string WaitForLine(const std::string& prefix, std::chrono::milliseconds limit);
  pid_t pid() const { return pid_; }

 private:
  void Drain();
  pid_t pid_ = -1;
  int out_ = -1, err_ = -1;
  bool exited_ = false;
  int status_ = 0;
  std::string stdout_, stderr_;
};

// thermal-sim on a free loopback port or on a pseudo-terminal link.
class Simulator {
 public:
  // `extra` are fault options; `ptyPath` empty means TCP.
  explicit Simulator(const Scratch& scratch, std::vector<std::string> extra = {},
                     const std::string& ptyPath = "");
  std::string Address() const { return address_; }  // host:port or the pty link path
  std::string Log();
  std::string Receipts();
  void Stop();

 private:
  std::string logPath_, receiptsPath_, address_;
  std::unique_ptr<Child> child_;
};

}  // namespace e2e
