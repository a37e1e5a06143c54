#include "tools/thermal-sim/options.h"

#include <functional>
#include <map>
#include <string>

#include "tools/thermal-sim/command_text.h"

namespace thermal_sim {
namespace {

// Pseudo-terminals are Linux's: Windows has none to offer a serial client.
#ifdef _WIN32
constexpr bool kPtyTransport = false;
#else
constexpr bool kPtyTransport = true;
#endif

bool ReadCount(const std::string& text, uint64_t& value, bool allowZero) {
  std::optional<uint32_t> number = ParameterNumber(text);
  if (!number || (!allowZero && *number == 0)) return false;
  value = *number;
  return true;
}

bool SplitHostPort(const std::string& address, Options& options) {
  size_t colon = address.rfind(':');
  if (colon == std::string::npos || colon + 1 == address.size()) return false;
  std::string host = address.substr(0, colon);
  if (host.size() >= 2 && host.front() == '[' && host.back() == ']') host = host.substr(1, host.size() - 2);
  uint64_t port = 0;
  std::optional<uint32_t> number = ParameterNumber(address.substr(colon + 1));
  if (!number || *number > 65535) return false;
  port = *number;
  options.tcpHost = host;
  options.tcpPort = std::to_string(port);
  return true;
}

// One of the fault options; false when `name` is none of them or the value is bad.
bool ApplyFaultOption(const std::string& name, const std::string& v, Faults& faults, bool& known) {
  known = true;
  if (name == "--refuse") {
    faults.refuseCommands.insert(v);
    return !v.empty();
  }
  if (name == "--refuse-frame") {
    uint64_t k = 0;
    bool ok = ReadCount(v, k, false);
    if (ok) faults.refuseFrames.insert(k);
    return ok;
  }
  if (name == "--silent-from") return ReadCount(v, faults.silentFrom, false);
  if (name == "--drop-after") return ReadCount(v, faults.dropAfter, false);
  if (name == "--delay") {
    uint64_t ms = 0;
    bool ok = ReadCount(v, ms, true);
    faults.delayMs = static_cast<uint32_t>(ms);
    return ok;
  }
  known = false;
  return false;
}

constexpr const char* kHelpIntro = R"(thermal-sim: a Thermal fiscal printer simulator

)";
// Each system's build uses its own usage and stop texts; the other pair stays unused.
[[maybe_unused]] constexpr const char* kUsageLinux = R"(Usage: thermal-sim (--tcp HOST:PORT | --pty PATH) [options]

)";
[[maybe_unused]] constexpr const char* kUsageWindows = R"(Usage: thermal-sim --tcp HOST:PORT [options]

)";
constexpr const char* kTcpHelp = R"(  --tcp HOST:PORT     listen on HOST:PORT and serve connections one after
                      another; PORT 0 picks a free port. The first line on
                      standard output is "listening tcp ADDRESS:PORT".
)";
[[maybe_unused]] constexpr const char* kPtyHelp = R"(  --pty PATH          create a pseudo-terminal and a symbolic link PATH to its
                      slave (use PATH as the serial port); first line
                      "listening pty PATH -> /dev/pts/N". The link is removed
                      at exit. A client may close and reopen the line.

)";
constexpr const char* kHelpCommon = R"(Output:
  --log FILE          frame log (default: standard error)
  --receipts FILE     printouts: receipts, cancellations, reports, payouts
                      (default: standard output, after the first line)
  --wire FILE         every byte received from the clients, unchanged, in
                      the order received (appended)
  --charset NAME      the printer's character set, for showing texts in
                      UTF-8: mazovia (default), latin2, cp852, win1250

Printer:
  --first-receipt N   number of the first receipt printed (default 1); the
                      reply to "23#s" carries the number of the last one
                      printed (N-1 before the first)

  --cancel-on-close   when a connection or pty session ends with a receipt
                      open, cancel it (a real printer keeps it open, so the
                      next "$h" is refused until "0$e" comes)

Faults (combinable; K counts frames from 1, see --count-frames):
  --refuse CODE       refuse every command with this code ("$l") or these
                      parameters and code ("0#e"); may be repeated
  --refuse-frame K    refuse frame K; may be repeated
  --silent-from K     from frame K on: no status byte, no reply, nothing
                      carried out (a printer switched off)
  --drop-after K      close the line right after answering frame K: over TCP
                      the connection is closed, over a pty the line is gone
                      (master closed, a new pty made, the link moved to it)
  --delay MS          wait MS milliseconds before every answer
  --faults-file FILE  read at the start of every connection or pty session:
                      when FILE exists, the fault options written in it
                      (--refuse, --refuse-frame, --silent-from, --drop-after,
                      --delay, separated by blanks or lines) replace those
                      of the command line for that session; an empty file
                      means a healthy printer. A bad file is logged and the
                      command line's faults apply.
  --count-frames connection|run
                      K counts per TCP connection or pty session (default),
                      or over the whole run of the simulator

