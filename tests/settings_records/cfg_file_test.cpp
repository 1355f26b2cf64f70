// The settings/records file: reading, writing, defaults and damage.
#include <gtest/gtest.h>

#include <QFile>
#include <random>

#include "platform/clock.h"
#include "platform/vb.h"
#include "settings_records/module1.h"
#include "support/test_support.h"

using namespace tarnvole;
using namespace testing_support;

namespace {

class CfgFile : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetModule1ForTesting();
    CfgFileName = QStringLiteral("tarnvole.cfg");
    platform::SetClockForTesting([] { return QDateTime(QDate(2026, 12, 7), QTime(9, 0)); });
  }
  void TearDown() override {
    platform::SetClockForTesting(nullptr);
    ResetModule1ForTesting();
  }
  ScratchFolder folder;
};

TEST_F(CfgFile, DefaultsAreWrittenByteForByteAfterTheMessage) {
  ModalAnswerer answerer;
  WriteDefaultRecords();
  EXPECT_EQ(answerer.prompts, QStringList{"データファイルが壊れています。初期値に戻します。"});
  EXPECT_EQ(answerer.titles, QStringList{"TarnVole"});
  EXPECT_EQ(folder.Read("tarnvole.cfg"), DefaultCfgBytes());
  EXPECT_EQ(DefaultCfgBytes().size(), 208);
}

TEST_F(CfgFile, TheDefaultsReadBackWithoutError) {
  folder.Write("tarnvole.cfg", DefaultCfgBytes());
  ReadAllRecords();
  EXPECT_EQ(FullAuto, 0);
  EXPECT_EQ(MaxUndoLevel, 2);
  EXPECT_EQ(DealStrength, 2);
  EXPECT_EQ(SecretaryOn, 1);
  EXPECT_EQ(EyesOn, 1);
  EXPECT_EQ(ShortestTime, 3600);
  EXPECT_EQ(FewestMoves, 999);
  EXPECT_TRUE(BestWinStreakDate.IsZero());
  EXPECT_TRUE(MostMovesDate.IsZero());
  EXPECT_EQ(WindowTop, 1000);
  EXPECT_EQ(WindowLeft, 1000);
  EXPECT_EQ(WindowHeight, 7980);
  EXPECT_EQ(WindowWidth, 9705);
}

TEST_F(CfgFile, NumbersAndDatesReadLeniently) {
  QByteArray f = DefaultCfgBytes();
  f = WithRecord(f, 7, " 12abc");
  f = WithRecord(f, 8, "xyz");
  f = WithRecord(f, 9, "        ");
  f = WithRecord(f, 12, "2.5");
  f = WithRecord(f, 15, "3.5");
  f = WithRecord(f, 23, "-15");
  f = WithRecord(f, 10, "26/12/01");
  f = WithRecord(f, 13, "0:00:00");
  folder.Write("tarnvole.cfg", f);
  ReadAllRecords();
  EXPECT_EQ(Wins, 12);
  EXPECT_EQ(Losses, 0);
  EXPECT_EQ(BestWinStreak, 0);
  EXPECT_EQ(BestLossStreak, 2);
  EXPECT_EQ(ShortestTime, 4);
  EXPECT_EQ(WindowTop, -15);
  EXPECT_EQ(BestWinStreakDate, platform::VbDate::FromDate(QDate(2026, 12, 1)));
  EXPECT_TRUE(BestLossStreakDate.IsZero());
}

TEST_F(CfgFile, ADamagedDateStopsTheReadThereWithATypeMismatch) {
  FullAuto = 7;
  Wins = 5;
  QByteArray f = WithRecord(DefaultCfgBytes(), 10, "junk");
  f = WithRecord(f, 1, " 1");
  f = WithRecord(f, 7, " 3");
  f = WithRecord(f, 11, " 1");  // after the damaged record: not reached
  folder.Write("tarnvole.cfg", f);
  try {
    ReadAllRecords();
    FAIL() << "no error";
  } catch (const platform::VbError& e) {
    EXPECT_EQ(e.Number(), platform::ErrTypeMismatch);
  }
  EXPECT_EQ(FullAuto, 1);     // records before the damage have their new values
  EXPECT_EQ(Wins, 3);
  EXPECT_EQ(LastGameWon, 0);  // records after it keep the old ones
}

