#include "tools/thermal-sim/simulator.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/sim/frame_helpers.h"
#include "tests/support/virtual_clock.h"

namespace thermal_sim {
namespace {

using sim_test::Frame;

class RecordingOutput : public SimulatorOutput {
 public:
  void Log(const std::string& line) override { lines.push_back(line); }
  void Print(const std::string& paper) override { printouts.push_back(paper); }
  std::string AllLines() const {
    std::string all;
    for (const std::string& line : lines) all += line + "\n";
    return all;
  }
  std::vector<std::string> lines;
  std::vector<std::string> printouts;
};

// What the printer sent back for some bytes, and whether it dropped the line.
struct Exchange {
  std::string bytes;
  bool dropped = false;
};

class SimulatorTest : public ::testing::Test {
 protected:
  void Start(const Faults& faults = {}, bool cancelOnClose = false) {
    SimulatorConfig config;
    config.faults = faults;
    config.cancelOnClose = cancelOnClose;
    simulator = std::make_unique<Simulator>(config, clock, output);
    simulator->BeginConnection("test");
  }
  Exchange Bytes(const std::string& bytes) {
    Exchange exchange;
    auto take = [&](const Answer& answer) {
      exchange.bytes += answer.bytes;
      exchange.dropped = exchange.dropped || answer.drop;
    };
    for (char c : bytes) take(simulator->Feed(static_cast<uint8_t>(c)));
    take(simulator->Idle());
    return exchange;
  }
  std::string Send(const std::string& command, bool enq = true) { return Bytes(Frame(command, enq)).bytes; }

