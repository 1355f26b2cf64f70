// The text and number conversions behind card codes, history entries and
// the settings file.
#include <gtest/gtest.h>

#include <limits>

#include "platform/clock.h"
#include "platform/vb.h"

using namespace platform;

namespace {

TEST(NumberText, BlankBeforeNonNegativeMinusBeforeNegative) {
  EXPECT_EQ(Str(0), " 0");
  EXPECT_EQ(Str(12), " 12");
  EXPECT_EQ(Str(3600), " 3600");
  EXPECT_EQ(Str(-15), "-15");
  EXPECT_EQ(PlainText(12), "12");
  EXPECT_EQ(PlainText(-15), "-15");
}

TEST(LenientNumber, ReadsWhatFitsAndStops) {
  EXPECT_EQ(Val(" 12abc"), 12);
  EXPECT_EQ(Val("abc"), 0);
  EXPECT_EQ(Val("        "), 0);
  EXPECT_EQ(Val(""), 0);
  EXPECT_EQ(Val("-15     "), -15);
  EXPECT_EQ(Val(" 12/ 20"), 12);   // a history entry's first number
  EXPECT_EQ(Val("2.5"), 2.5);
  EXPECT_EQ(Val(" 1 2"), 12);      // blanks inside a number are skipped
  EXPECT_EQ(Val("1e3x"), 1000);
  EXPECT_EQ(Val("12-3"), 12);
  EXPECT_EQ(Val("."), 0);
}

TEST(LenientNumber, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(ValLng("2.5"), 2);
  EXPECT_EQ(ValLng("3.5"), 4);
  EXPECT_EQ(ValLng("-2.5"), -2);
  EXPECT_EQ(ValLng("0.5"), 0);
  EXPECT_EQ(ValLng("1.5"), 2);
  EXPECT_EQ(ValLng("2.6"), 3);
}

TEST(LenientNumber, OutsideThirtyTwoBitsIsAnOverflow) {
  EXPECT_EQ(ValLng("2147483647"), std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(ValLng("-2147483648"), std::numeric_limits<std::int32_t>::min());
  for (const char* text : {"2147483648", "-2147483649", "9e99", "1e400"}) {
    try {
      ValLng(QString::fromLatin1(text));
      ADD_FAILURE() << text << " did not overflow";
    } catch (const VbError& e) {
      EXPECT_EQ(e.Number(), ErrOverflow) << text;
    }
  }
}

class DateRule : public ::testing::Test {
 protected:
  void SetUp() override {
    SetClockForTesting([] { return QDateTime(QDate(2026, 12, 7), QTime(10, 30, 15)); });
  }
  void TearDown() override { SetClockForTesting(nullptr); }
};

TEST_F(DateRule, DaysAreWrittenAsShortDatesAndTheZeroDateAsATime) {
  EXPECT_EQ(DateText(VbDate::FromDate(QDate(1999, 3, 30))), "99/03/30");
  EXPECT_EQ(DateText(VbDate::FromDate(QDate(2026, 12, 7))), "26/12/07");
  EXPECT_EQ(DateText(VbDate()), "0:00:00");
  EXPECT_EQ(DateText(Today()), "26/12/07");
  EXPECT_EQ(Today().SecondOfDay(), 0);
}

TEST_F(DateRule, ReadsBackTheFormsItWritesAndTheResetText) {
  EXPECT_EQ(CDate("99/03/30"), VbDate::FromDate(QDate(1999, 3, 30)));
  EXPECT_EQ(CDate("26/12/07"), VbDate::FromDate(QDate(2026, 12, 7)));
  EXPECT_TRUE(CDate("0:00:00 ").IsZero());
  EXPECT_TRUE(CDate(" 0      ").IsZero());
  for (const char* bad : {"        ", "", "abc", "26/13/01", "26/02/30", " 1", "26-12-07", "0:61:00"}) {
    try {
      CDate(QString::fromLatin1(bad));
      ADD_FAILURE() << "'" << bad << "' converted";
    } catch (const VbError& e) {
      EXPECT_EQ(e.Number(), ErrTypeMismatch) << bad;
    }
  }
}

TEST_F(DateRule, TwoDigitYearsComeBackAsTheYearWritten) {
  // Up to next year a two-digit year is this century's; after that the last.
  EXPECT_EQ(CDate("27/01/01").DatePart().year(), 2027);
  EXPECT_EQ(CDate("28/01/01").DatePart().year(), 1928);
  EXPECT_EQ(CDate("00/01/01").DatePart().year(), 2000);
  // A date written in 2031 still reads back as 2031 in 2031 and after.
  SetClockForTesting([] { return QDateTime(QDate(2031, 5, 1), QTime(12, 0)); });
  const VbDate written = VbDate::FromDate(QDate(2031, 4, 30));
  EXPECT_EQ(CDate(DateText(written)), written);
  EXPECT_EQ(CDate("99/12/31").DatePart().year(), 1999);
}

TEST_F(DateRule, DifferencesInMinuteBoundariesAndSeconds) {
  const VbDate a = VbDate::FromDateTime(QDateTime(QDate(2026, 12, 7), QTime(10, 0, 59)));
  const VbDate b = VbDate::FromDateTime(QDateTime(QDate(2026, 12, 7), QTime(10, 1, 0)));
  EXPECT_EQ(DateDiffMinutes(a, b), 1);  // one boundary passed in one second
  EXPECT_EQ(DateDiffSeconds(a, b), 1);
  EXPECT_EQ(DateDiffSeconds(b, a), -1);
  const VbDate c = VbDate::FromDateTime(QDateTime(QDate(2026, 12, 8), QTime(0, 10, 30)));
  EXPECT_EQ(DateDiffMinutes(a, c), 14 * 60 + 10);
  EXPECT_EQ(Now(), VbDate::FromDateTime(QDateTime(QDate(2026, 12, 7), QTime(10, 30, 15))));
  EXPECT_EQ(TimeText(), "10:30:15");
}

TEST(RandomGenerator, DrawsLieInTheUnitIntervalAndAreCounted) {
  SetRandomSeedForTesting(42);
  Randomize();
  ResetRandomDrawCount();
  float lowest = 1, highest = 0;
  for (int i = 0; i < 10000; ++i) {
    const float r = Rnd();
    ASSERT_GE(r, 0.0f);
    ASSERT_LT(r, 1.0f);
    lowest = std::min(lowest, r);
    highest = std::max(highest, r);
  }
  EXPECT_EQ(RandomDrawCount(), 10000);
  EXPECT_LT(lowest, 0.01f);
  EXPECT_GT(highest, 0.99f);
  // The same seed gives the same draws.
  Randomize();
  const float first = Rnd();
  Randomize();
  EXPECT_EQ(Rnd(), first);
  SetRandomSeedForTesting(-1);
}

}  // namespace