TEST_F(CfgFile, AnAllBlankDateOrAShortFileIsDamaged) {
  for (const QByteArray& bytes :
       {WithRecord(DefaultCfgBytes(), 22, "        "), DefaultCfgBytes().left(100), QByteArray()}) {
    folder.Write("tarnvole.cfg", bytes);
    try {
      ReadAllRecords();
      ADD_FAILURE() << "no error for " << bytes.size() << " bytes";
    } catch (const platform::VbError& e) {
      EXPECT_EQ(e.Number(), platform::ErrTypeMismatch);
    }
  }
}

TEST_F(CfgFile, ANumberOutOfRangeIsAnOverflow) {
  folder.Write("tarnvole.cfg", WithRecord(DefaultCfgBytes(), 19, "9e99"));
  try {
    ReadAllRecords();
    FAIL() << "no error";
  } catch (const platform::VbError& e) {
    EXPECT_EQ(e.Number(), platform::ErrOverflow);
  }
}

TEST_F(CfgFile, ARecordWriteTouchesOnlyItsRecordsAndCutsLongTexts) {
  folder.Write("tarnvole.cfg", DefaultCfgBytes());
  CfgText[8] = NumberText(12);
  CfgText[9] = NumberText(-15);
  CfgText[10] = QStringLiteral(" 123456789");
  WriteStagedRecords(8, 10, 0);
  const QByteArray after = folder.Read("tarnvole.cfg");
  EXPECT_EQ(RecordOf(after, 8), " 12     ");
  EXPECT_EQ(RecordOf(after, 9), "-15     ");
  EXPECT_EQ(RecordOf(after, 10), " 1234567");
  EXPECT_EQ(after.left(56), DefaultCfgBytes().left(56));
  EXPECT_EQ(after.mid(80), DefaultCfgBytes().mid(80));
  // The options dialog stages record n in element n - 1.
  CfgText[0] = NumberText(1);
  WriteStagedRecords(1, 1, -1);
  EXPECT_EQ(RecordOf(folder.Read("tarnvole.cfg"), 1), " 1      ");
}

TEST_F(CfgFile, AFileThatCannotBeOpenedRaisesAFileErrorNamingIt) {
  QDir().mkdir("tarnvole.cfg");  // a folder in the file's place
  try {
    ReadAllRecords();
    FAIL() << "no error";
  } catch (const platform::VbError& e) {
    EXPECT_EQ(e.Number(), platform::ErrFileAccess);
    EXPECT_NE(QString::fromStdString(e.what()).indexOf("tarnvole.cfg"), -1);
  }
  ModalAnswerer answerer;
  EXPECT_FALSE(GuardFileAccess([] { WriteStagedRecords(1, 6, -1); }, true));
  ASSERT_EQ(answerer.prompts.size(), 1);
  EXPECT_TRUE(answerer.prompts[0].contains("tarnvole.cfg"));
  EXPECT_TRUE(QFileInfo("tarnvole.cfg").isDir());
}

// Any bytes at all give either values or a clean error: never a crash or a hang.
TEST_F(CfgFile, FuzzedFilesReadOrFailCleanly) {
  std::mt19937 random(12345);
  const QByteArray alphabet = QByteArray(" 0123456789-+.:/eEdD\t\nabc\xff\x80", 27);
  for (int round = 0; round < 400; ++round) {
    QByteArray bytes;
    const int length = static_cast<int>(random() % 260);
    for (int i = 0; i < length; ++i)
      bytes += round % 2 ? static_cast<char>(random() % 256) : alphabet[static_cast<int>(random() % alphabet.size())];
    if (round % 5 == 0) bytes = DefaultCfgBytes().left(length) + bytes.left(208 - std::min(208, length));
    folder.Write("tarnvole.cfg", bytes);
    try {
      ReadAllRecords();
    } catch (const platform::VbError& e) {
      EXPECT_TRUE(e.Number() == platform::ErrTypeMismatch || e.Number() == platform::ErrOverflow)
          << e.Number();
    }
  }
  // A very long number record must not take long either.
  folder.Write("tarnvole.cfg", QByteArray(1 << 20, '9'));
  EXPECT_THROW(ReadAllRecords(), platform::VbError);
}

}  // namespace
