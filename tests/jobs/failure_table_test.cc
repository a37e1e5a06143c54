// Every way a fiscal job fails: the message it shows, and whether the open
// receipt is cancelled with "0$e" before the link closes.
#include <gtest/gtest.h>

#include <functional>
#include <iterator>

#include "common/job_directory_files.h"
#include "printer/jobs/job_messages.h"
#include "tests/jobs/receipt_fixture.h"

namespace {

namespace messages = kvitra::messages;
using jobs_test::Receipt;
using Fixture = jobs_test::ReceiptTest;

struct FailureCase {
  const char* name;
  std::function<void(Fixture&)> setup;
  std::string message;
  bool cancelFirst;
  bool nothingSent = false;  // refused before any command
};

std::string Data(const std::string& suffix) { return messages::kErrDataFile + suffix; }
std::string Comm(const std::string& suffix) { return messages::kErrPrinterComm + suffix; }

std::vector<std::string> ReceiptLines() { return Receipt{}.Lines(); }
std::vector<std::string> FirstLines(size_t count) {
  std::vector<std::string> lines = ReceiptLines();
  lines.resize(count);
  return lines;
}
// The job file as the first reading sees it, then changed for the second.
void ChangeBetweenReadings(Fixture& t, const std::vector<std::string>& second) {
  t.files.PutVersions(job_directory::kJobFileName, {jobs_test::JobLines(ReceiptLines()), jobs_test::JobLines(second)});
}
std::function<void(Fixture&)> WithReceipt(std::function<void(Receipt&)> change) {
  return [change](Fixture& t) {
    Receipt receipt;
    change(receipt);
    t.WriteReceipt(receipt);
  };
}
std::function<void(Fixture&)> WithReply(const std::string& reply) {
  return [reply](Fixture& t) {
    t.WriteReceipt(Receipt{});
    t.link.AddReply(reply);
  };
}
std::function<void(Fixture&)> Refusing(const std::string& prefix) {
  return [prefix](Fixture& t) {
    t.WriteReceipt(Receipt{});
    t.link.Refuse(prefix);
  };
}
std::function<void(Fixture&)> PayoutWith(std::vector<std::string> lines,
                                         std::function<void(Fixture&)> more = nullptr) {
  return [lines, more](Fixture& t) {
    t.WriteJob(lines);
    if (more) more(t);
  };
}
const std::vector<std::string> kPayout = {"XY1", "2024-03-15", "12345/2024", "A01", "1",
                                          "10", "Fee", "100.00", "11", "Fee 2", "50.00", "150.00"};
std::vector<std::string> PayoutLines(size_t count) {
  return std::vector<std::string>(kPayout.begin(), kPayout.begin() + count);
}

const FailureCase kCases[] = {
    // The job file itself
    {"JobFileMissing", [](Fixture&) {}, Data(messages::kOpenJobFile), false, true},
    {"HeaderIsAResultLine", [](Fixture& t) { t.files.Put(job_directory::kJobFileName, "##417"); },
     Data(messages::kReadJobFile), false, true},
    {"HeaderTooShortToNameAJob", [](Fixture& t) { t.WriteJob({"XY"}); }, Data(messages::kReadJobFile), false, true},

    // Receipt, first reading: refused before anything is printed
    {"FirstReadingLine4Missing", [](Fixture& t) { t.WriteJob(FirstLines(4)); }, Data(messages::kGeneral1), false, true},
    {"FirstReadingPriceMissing", [](Fixture& t) { t.WriteJob(FirstLines(10)); }, Data(messages::kGeneral2), false, true},
    {"FirstReadingTotalMissing", [](Fixture& t) { t.WriteJob(FirstLines(11)); }, Data(messages::kGeneral2), false, true},
    {"FirstReadingTaxMissing", [](Fixture& t) { t.WriteJob(FirstLines(12)); }, Data(messages::kGeneral3), false, true},
    {"CountHoldsNoNumber", WithReceipt([](Receipt& r) { r.count = "two"; }), Data(messages::kGeneral1), false, true},
    {"CountNegative", WithReceipt([](Receipt& r) { r.count = "-1"; }), Data(messages::kGeneral1), false, true},
    {"PriceUnreadable", WithReceipt([](Receipt& r) { r.positions[1].price = "zl 98"; }),
     Data(messages::kGeneral2), false, true},
    {"PriceInfinite", WithReceipt([](Receipt& r) { r.positions[0].price = "inf"; }),
     Data(messages::kGeneral2), false, true},
    {"TotalUnreadable", WithReceipt([](Receipt& r) { r.total = "-"; }), Data(messages::kGeneral2), false, true},
    {"TaxUnreadable", WithReceipt([](Receipt& r) { r.tax = ""; }), Data(messages::kGeneral3), false, true},
    {"NameLongerThanItsBuffer", WithReceipt([](Receipt& r) { r.positions[0].name = std::string(1017, 'n'); }),
     Data(messages::kGeneral2), false, true},
    {"LineLongerThanItsBuffer", WithReceipt([](Receipt& r) { r.cashier = std::string(1024, 'c'); }),
     Data(messages::kGeneral1), false, true},
    {"PositionCommandWouldNotFit",
     WithReceipt([](Receipt& r) { r.positions[0].price = "1." + std::string(600, '0'); }),
     Data(messages::kGeneral2), false, true},
    {"HeaderWithoutSlash", WithReceipt([](Receipt& r) { r.header = "XY0 KASA"; }),
     Data(messages::kReadJobFile), false, true},
    {"InspectionCodeCannotBeFormed", WithReceipt([](Receipt& r) { r.inspection = "1234/2024"; }),
     Data(messages::kInspection), false, true},
    {"ClosingCommandWouldNotFit", WithReceipt([](Receipt& r) { r.total = "99." + std::string(600, '0'); }),
     Data(messages::kTotal), false, true},

    // Receipt, second reading before the receipt is opened
    {"JobFileCannotBeReopened",
     [](Fixture& t) {
       t.WriteReceipt(Receipt{});
       t.files.AllowOpens(job_directory::kJobFileName, 1);
     },
     Data(messages::kOpenJobFile), false, true},
    {"SecondReadingHeaderMissing", [](Fixture& t) { ChangeBetweenReadings(t, {}); }, Data(messages::kReadJobFile), false, true},
    {"SecondReadingDateMissing", [](Fixture& t) { ChangeBetweenReadings(t, FirstLines(1)); }, Data(messages::kDate), false, true},
    {"SecondReadingInspectionMissing", [](Fixture& t) { ChangeBetweenReadings(t, FirstLines(2)); },
     Data(messages::kInspection), false, true},
    {"SecondReadingCashierMissing", [](Fixture& t) { ChangeBetweenReadings(t, FirstLines(3)); }, Data(messages::kCashier), false, true},
    {"SecondReadingCountMissing", [](Fixture& t) { ChangeBetweenReadings(t, FirstLines(4)); }, Data(messages::kCount), false, true},
    {"CountChangedBetweenReadings",
     [](Fixture& t) {
       std::vector<std::string> lines = ReceiptLines();
       lines[4] = "0";
       ChangeBetweenReadings(t, lines);
     },
     Data(messages::kCount), false, true},
    {"StepTimeLimitsCannotBeSet",
     [](Fixture& t) {
       t.WriteReceipt(Receipt{});
       t.link.stepTimesSucceed = false;
     },
     messages::kErrPortTimeouts, false, true},
    {"OpeningRefusedOnALinkThatDoesNotCancelIt", Refusing("2$h"), Comm(messages::kReceiptStart), false},
    {"OpeningRefusedOnALinkThatCancelsIt",
     [](Fixture& t) {
       t.link.cancelsRefusedOpening = true;
       Refusing("2$h")(t);
     },
     Comm(messages::kReceiptStart), true},

    // Receipt open
    {"PositionCodeMissing", [](Fixture& t) { ChangeBetweenReadings(t, FirstLines(8)); }, Data(messages::kPriceListCode), true},
    {"PositionNameMissing", [](Fixture& t) { ChangeBetweenReadings(t, FirstLines(9)); }, Data(messages::kPositionName), true},
    {"PositionPriceMissing", [](Fixture& t) { ChangeBetweenReadings(t, FirstLines(10)); }, Data(messages::kGrossPrice), true},
    {"PositionRefused", Refusing("2$l"), Comm(messages::kReceiptLine), true},
    {"NipFileCannotBeOpened",
     [](Fixture& t) {
       t.WriteReceipt(Receipt{});
       t.files.Put("PARAGNIP.DAT", "PL 1\r\n");
       t.files.MakeUnopenable("PARAGNIP.DAT");
     },
     Data(messages::kOpenNipFile), true},
    {"NipFileEmpty",
     [](Fixture& t) {
       t.WriteReceipt(Receipt{});
       t.files.Put("PARAGNIP.DAT", "");
     },
     Data(messages::kReadNipFile), true},
    {"NipRefused",
     [](Fixture& t) {
       Refusing("$N")(t);
       t.files.Put("PARAGNIP.DAT", "PL 1\r\n");
     },
     Comm(messages::kNipPrint), true},
    {"SecondReadingTotalMissing", [](Fixture& t) { ChangeBetweenReadings(t, FirstLines(11)); }, Data(messages::kTotal), true},

    // Ending
    {"PaymentFileCannotBeOpened",
     [](Fixture& t) {
       t.WriteReceipt(Receipt{});
       t.settings.port.extendedEnding = true;
       t.files.Put("PLATNOSC.DAT", "Karta\r\n");
       t.files.MakeUnopenable("PLATNOSC.DAT");
     },
     Data(messages::kOpenPaymentFile), true},
    {"PaymentFileEmpty",
     [](Fixture& t) {
       t.WriteReceipt(Receipt{});
       t.settings.port.extendedEnding = true;
       t.files.Put("PLATNOSC.DAT", "Karta");
     },
     Data(messages::kReadPaymentFile), true},
    {"PaymentLineMakesClosingTooLong",
     [](Fixture& t) {
       t.WriteReceipt(Receipt{});
       t.settings.port.extendedEnding = true;
       t.files.Put("PLATNOSC.DAT", "K" + std::string(1000, 'k') + "\r\n");
     },
     Data(messages::kReadPaymentFile), true},
    {"ClosingRefused", Refusing("1;0$e"), Comm(messages::kReceiptClose), true},
    {"DrawerRefused",
     [](Fixture& t) {
       Refusing("1$d")(t);
       t.settings.port.openDrawer = true;
     },
     Comm(messages::kDrawer), false},
    {"CashInfoRequestRefused", Refusing("23#s"), Comm(messages::kCashInfoRequest), false},
    {"NoCashInfoReply", [](Fixture& t) { t.WriteReceipt(Receipt{}); }, Comm(messages::kCashInfoReply), false},
    {"ReplyWithoutNinthField", WithReply("1/2/3/4/5/6/7/8"), Comm(messages::kCashInfoReply), false},
    {"NinthFieldZero", WithReply("1/2/3/4/5/6/7/8/0/"), Comm(messages::kCashInfoReply), false},
    {"NinthFieldEmpty", WithReply("1/2/3/4/5/6/7/8//9/"), Comm(messages::kCashInfoReply), false},
    {"NinthFieldNotDigits", WithReply("1/2/3/4/5/6/7/8/41x/"), Comm(messages::kCashInfoReply), false},
    {"NinthFieldBeyond32Bits", WithReply("1/2/3/4/5/6/7/8/2147483648/"), Comm(messages::kCashInfoReply), false},

    // Cash payout
    {"PayoutDateMissing", PayoutWith(PayoutLines(1)), Data(messages::kDate), false, true},
    {"PayoutInspectionMissing", PayoutWith(PayoutLines(2)), Data(messages::kInspection), false, true},
    {"PayoutCashierMissing", PayoutWith(PayoutLines(3)), Data(messages::kCashier), false, true},
    {"PayoutCountMissing", PayoutWith(PayoutLines(4)), Data(messages::kCount), false, true},
    {"PayoutCountHoldsNoNumber",
     PayoutWith({"XY1", "d", "i", "c", "x", "10", "Fee", "1.00", "1.00"}), Data(messages::kCount), false, true},
    {"PayoutTimeLimitsCannotBeSet", PayoutWith(kPayout, [](Fixture& t) { t.link.stepTimesSucceed = false; }),
     messages::kErrPortTimeouts, false, true},
    {"PayoutCodeMissing", PayoutWith(PayoutLines(8)), Data(messages::kPayoutCode), false, true},
    {"PayoutNameMissing", PayoutWith(PayoutLines(9)), Data(messages::kPositionName), false, true},
    {"PayoutPriceMissing", PayoutWith(PayoutLines(10)), Data(messages::kGrossPrice), false, true},
    {"PayoutTotalMissing", PayoutWith(PayoutLines(11)), Data(messages::kTotal), false, true},
    {"PayoutRefused", PayoutWith(kPayout, [](Fixture& t) { t.link.Refuse("0#d"); }), Comm(messages::kPayout), false},
    {"PayoutDrawerRefused",
     PayoutWith(kPayout,
                [](Fixture& t) {
                  t.settings.port.openDrawer = true;
                  t.link.Refuse("1$d");
                }),
     Comm(messages::kDrawer), false},

    // Daily report and cash state
    {"DailyReportRefused", PayoutWith({"XY2"}, [](Fixture& t) { t.link.Refuse("1;"); }),
     Comm(messages::kDailyReport), false},
    {"CashStateTimeLimitsCannotBeSet", PayoutWith({"XY3"}, [](Fixture& t) { t.link.stepTimesSucceed = false; }),
     messages::kErrPortTimeouts, false, true},
    {"CashStateRefused", PayoutWith({"XY3"}, [](Fixture& t) { t.link.Refuse("0#t"); }),
     Comm(messages::kCashState), false},
};

// One job run per case, on a fixture of its own.
class CaseRun : public Fixture {
 public:
  void TestBody() override {}
};

class FailureTableTest : public ::testing::TestWithParam<FailureCase> {};

TEST_P(FailureTableTest, ShowsItsMessageAndCancelsOnlyAnOpenReceipt) {
  CaseRun t;
  const FailureCase& c = GetParam();
  c.setup(t);

  EXPECT_EQ(t.Run(), 0);
  EXPECT_EQ(t.ui.errors, std::vector<std::string>{c.message});
  if (c.cancelFirst) {
    auto close = std::find(t.link.events.begin(), t.link.events.end(), "close");
    ASSERT_NE(close, t.link.events.begin());
    EXPECT_EQ(*std::prev(close), "send 0$e");
    EXPECT_EQ(t.link.CountOf("0$e"), 1);
  } else {
    EXPECT_EQ(t.link.CountOf("0$e"), 0);
  }
  if (c.nothingSent) {
    EXPECT_TRUE(t.link.sent.empty());
  }
  t.ExpectCleanEnd();
}

INSTANTIATE_TEST_SUITE_P(EveryFailure, FailureTableTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<FailureCase>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