Other:
  --idle MS           quiet time after a frame's closing pair after which it
                      counts as sent without ENQ (default 50)
  --help              this text
  --version           the version

)";
[[maybe_unused]] constexpr const char* kStopHelpLinux = R"(The simulator exits on SIGTERM or SIGINT. It reads no environment variables.
The manual: man thermal-sim (/usr/share/man/man1/thermal-sim.1.gz).
)";
[[maybe_unused]] constexpr const char* kStopHelpWindows = R"(The simulator exits on Ctrl+C, Ctrl+Break or the closing of its console
window. It reads no environment variables.
)";

}  // namespace

std::string ParseFaultsText(const std::string& text, Faults& faults) {
  std::vector<std::string> words;
  std::string word;
  for (char c : text + " ") {
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
      if (!word.empty()) words.push_back(word);
      word.clear();
    } else {
      word.push_back(c);
    }
  }
  Faults parsed;
  parsed.counting = faults.counting;
  for (size_t i = 0; i < words.size(); i += 2) {
    if (i + 1 >= words.size()) return words[i] + " needs a value";
    bool known = false;
    if (!ApplyFaultOption(words[i], words[i + 1], parsed, known))
      return known ? "bad value for " + words[i] + ": " + words[i + 1] : "not a fault option: " + words[i];
  }
  faults = parsed;
  return "";
}

ParsedOptions ParseOptions(const std::vector<std::string>& arguments) {
  ParsedOptions parsed;
  Options& options = parsed.options;
  Faults& faults = options.simulator.faults;
  using Handler = std::function<bool(const std::string&)>;
  const std::map<std::string, Handler> withValue = {
      {"--tcp", [&](const std::string& v) { options.transport = Options::Transport::kTcp; return SplitHostPort(v, options); }},
      {"--pty", [&](const std::string& v) { options.transport = Options::Transport::kPty; options.ptyPath = v; return !v.empty(); }},
      {"--log", [&](const std::string& v) { options.logPath = v; return !v.empty(); }},
      {"--receipts", [&](const std::string& v) { options.receiptsPath = v; return !v.empty(); }},
      {"--wire", [&](const std::string& v) { options.wirePath = v; return !v.empty(); }},
      {"--faults-file", [&](const std::string& v) { options.faultsFile = v; return !v.empty(); }},
      {"--idle", [&](const std::string& v) { uint64_t ms = 0; bool ok = ReadCount(v, ms, false); options.idleMs = static_cast<uint32_t>(ms); return ok; }},
      {"--first-receipt", [&](const std::string& v) { return ReadCount(v, options.simulator.firstReceipt, false); }},
      {"--count-frames", [&](const std::string& v) {
         if (v == "connection") faults.counting = FrameCounting::kPerConnection;
         else if (v == "run") faults.counting = FrameCounting::kWholeRun;
         else return false;
         return true;
       }},
      {"--charset", [&](const std::string& v) {
         std::optional<Charset> charset = CharsetByName(v);
         if (charset) options.simulator.charset = *charset;
         return charset.has_value();
       }},
  };
  bool transportGiven = false;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& name = arguments[i];
    if (name == "--help" || name == "-h") {
      options.help = true;
      return parsed;
    }
    if (name == "--version") {
      options.version = true;
      return parsed;
    }
    if (name == "--cancel-on-close") {
      options.simulator.cancelOnClose = true;
      continue;
    }
    if (i + 1 < arguments.size()) {
      bool known = false;
      bool ok = ApplyFaultOption(name, arguments[i + 1], faults, known);
      if (known) {
        if (!ok) {
          parsed.error = "bad value for " + name + ": " + arguments[i + 1];
          return parsed;
        }
        ++i;
        continue;
      }
    }
    if (name == "--pty" && !kPtyTransport) {
      parsed.error = "--pty is not available on Windows; use --tcp HOST:PORT";
      return parsed;
    }
    auto handler = withValue.find(name);
    if (handler == withValue.end()) {
      parsed.error = "unknown option " + name;
      return parsed;
    }
    if (i + 1 >= arguments.size()) {
      parsed.error = name + " needs a value";
      return parsed;
    }
    if ((name == "--tcp" || name == "--pty") && transportGiven) {
      parsed.error = "give one of --tcp and --pty, once";
      return parsed;
    }
    transportGiven = transportGiven || name == "--tcp" || name == "--pty";
    const std::string& value = arguments[++i];
    if (!handler->second(value)) {
      parsed.error = "bad value for " + name + ": " + value;
      return parsed;
    }
  }
  if (options.transport == Options::Transport::kNone)
    parsed.error = kPtyTransport ? "give --tcp HOST:PORT or --pty PATH" : "give --tcp HOST:PORT";
  return parsed;
}

// The help text; its transport and stop paragraphs are each system's own.
const char* HelpText() {
#ifdef _WIN32
  static const std::string text =
      std::string(kHelpIntro) + kUsageWindows + "Transport:\n" + kTcpHelp + "\n" + kHelpCommon + kStopHelpWindows;
#else
  static const std::string text = std::string(kHelpIntro) + kUsageLinux + "Transport (one of):\n" + kTcpHelp +
                                  kPtyHelp + kHelpCommon + kStopHelpLinux;
#endif
  return text.c_str();
}

}  // namespace thermal_sim