  testing_support::VirtualClock clock;
  RecordingOutput output;
  std::unique_ptr<Simulator> simulator;
};

const std::string kAccept(1, static_cast<char>(kStatusAccept));
const std::string kRefuse(1, static_cast<char>(kStatusRefuse));

TEST_F(SimulatorTest, HealthyPrinterAnswersAndLogsEveryFrame) {
  Start();
  EXPECT_EQ(Send("0#e"), kAccept);
  EXPECT_EQ(Send("1$h"), kAccept);
  EXPECT_EQ(Send("1$lOp\xb3" "ata\r1\rE/1.00/1.00/"), kAccept);
  EXPECT_EQ(Send("1;0$eA07\r1.00/1.00/"), kAccept);
  EXPECT_EQ(Send("1$d", false), "");
  EXPECT_EQ(Send("23#s", false), ReplyFrame("1/0/0/0/0/0/0/1.00/1/1/"));
  EXPECT_EQ(Bytes("\x05").bytes, kAccept);  // the status asked for after the reply
  ASSERT_EQ(output.printouts.size(), 1u);

  std::string log = output.AllLines();
  EXPECT_NE(log.find(" FRAME n=3 conn=1 cmd=\"1$lOp\\xB3ata\\x0D1\\x0DE/1.00/1.00/\" checksum=ok enq=yes "
                     "answer=status:0x64 result=accepted"),
            std::string::npos)
      << log;
  EXPECT_NE(log.find(" FRAME n=5 conn=1 cmd=\"1$d\" checksum=ok enq=no answer=none"), std::string::npos) << log;
  EXPECT_NE(log.find(" RECEIPT n=1 printed"), std::string::npos) << log;
  EXPECT_NE(log.find(" ENQ conn=1 answer=status:0x64"), std::string::npos) << log;
  EXPECT_EQ(output.lines[0].substr(0, 24), "2021-09-13 10:11:28.450 ");
}

TEST_F(SimulatorTest, BadChecksumIsRefusedAndNotCarriedOut) {
  Start();
  EXPECT_EQ(Bytes("\x1bP1$h00\x1b\\\x05").bytes, kRefuse);
  EXPECT_FALSE(simulator->Printer().ReceiptOpen());
  EXPECT_NE(output.AllLines().find("checksum=bad"), std::string::npos);
  EXPECT_EQ(Bytes("\x05").bytes, kRefuse);  // the status still reports the refusal
  EXPECT_EQ(Send("1$h"), kAccept);
}

TEST_F(SimulatorTest, FaultOptions) {
  struct Case {
    const char* name;
    Faults faults;
    std::vector<std::string> expected;  // status answers to 0#e, 1$h, 1$l..., 0#t
  };
  Faults refuseCode;
  refuseCode.refuseCommands = {"$l"};
  Faults refuseWithParameters;
  refuseWithParameters.refuseCommands = {"1$h"};
  Faults refuseFrame;
  refuseFrame.refuseFrames = {1, 3};
  Faults silent;
  silent.silentFrom = 2;
  const Case cases[] = {
      {"none", {}, {kAccept, kAccept, kAccept, kRefuse}},  // cash state refused: the receipt is open
      {"refuse $l", refuseCode, {kAccept, kAccept, kRefuse, kRefuse}},
      {"refuse 1$h", refuseWithParameters, {kAccept, kRefuse, kRefuse, kAccept}},
      {"refuse frames 1 and 3", refuseFrame, {kRefuse, kAccept, kRefuse, kRefuse}},
      {"silent from 2", silent, {kAccept, "", "", ""}},
  };
  for (const Case& c : cases) {
    Start(c.faults);
    std::vector<std::string> answers = {Send("0#e"), Send("1$h"), Send("1$lA\r1\rA/1.00/1.00/"), Send("0#t")};
    EXPECT_EQ(answers, c.expected) << c.name;
  }
  // A silent printer answers no ENQ and no cash-information request either.
  Start(silent);
  Send("0#e");
  EXPECT_EQ(Send("23#s", false), "");
  EXPECT_EQ(Bytes("\x05").bytes, "");
}

TEST_F(SimulatorTest, DropAfterAnswersTheFrameThenDrops) {
  Faults faults;
  faults.dropAfter = 2;
  Start(faults);
  EXPECT_FALSE(Bytes(Frame("0#e")).dropped);
  Exchange second = Bytes(Frame("1$h"));
  EXPECT_EQ(second.bytes, kAccept);
  EXPECT_TRUE(second.dropped);
  EXPECT_NE(output.AllLines().find("DROP conn=1 after frame 2"), std::string::npos);
}

TEST_F(SimulatorTest, FrameCountingPerConnectionOrOverTheRun) {
  Faults faults;
  faults.refuseFrames = {1};
  faults.silentFrom = 3;
  Start(faults);
  EXPECT_EQ(Send("0#e"), kRefuse);
  EXPECT_EQ(Send("0#e"), kAccept);
  EXPECT_EQ(Send("0#e"), "");
  simulator->BeginConnection("second");
  EXPECT_EQ(Send("0#e"), kRefuse);  // counting starts again, and the printer is back on
  EXPECT_EQ(Send("0#e"), kAccept);

  faults.counting = FrameCounting::kWholeRun;
  Start(faults);
  EXPECT_EQ(Send("0#e"), kRefuse);
  simulator->BeginConnection("second");
  EXPECT_EQ(Send("0#e"), kAccept);
  EXPECT_EQ(Send("0#e"), "");
  simulator->BeginConnection("third");
  EXPECT_EQ(Send("0#e"), "");  // off for the rest of the run
}

TEST_F(SimulatorTest, AReceiptLeftOpenWhenTheLineGoesStaysOpenUnlessAskedOtherwise) {
  for (bool cancelOnClose : {false, true}) {
    Start({}, cancelOnClose);
    Send("1$h");
    Send("1$lA\r1\rA/1.00/1.00/");
    simulator->EndConnection("by client");
    EXPECT_NE(output.lines.back().find(cancelOnClose ? "CANCELLED positions=1 reason=line-closed"
                                                     : "closed frames=2 by client receipt=open"),
              std::string::npos)
        << output.lines.back();
    simulator->BeginConnection("next job");
    EXPECT_EQ(Send("1$h"), cancelOnClose ? kAccept : kRefuse);
  }
}

TEST_F(SimulatorTest, DelayIsCarriedWithEveryAnswer) {
  Faults faults;
  faults.delayMs = 700;
  Start(faults);
  Answer answer;
  for (char c : Frame("0#e")) answer = simulator->Feed(static_cast<uint8_t>(c));
  EXPECT_EQ(answer.bytes, kAccept);
  EXPECT_EQ(answer.delayMs, 700u);
}

}  // namespace
}  // namespace thermal_sim
