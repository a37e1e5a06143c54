#include "tests/win32/e2e/wine_programs.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace wine_e2e {

namespace {

// posix_spawn takes no search path: wine is looked up here.
std::string Wine() {
  const char* path = std::getenv("PATH");
  std::string dirs = path ? path : "/usr/bin";
  for (size_t start = 0; start <= dirs.size();) {
    size_t end = dirs.find(':', start);
    if (end == std::string::npos) end = dirs.size();
    const std::string candidate = dirs.substr(start, end - start) + "/wine";
    if (::access(candidate.c_str(), X_OK) == 0) return candidate;
    start = end + 1;
  }
  throw std::runtime_error("wine is not on PATH");
}

// A "Windows Registry Editor Version 5.00" file is UTF-16LE with a
// byte-order mark as Windows writes it (8-bit files say REGEDIT4). Wine 8's
// reg import takes the 8-bit examples as they are, but the test imports
// them the way that holds on Windows too: widened. Their text is ASCII.
std::string Utf16WithBom(const std::string& ascii) {
  std::string wide = "\xFF\xFE";
  for (char c : ascii) {
    wide += c;
    wide += '\0';
  }
  return wide;
}

}  // namespace

std::string WinePrefix() {
  const char* prefix = std::getenv("WINEPREFIX");
  if (!prefix || !*prefix) throw std::runtime_error("WINEPREFIX is not set");
  return prefix;
}

std::string WindowsPath(const std::string& linuxPath) {
  std::string path = "Z:" + linuxPath;
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

bool ImportSettings(const std::string& regFile) {
  char pattern[] = "/tmp/kvitra-wine-reg.XXXXXX";
  if (!::mkdtemp(pattern)) return false;
  const std::string wide = std::string(pattern) + "/PrnSetup.reg";
  e2e::WriteFile(wide, Utf16WithBom(e2e::ReadFile(regFile)));
  e2e::Child reg({Wine(), "reg", "import", WindowsPath(wide)}, pattern, e2e::Scratch().Environment());
  const int code = reg.Wait(std::chrono::seconds(30));
  ::unlink(wide.c_str());
  ::rmdir(pattern);
  return code == 0;
}

std::string WindowsArchive() {
  const passwd* user = ::getpwuid(::getuid());
  return WinePrefix() + "/drive_c/users/" + (user ? user->pw_name : "") + "/Documents/KVITRA";
}

void ClearWindowsArchive() { std::filesystem::remove_all(WindowsArchive()); }

std::map<std::string, std::string> WineEnvironment(const e2e::Scratch& scratch, bool withScreen) {
  std::map<std::string, std::string> env = scratch.Environment();
  if (withScreen) {
    if (const char* display = std::getenv("DISPLAY")) env["DISPLAY"] = display;
  } else {
    env["KVITRA_HEADLESS"] = "1";
  }
  // HOME stays the runner's: Wine finds its prefix's owner by it.
  if (const char* home = std::getenv("HOME")) env["HOME"] = home;
  env.erase("XDG_CONFIG_HOME");
  env["ZEMBRANO_DIR"] = WindowsPath(scratch.zembrano);
  return env;
}

std::string PortConfig(const std::string& portLine) {
  std::string config = e2e::ReadFile(Example("PORT.CFG.network"));
  return portLine + config.substr(config.find("\r\n"));
}

std::vector<std::string> WineCommand(const std::string& program, const std::vector<std::string>& arguments) {
  std::vector<std::string> command = {Wine(), program};
  command.insert(command.end(), arguments.begin(), arguments.end());
  return command;
}

Outcome RunUnderWine(const std::string& program, const std::string& directory,
                     const std::map<std::string, std::string>& env, std::chrono::milliseconds limit) {
  e2e::Child child(WineCommand(program), directory, env);
  Outcome outcome;
  outcome.exitCode = child.Wait(limit);
  outcome.errors = child.Stderr();
  return outcome;
}

std::string Example(const std::string& name) { return std::string(KVITRA_SOURCE_DIR) + "/examples/" + name; }

}  // namespace wine_e2e
