#include "tools/thermal-sim/options.h"

#include <gtest/gtest.h>

namespace thermal_sim {
namespace {

TEST(Options, EveryOptionIsRead) {
  ParsedOptions parsed = ParseOptions({"--tcp", "127.0.0.1:0", "--log", "/tmp/l", "--receipts", "/tmp/r", "--wire", "/tmp/w",
                                       "--refuse", "$l", "--refuse", "0#e", "--refuse-frame", "4",
                                       "--refuse-frame", "6", "--silent-from", "7", "--drop-after", "8",
                                       "--delay", "250", "--first-receipt", "417", "--charset", "CP852",
                                       "--count-frames", "run", "--idle", "30", "--faults-file", "/tmp/f", "--cancel-on-close"});
  ASSERT_EQ(parsed.error, "");
  const Options& o = parsed.options;
  EXPECT_EQ(o.transport, Options::Transport::kTcp);
  EXPECT_EQ(o.tcpHost, "127.0.0.1");
  EXPECT_EQ(o.tcpPort, "0");
  EXPECT_EQ(o.logPath, "/tmp/l");
  EXPECT_EQ(o.receiptsPath, "/tmp/r");
  EXPECT_EQ(o.wirePath, "/tmp/w");
  const Faults& f = o.simulator.faults;
  EXPECT_EQ(f.refuseCommands, (std::set<std::string>{"$l", "0#e"}));
  EXPECT_EQ(f.refuseFrames, (std::set<uint64_t>{4, 6}));
  EXPECT_EQ(f.silentFrom, 7u);
  EXPECT_EQ(f.dropAfter, 8u);
  EXPECT_EQ(f.delayMs, 250u);
  EXPECT_EQ(f.counting, FrameCounting::kWholeRun);
  EXPECT_EQ(o.simulator.firstReceipt, 417u);
  EXPECT_EQ(o.simulator.charset, Charset::kCp852);
  EXPECT_EQ(o.idleMs, 30u);
  EXPECT_EQ(o.faultsFile, "/tmp/f");
  EXPECT_TRUE(o.simulator.cancelOnClose);

  EXPECT_EQ(ParseOptions({"--tcp", "[::1]:6001"}).options.tcpHost, "::1");
  EXPECT_TRUE(ParseOptions({"--help"}).options.help);
}

// Pseudo-terminals are Linux's: Windows refuses --pty and does not offer it.
TEST(Options, PseudoTerminalOnLinuxOnly) {
  ParsedOptions pty = ParseOptions({"--pty", "/tmp/printer"});
  const std::string help = HelpText();
#ifdef _WIN32
  EXPECT_NE(pty.error.find("--pty is not available on Windows"), std::string::npos) << pty.error;
  EXPECT_EQ(help.find("--pty"), std::string::npos) << help;
  EXPECT_NE(help.find("Ctrl+C"), std::string::npos) << help;
  EXPECT_EQ(ParseOptions({}).error, "give --tcp HOST:PORT");
#else
  ASSERT_EQ(pty.error, "");
  EXPECT_EQ(pty.options.transport, Options::Transport::kPty);
  EXPECT_EQ(pty.options.ptyPath, "/tmp/printer");
  EXPECT_EQ(pty.options.simulator.charset, Charset::kMazovia);
  EXPECT_EQ(pty.options.simulator.faults.counting, FrameCounting::kPerConnection);
  EXPECT_NE(help.find("--pty PATH"), std::string::npos) << help;
#endif
  EXPECT_NE(help.find("--tcp HOST:PORT"), std::string::npos) << help;
}

TEST(Options, MistakesAreReported) {
  const std::vector<std::vector<std::string>> wrong = {
      {},                                            // no transport
      {"--tcp", "127.0.0.1"},                        // no port
      {"--tcp", "127.0.0.1:65536"},
      {"--tcp", "127.0.0.1:0", "--pty", "/tmp/p"},   // two transports
      {"--tcp", "127.0.0.1:0", "--refuse-frame", "0"},
      {"--tcp", "127.0.0.1:0", "--drop-after", "x"},
      {"--tcp", "127.0.0.1:0", "--charset", "utf8"},
      {"--tcp", "127.0.0.1:0", "--count-frames", "job"},
      {"--tcp", "127.0.0.1:0", "--delay"},           // value missing
      {"--tcp", "127.0.0.1:0", "--bogus", "1"},
  };
  for (const auto& arguments : wrong) {
    std::string joined;
    for (const std::string& a : arguments) joined += a + " ";
    EXPECT_NE(ParseOptions(arguments).error, "") << joined;
  }
}

TEST(Options, FaultsFileText) {
  Faults faults;
  faults.counting = FrameCounting::kWholeRun;
  faults.dropAfter = 9;
  ASSERT_EQ(ParseFaultsText("--refuse-frame 3\r\n--refuse $l\t--delay 100\n", faults), "");
  EXPECT_EQ(faults.refuseFrames, (std::set<uint64_t>{3}));
  EXPECT_EQ(faults.refuseCommands, (std::set<std::string>{"$l"}));
  EXPECT_EQ(faults.delayMs, 100u);
  EXPECT_EQ(faults.dropAfter, 0u);  // the file replaces the faults, it does not add to them
  EXPECT_EQ(faults.counting, FrameCounting::kWholeRun);
  ASSERT_EQ(ParseFaultsText("", faults), "");
  EXPECT_TRUE(faults.refuseFrames.empty());

  faults.silentFrom = 4;
  for (const char* bad : {"--silent-from", "--silent-from x", "--tcp 1.2.3.4:5", "--count-frames run"}) {
    EXPECT_NE(ParseFaultsText(bad, faults), "") << bad;
    EXPECT_EQ(faults.silentFrom, 4u) << bad;  // left alone
  }
}

}  // namespace
}  // namespace thermal_sim
