#include "tests/e2e/process_runner.h"

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "platform/cp1250.h"

extern char** environ;

namespace e2e {

std::string ProgramPath(const char* variable) {
  if (const char* value = std::getenv(variable); value && *value) return value;
  const std::map<std::string, std::string> built = {
      {"KVITRA_BIN", KVITRA_BIN}, {"THERMAL_SIM_BIN", THERMAL_SIM_BIN}, {"VARDEN_BIN", VARDEN_BIN}};
  auto found = built.find(variable);
  if (found == built.end() || found->second.empty())
    throw std::runtime_error(std::string("no program for ") + variable);
  return found->second;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream all;
  all << in.rdbuf();
  return all.str();
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

bool Exists(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0;
}

std::vector<std::string> ListDirectory(const std::string& path) {
  std::vector<std::string> names;
  if (DIR* dir = ::opendir(path.c_str())) {
    while (dirent* entry = ::readdir(dir)) {
      std::string name = entry->d_name;
      if (name != "." && name != "..") names.push_back(name);
    }
    ::closedir(dir);
  }
  return names;
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < end) {
    if (condition()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return condition();
}

size_t Count(const std::string& text, const std::string& what) {
  size_t count = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++count;
  return count;
}

std::string JobText(const std::string& utf8Lines) {
  std::string crlf;
  for (char c : utf8Lines) {
    if (c == '\n') crlf += '\r';
    crlf += c;
  }
  return platform::Utf8ToCp1250(crlf);
}

Scratch::Scratch() {
  char pattern[] = "/tmp/kvitra-e2e.XXXXXX";
  if (!::mkdtemp(pattern)) throw std::runtime_error("mkdtemp failed");
  root = pattern;
  home = root + "/home";
  config = home + "/.config";
  zembrano = root + "/zembrano";
  jobs = root + "/jobs";
  archive = home + "/Documents/KVITRA";
  for (const std::string& dir : {home, config, config + "/NORVEL", zembrano, jobs}) ::mkdir(dir.c_str(), 0755);
  // Windows-1250 in, so the simulator's receipts show the job's own letters.
  WriteFile(config + "/NORVEL/PrnSetup.reg",
            "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\SOFTWARE\\NORVEL\\PrnSetup]\r\n"
            "\"Code_Page\"=\"WIN1250\"\r\n");
}

Scratch::~Scratch() {
  if (!std::getenv("KVITRA_E2E_KEEP")) {
    std::string command = "rm -rf '" + root + "'";
    if (std::system(command.c_str()) != 0) {
    }
  }
}

std::map<std::string, std::string> Scratch::Environment() const {
  std::map<std::string, std::string> env;
  for (char** e = environ; *e; ++e) {
    std::string entry = *e;
    size_t eq = entry.find('=');
    if (eq != std::string::npos) env[entry.substr(0, eq)] = entry.substr(eq + 1);
  }
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_DOCUMENTS_DIR",
                           "KVITRA_START_MINIMISED", "KVITRA_HEADLESS"})
    env.erase(name);
  env["HOME"] = home;
  env["XDG_CONFIG_HOME"] = config;
  env["ZEMBRANO_DIR"] = zembrano;
  return env;
}

Child::Child(const std::vector<std::string>& argv, const std::string& cwd,
             const std::map<std::string, std::string>& env) {
  int outPipe[2], errPipe[2];
  if (::pipe2(outPipe, O_CLOEXEC) != 0 || ::pipe2(errPipe, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, outPipe[1], 1);
  posix_spawn_file_actions_adddup2(&actions, errPipe[1], 2);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  if (!cwd.empty()) posix_spawn_file_actions_addchdir_np(&actions, cwd.c_str());
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  std::vector<std::string> envStrings;
  for (const auto& [name, value] : env) envStrings.push_back(name + "=" + value);
  std::vector<char*> envp;
  for (std::string& e : envStrings) envp.push_back(e.data());
  envp.push_back(nullptr);
  int rc = ::posix_spawn(&pid_, args[0], &actions, nullptr, args.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  ::close(outPipe[1]);
  ::close(errPipe[1]);
  out_ = outPipe[0];
  err_ = errPipe[0];
  if (rc != 0) throw std::runtime_error("cannot start " + argv[0]);
}

Child::~Child() {
  if (!exited_) {
    ::kill(pid_, SIGKILL);
    Wait(std::chrono::milliseconds(5000));
  }
  ::close(out_);
  ::close(err_);
}

void Child::Drain() {
  char buffer[4096];
  for (int* fd : {&out_, &err_}) {
    for (;;) {
      pollfd p{*fd, POLLIN, 0};
      if (::poll(&p, 1, 0) <= 0) break;
      ssize_t n = ::read(*fd, buffer, sizeof buffer);
      if (n <= 0) break;
      (fd == &out_ ? stdout_ : stderr_).append(buffer, n);
    }
  }
}

bool Child::Running() {
  if (exited_) return false;
  if (::waitpid(pid_, &status_, WNOHANG) == pid_) exited_ = true;
  return !exited_;
}

int Child::Wait(std::chrono::milliseconds limit) {
  auto deadline = std::chrono::steady_clock::now() + limit;
  while (Running()) {
    Drain();
    if (std::chrono::steady_clock::now() > deadline) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, &status_, 0);
      exited_ = true;
      Drain();
      return -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  Drain();
  if (WIFEXITED(status_)) return WEXITSTATUS(status_);
  return 128 + WTERMSIG(status_);
}

void Child::Signal(int signal) {
  if (!exited_) ::kill(pid_, signal);
}

std::string Child::Stdout() {
  Drain();
  return stdout_;
}

std::string Child::Stderr() {
  Drain();
  return stderr_;
}

std::string Child::WaitForLine(const std::string& prefix, std::chrono::milliseconds limit) {
  auto deadline = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < deadline) {
    Drain();
    std::istringstream lines(stdout_);
    for (std::string line; std::getline(lines, line);)
      if (line.rfind(prefix, 0) == 0) return line;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return "";
}

Simulator::Simulator(const Scratch& scratch, std::vector<std::string> extra, const std::string& ptyPath) {
  logPath_ = scratch.root + "/sim.log";
  receiptsPath_ = scratch.root + "/receipts.txt";
  std::vector<std::string> argv = {ProgramPath("THERMAL_SIM_BIN"), "--log", logPath_, "--receipts",
                                   receiptsPath_, "--charset", "win1250"};
  if (ptyPath.empty()) {
    argv.insert(argv.end(), {"--tcp", "127.0.0.1:0"});
  } else {
    argv.insert(argv.end(), {"--pty", ptyPath});
  }
  argv.insert(argv.end(), extra.begin(), extra.end());
  child_ = std::make_unique<Child>(argv, "", scratch.Environment());
  std::string line = child_->WaitForLine("listening", std::chrono::milliseconds(5000));
  if (line.empty()) throw std::runtime_error("thermal-sim did not start: " + child_->Stderr());
  std::istringstream words(line);
  std::string listening, kind;
  words >> listening >> kind >> address_;
}

std::string Simulator::Log() { return ReadFile(logPath_); }
std::string Simulator::Receipts() { return ReadFile(receiptsPath_); }

void Simulator::Stop() {
  if (child_) {
    child_->Signal(SIGTERM);
    child_->Wait(std::chrono::milliseconds(3000));
  }
}

}  // namespace e2e
