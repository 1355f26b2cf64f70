// The win dialog: the game measured and shown, the time and move records it
// beats, one win booked per showing, and records 7 to 22 written.
#include <QFileInfo>
#include <limits>

#include "platform/forms.h"
#include "platform/widgets.h"
#include "settings_records/form4.h"
#include "settings_records/game_end_fixture.h"

using namespace tarnvole;
using namespace testing_support;
using namespace game_end_testing;

namespace {

class WinDialog : public GameEndDialog {
 protected:
  void SetUp() override {
    GameEndDialog::SetUp();
    SetDefaultValues();
  }
  void TearDown() override {
    platform::Unload<Form4>();
    GameEndDialog::TearDown();
  }
  // Wins a game of the given length and moves without showing the window;
  // returns the two value labels.
  std::pair<QString, QString> Win(qint64 seconds, Long moves) {
    GameStart = SecondsFromNow(-seconds);
    MoveCount = moves;
    StoreChangedRecords(7, 22);
    Form4& form = platform::Load<Form4>();
    const auto labels = std::make_pair(form.Label3->text(), form.Label5->text());
    platform::Unload<Form4>();
    return labels;
  }
  void ShowAndConfirm() {
    ModalAnswerer answerer;
    answerer.onOtherWindow = [](QWidget* window) {
      auto* form = qobject_cast<Form4*>(window);
      ASSERT_NE(form, nullptr);
      form->Command1->click();
    };
    StoreChangedRecords(7, 22);
    platform::Show<Form4>(platform::Modal);
  }
};

TEST_F(WinDialog, TheFirstWinEverSetsAllFourRecordsDatedToday) {
  const auto labels = Win(300, 90);
  EXPECT_EQ(labels.first, " 5分0秒");
  EXPECT_EQ(labels.second, " 90手");
  EXPECT_EQ(ShortestTime, 300);
  EXPECT_EQ(ShortestTimeDate, today);
  EXPECT_EQ(LongestTime, 300);
  EXPECT_EQ(LongestTimeDate, today);
  EXPECT_EQ(FewestMoves, 90);
  EXPECT_EQ(FewestMovesDate, today);
  EXPECT_EQ(MostMoves, 90);
  EXPECT_EQ(MostMovesDate, today);
}

TEST_F(WinDialog, AnHourOr999MovesCannotBeatTheDefaultShortestAndFewest) {
  for (const auto& [seconds, moves] : {std::pair{3600, 999}, std::pair{4000, 1200}}) {
    SetDefaultValues();
    Win(seconds, moves);
    EXPECT_EQ(ShortestTime, 3600);
    EXPECT_TRUE(ShortestTimeDate.IsZero());
    EXPECT_EQ(FewestMoves, 999);
    EXPECT_TRUE(FewestMovesDate.IsZero());
    EXPECT_EQ(LongestTime, seconds);
    EXPECT_EQ(MostMoves, moves);
  }
}

TEST_F(WinDialog, AGameThatOnlyEqualsARecordKeepsItsOlderDate) {
  ShortestTime = LongestTime = 400;
  FewestMoves = MostMoves = 120;
  ShortestTimeDate = Day(2026, 1, 1);
  LongestTimeDate = Day(2026, 2, 2);
  FewestMovesDate = Day(2026, 3, 3);
  MostMovesDate = Day(2026, 4, 4);
  Win(400, 120);
  EXPECT_EQ(ShortestTime, 400);
  EXPECT_EQ(ShortestTimeDate, Day(2026, 1, 1));
  EXPECT_EQ(LongestTimeDate, Day(2026, 2, 2));
  EXPECT_EQ(FewestMovesDate, Day(2026, 3, 3));
  EXPECT_EQ(MostMovesDate, Day(2026, 4, 4));

  // One second and one move either way is a record again.
  Win(399, 121);
  EXPECT_EQ(ShortestTime, 399);
  EXPECT_EQ(ShortestTimeDate, today);
  EXPECT_EQ(MostMoves, 121);
  EXPECT_EQ(MostMovesDate, today);
  EXPECT_EQ(LongestTimeDate, Day(2026, 2, 2));
  EXPECT_EQ(FewestMovesDate, Day(2026, 3, 3));
}

TEST_F(WinDialog, TheTimeShowsWholeMinutesAndTheSecondsLeft) {
  EXPECT_EQ(Win(42, 50).first, " 0分42秒");
  EXPECT_EQ(Win(0, 50).first, " 0分0秒");
  EXPECT_EQ(Win(59, 50).first, " 0分59秒");
  EXPECT_EQ(Win(60, 50).first, " 1分0秒");
  EXPECT_EQ(Win(725, 50).first, " 12分5秒");
  EXPECT_EQ(Win(80 * 60 + 59, 50).first, " 80分59秒");
  EXPECT_EQ(Win(300, 0).second, " 0手");
}

TEST_F(WinDialog, AClockSetBackDuringTheGameMakesNoTimeRecordButTheWinCounts) {
  ShortestTime = 200;
  ShortestTimeDate = Day(2026, 5, 5);
  LongestTime = 900;
  LongestTimeDate = Day(2026, 6, 6);
  const auto labels = Win(-30, 70);
  EXPECT_EQ(labels.first, " -1分30秒");
  EXPECT_EQ(ShortestTime, 200);
  EXPECT_EQ(ShortestTimeDate, Day(2026, 5, 5));
  EXPECT_EQ(LongestTime, 900);
  EXPECT_EQ(LongestTimeDate, Day(2026, 6, 6));
  EXPECT_EQ(Wins, 1);
  EXPECT_EQ(WinStreak, 1);
  EXPECT_EQ(FewestMoves, 70);
  EXPECT_EQ(Record(15), " 200    ");
  EXPECT_EQ(Win(-90, 70).first, " -2分30秒");
  EXPECT_EQ(ShortestTime, 200);
}

TEST_F(WinDialog, AGameStartNeverSetIsNoTimeRecordEither) {
  GameStart = platform::VbDate();
  MoveCount = 80;
  EXPECT_NO_THROW(platform::Load<Form4>());
  platform::Unload<Form4>();
  EXPECT_EQ(LongestTime, 0);
  EXPECT_TRUE(LongestTimeDate.IsZero());
  EXPECT_EQ(ShortestTime, 3600);
  EXPECT_EQ(Wins, 1);
}

TEST_F(WinDialog, TheFirstWinAfterALossTurnsTheStreaks) {
  LossStreak = 2;
  LastGameLost = 1;
  LastGameWon = 0;
  WinStreak = 0;
  BestWinStreak = 0;
  Wins = 4;
  Win(300, 90);
  EXPECT_EQ(LossStreak, 0);
  EXPECT_EQ(WinStreak, 1);
  EXPECT_EQ(Wins, 5);
  EXPECT_EQ(LastGameWon, 1);
  EXPECT_EQ(LastGameLost, 0);
  EXPECT_EQ(BestWinStreak, 1);
  EXPECT_EQ(BestWinStreakDate, today);
}

TEST_F(WinDialog, TheBestWinStreakClimbsOneAtATimeAndOnlyPastItself) {
  // Reset in the records dialog while four wins in a row were running.
  WinStreak = 4;
  BestWinStreak = 0;
  Win(300, 90);
  EXPECT_EQ(WinStreak, 5);
  EXPECT_EQ(BestWinStreak, 1);
  EXPECT_EQ(BestWinStreakDate, today);

  WinStreak = 2;
  BestWinStreak = 3;
  BestWinStreakDate = Day(2025, 8, 8);
  Win(300, 90);
  EXPECT_EQ(BestWinStreak, 3);
  EXPECT_EQ(BestWinStreakDate, Day(2025, 8, 8));
}

TEST_F(WinDialog, WritesRecords7To22ByteForByteAndNoOther) {
  QByteArray before = DefaultCfgBytes();
  before = WithRecord(before, 2, " 1");
  before = WithRecord(before, 6, " 0");
  before = WithRecord(before, 8, " 3");
  before = WithRecord(before, 14, " 1");
  before = WithRecord(before, 23, " 1500");
  before = WithRecord(before, 26, " 9000");
  folder.Write("tarnvole.cfg", before);
  // Settings and geometry in memory that differ from the file stay unwritten.
  SkipCountChoice = 0;
  EyesOn = 1;
  WindowTop = 1;
  WindowWidth = 2;
  Wins = 6;
  Losses = 3;
  BestWinStreak = 2;
  BestWinStreakDate = Day(2026, 9, 1);
  WinStreak = 0;
  LastGameWon = 0;
  BestLossStreak = 5;
  BestLossStreakDate = Day(2026, 11, 20);
  LastGameLost = 1;
  LossStreak = 1;
  ShortestTime = 250;
  ShortestTimeDate = Day(2026, 10, 10);
  LongestTime = 1000;
  LongestTimeDate = Day(2026, 10, 11);
  FewestMoves = 85;
  FewestMovesDate = Day(2026, 10, 12);
  MostMoves = 140;
  MostMovesDate = Day(2026, 10, 13);

  Win(1200, 100);

  const QByteArray after = File();
  ASSERT_EQ(after.size(), 208);
  const char* expected[] = {" 7      ", " 3      ", " 2      ", "26/09/01", " 1      ", " 5      ",
                            "26/11/20", " 0      ", " 250    ", "26/10/10", " 1200   ", "26/12/07",
                            " 85     ", "26/10/12", " 140    ", "26/10/13"};
  for (int n = 7; n <= 22; ++n)
    EXPECT_EQ(RecordOf(after, n), QByteArray(expected[n - 7])) << "record " << n;
  for (int n : {1, 2, 3, 4, 5, 6, 23, 24, 25, 26})
    EXPECT_EQ(RecordOf(after, n), RecordOf(before, n)) << "record " << n;
}

TEST_F(WinDialog, EachShowingMeasuresAnewAndBooksExactlyOneWin) {
  GameStart = SecondsFromNow(-100);
  MoveCount = 60;
  ShowAndConfirm();
  EXPECT_EQ(Wins, 1);
  EXPECT_FALSE(platform::IsLoaded<Form4>());
  now = now.addSecs(500);  // the next game, started where the last ended
  MoveCount = 75;
  ShowAndConfirm();
  EXPECT_EQ(Wins, 2);
  EXPECT_EQ(WinStreak, 2);
  EXPECT_EQ(LongestTime, 600);
  EXPECT_EQ(MostMoves, 75);
  EXPECT_EQ(Record(7), " 2      ");
  EXPECT_EQ(Record(17), " 600    ");
  EXPECT_FALSE(platform::IsLoaded<Form4>());
}

TEST_F(WinDialog, AFileThatCannotBeWrittenIsReportedAndTheWinStaysCounted) {
  QFile::remove("tarnvole.cfg");
  QDir().mkdir("tarnvole.cfg");
  ModalAnswerer answerer;
  EXPECT_NO_THROW(Win(300, 90));
  ASSERT_EQ(answerer.prompts.size(), 1);
  EXPECT_TRUE(answerer.prompts[0].contains("tarnvole.cfg"));
  EXPECT_EQ(Wins, 1);
  EXPECT_EQ(ShortestTime, 300);
  EXPECT_TRUE(QFileInfo("tarnvole.cfg").isDir());
}

TEST_F(WinDialog, ShowsItsTextsInItsFontsWithNothingCutOff) {
  GameStart = SecondsFromNow(-(999 * 60 + 59));
  MoveCount = 9999;
  Form4& form = platform::Load<Form4>();
  EXPECT_EQ(form.windowTitle(), "やったぁ～！！");
  EXPECT_EQ(form.size(), QSize(platform::Px(4680), platform::Px(3195)));
  EXPECT_EQ(form.font(), platform::VbFont("ＭＳ Ｐゴシック", 9));

  EXPECT_EQ(form.Label2->text(), "完成！");
  EXPECT_EQ(form.Label2->geometry(), QRect(84, 7, 148, 50));
  EXPECT_EQ(form.Label2->font(), platform::VbFont("ＭＳ Ｐゴシック", 36, true));
  EXPECT_EQ(form.Label1->text(), "完成時間：");
  EXPECT_EQ(form.Label1->geometry(), QRect(35, 84, 64, 15));
  EXPECT_EQ(form.Label1->font(), platform::VbFont("ＭＳ ゴシック", 9));
  EXPECT_EQ(form.Label4->text(), "完成手数：");
  EXPECT_EQ(form.Label4->geometry(), QRect(35, 112, 71, 15));
  EXPECT_EQ(form.Label4->font(), platform::VbFont("ＭＳ ゴシック", 9));
  EXPECT_EQ(form.Label3->text(), " 999分59秒");
  EXPECT_EQ(form.Label3->geometry(), QRect(105, 84, 113, 15));
  EXPECT_EQ(form.Label3->frameShape(), QFrame::Box);
  EXPECT_EQ(form.Label3->font(), form.font());
  EXPECT_EQ(form.Label5->text(), " 9999手");
  EXPECT_EQ(form.Label5->geometry(), QRect(105, 112, 113, 15));
  EXPECT_EQ(form.Label5->frameShape(), QFrame::Box);
  EXPECT_EQ(form.Command1->text(), "確認");
  EXPECT_EQ(form.Command1->geometry(), QRect(42, 161, 218, 36));

  for (platform::DialogLabel* label : {form.Label1, form.Label2, form.Label3, form.Label4, form.Label5})
    EXPECT_EQ(InkBelow(*label), 0) << label->text().toStdString();
  EXPECT_EQ(InkOutside(form.Command1->font(), form.Command1->text(),
                       form.Command1->size() - QSize(8, 4), Qt::AlignCenter),
            0);
  EXPECT_EQ(form.Command1->nextInFocusChain(), form.Label1);
}

}  // namespace
