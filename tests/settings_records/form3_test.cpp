// The stalemate dialog: one lost game booked per lost deal, records 8 to 14
// written and nothing else, and the way back to the lost board.
#include <QFileInfo>

#include "platform/forms.h"
#include "platform/widgets.h"
#include "settings_records/form3.h"
#include "settings_records/game_end_fixture.h"

using namespace tarnvole;
using namespace testing_support;
using namespace game_end_testing;

namespace {

class StalemateDialog : public GameEndDialog {
 protected:
  void TearDown() override {
    platform::Unload<Form3>();
    GameEndDialog::TearDown();
  }
  // Books one loss the way the move search does, without showing the window.
  void LoadAndUnload() {
    StoreChangedRecords(8, 14);
    platform::Load<Form3>();
    platform::Unload<Form3>();
  }
  // Shows the dialog modally and answers it with one of its buttons.
  void ShowAndPress(int button) {
    ModalAnswerer answerer;
    answerer.onOtherWindow = [button](QWidget* window) {
      auto* form = qobject_cast<Form3*>(window);
      ASSERT_NE(form, nullptr);
      (button == 1 ? form->Command1 : form->Command2)->click();
    };
    StoreChangedRecords(8, 14);
    platform::Show<Form3>(platform::Modal);
  }
};

TEST_F(StalemateDialog, TheFirstLossAfterAWinEndsTheWinStreakAndStartsALossStreak) {
  Losses = 5;
  WinStreak = 3;
  LastGameWon = 1;
  LastGameLost = 0;
  LossStreak = 0;
  BestLossStreak = 0;
  BestWinStreak = 3;
  LoadAndUnload();
  EXPECT_EQ(Losses, 6);
  EXPECT_EQ(WinStreak, 0);
  EXPECT_EQ(LastGameWon, 0);
  EXPECT_EQ(LossStreak, 1);
  EXPECT_EQ(LastGameLost, 1);
  EXPECT_EQ(BestLossStreak, 1);
  EXPECT_EQ(BestLossStreakDate, today);
  EXPECT_EQ(BestWinStreak, 3);
}

TEST_F(StalemateDialog, TheBestLossStreakGrowsOnlyWhenTheStreakPassesIt) {
  // A second loss in a row on a later day raises it and moves its date.
  LossStreak = 1;
  BestLossStreak = 1;
  BestLossStreakDate = Day(2026, 12, 1);
  LoadAndUnload();
  EXPECT_EQ(LossStreak, 2);
  EXPECT_EQ(BestLossStreak, 2);
  EXPECT_EQ(BestLossStreakDate, today);

  // A streak that only reaches the best leaves value and date alone.
  LossBooked = 0;  // the next deal
  LossStreak = 2;
  BestLossStreak = 3;
  BestLossStreakDate = Day(2025, 4, 1);
  LoadAndUnload();
  EXPECT_EQ(LossStreak, 3);
  EXPECT_EQ(BestLossStreak, 3);
  EXPECT_EQ(BestLossStreakDate, Day(2025, 4, 1));
}

TEST_F(StalemateDialog, ABestStreakResetDuringARunningStreakRestartsFromOne) {
  LossStreak = 3;
  BestLossStreak = 0;
  LoadAndUnload();
  EXPECT_EQ(LossStreak, 4);
  EXPECT_EQ(BestLossStreak, 1);
  EXPECT_EQ(BestLossStreakDate, today);
}

TEST_F(StalemateDialog, WritesRecords8To14ByteForByteAndNoOther) {
  QByteArray before = DefaultCfgBytes();
  before = WithRecord(before, 1, " 1");
  before = WithRecord(before, 7, " 12");
  before = WithRecord(before, 8, " 6");
  before = WithRecord(before, 15, " 250");
  before = WithRecord(before, 16, "26/11/02");
  before = WithRecord(before, 23, " 777");
  folder.Write("tarnvole.cfg", before);
  // Values in memory that differ from the file show which records are written.
  FullAuto = 0;
  Wins = 99;
  ShortestTime = 111;
  WindowTop = 5;
  Losses = 7;
  BestWinStreak = 4;
  BestWinStreakDate = Day(2026, 11, 30);
  LastGameWon = 1;
  BestLossStreak = 2;
  BestLossStreakDate = Day(2026, 10, 1);
  LastGameLost = 0;
  LossStreak = 0;

  LoadAndUnload();

  const QByteArray after = File();
  ASSERT_EQ(after.size(), 208);
  EXPECT_EQ(RecordOf(after, 8), " 8      ");
  EXPECT_EQ(RecordOf(after, 9), " 4      ");
  EXPECT_EQ(RecordOf(after, 10), "26/11/30");
  EXPECT_EQ(RecordOf(after, 11), " 0      ");
  EXPECT_EQ(RecordOf(after, 12), " 2      ");
  EXPECT_EQ(RecordOf(after, 13), "26/10/01");
  EXPECT_EQ(RecordOf(after, 14), " 1      ");
  for (int n = 1; n <= 26; ++n) {
    if (n >= 8 && n <= 14) continue;
    EXPECT_EQ(RecordOf(after, n), RecordOf(before, n)) << "record " << n;
  }
}

TEST_F(StalemateDialog, AnUnchangedBestWinStreakIsWrittenAgainAndANeverSetDateAsTheZeroTime) {
  BestWinStreak = 0;
  LoadAndUnload();
  EXPECT_EQ(Record(9), " 0      ");
  EXPECT_EQ(Record(10), "0:00:00 ");
  EXPECT_EQ(Record(13), "26/12/07");
}

TEST_F(StalemateDialog, OnlyTheLowerButtonKeepsTheLostBoard) {
  ShowAndPress(1);
  EXPECT_EQ(KeepLostBoard, 0);
  EXPECT_FALSE(platform::IsLoaded<Form3>());

  ShowAndPress(2);
  EXPECT_EQ(KeepLostBoard, 1);
  EXPECT_FALSE(platform::IsLoaded<Form3>());

  // Closing the window by its title bar is the upper button again.
  KeepLostBoard = 0;
  ModalAnswerer answerer;
  answerer.onOtherWindow = [](QWidget* window) { window->close(); };
  platform::Show<Form3>(platform::Modal);
  EXPECT_EQ(KeepLostBoard, 0);
  EXPECT_FALSE(platform::IsLoaded<Form3>());
}

TEST_F(StalemateDialog, EachShowingLoadsAnewAndBooksExactlyOneLoss) {
  Losses = 10;
  ShowAndPress(1);
  EXPECT_EQ(Losses, 11);
  EXPECT_EQ(Record(8), " 11     ");
  LossBooked = 0;  // the next deal is lost too
  ShowAndPress(2);
  EXPECT_EQ(Losses, 12);
  EXPECT_EQ(LossStreak, 2);
  EXPECT_EQ(BestLossStreak, 2);
  EXPECT_EQ(Record(8), " 12     ");
}

TEST_F(StalemateDialog, ShownAgainForTheSameDealItBooksAndWritesNothing) {
  Losses = 10;
  LossStreak = 2;
  BestLossStreak = 2;
  LoadAndUnload();
  ASSERT_EQ(Losses, 11);
  // A file that no longer matches memory shows any write of the next showing.
  folder.Write("tarnvole.cfg", DefaultCfgBytes());

  QStringList seen;
  ModalAnswerer answerer;
  answerer.onOtherWindow = [&seen](QWidget* window) {
    auto* form = qobject_cast<Form3*>(window);
    ASSERT_NE(form, nullptr);
    seen << form->windowTitle() << form->Command1->text() << form->Label1->text() << form->Command2->text();
    form->Command2->click();
  };
  platform::Show<Form3>(platform::Modal);

  EXPECT_EQ(seen, QStringList({"や～い！", " 手詰りです！ 残念でしたぁ！   ここ押して！", "又は",
                               "失敗をジ～っと見つめ直したい！"}));
  EXPECT_EQ(KeepLostBoard, 1);
  EXPECT_EQ(Losses, 11);
  EXPECT_EQ(LossStreak, 3);
  EXPECT_EQ(BestLossStreak, 3);
  EXPECT_EQ(File(), DefaultCfgBytes());
}

TEST_F(StalemateDialog, AFileThatCannotBeWrittenIsReportedAndTheLossStaysCounted) {
  QFile::remove("tarnvole.cfg");
  QDir().mkdir("tarnvole.cfg");
  ModalAnswerer answerer;
  Losses = 3;
  EXPECT_NO_THROW(LoadAndUnload());
  ASSERT_EQ(answerer.prompts.size(), 1);
  EXPECT_TRUE(answerer.prompts[0].contains("tarnvole.cfg"));
  EXPECT_EQ(Losses, 4);
  EXPECT_EQ(LastGameLost, 1);
  EXPECT_TRUE(QFileInfo("tarnvole.cfg").isDir());
}

TEST_F(StalemateDialog, ShowsItsTextsInItsFontsWithNothingCutOff) {
  Form3& form = platform::Load<Form3>();
  EXPECT_EQ(form.windowTitle(), "や～い！");
  EXPECT_EQ(form.size(), QSize(platform::Px(3930), platform::Px(2535)));

  EXPECT_EQ(form.Command1->text(), " 手詰りです！ 残念でしたぁ！   ここ押して！");
  EXPECT_EQ(form.Command1->geometry(), QRect(7, 0, 246, 106));
  EXPECT_EQ(form.Command1->palette().color(QPalette::Button), QColor(0x00, 0xFF, 0xFF));
  EXPECT_EQ(form.Command1->font(), platform::VbFont("ＭＳ 明朝", 21.75, true, true));
  EXPECT_EQ(form.Command2->text(), "失敗をジ～っと見つめ直したい！");
  EXPECT_EQ(form.Command2->geometry(), QRect(7, 133, 246, 29));
  EXPECT_EQ(form.Command2->font(), platform::VbFont("ＭＳ 明朝", 9.75, true, true));
  EXPECT_EQ(form.Label1->text(), "又は");
  EXPECT_EQ(form.Label1->geometry(), QRect(105, 112, 43, 15));
  EXPECT_EQ(form.Label1->font(), platform::VbFont("ＭＳ ゴシック", 12, true));
  EXPECT_EQ(form.font(), platform::VbFont("ＭＳ Ｐゴシック", 9));

  // The tall button shows its caption in three lines, one per phrase, each
  // across the button with room to spare.
  const QFontMetrics big(form.Command1->font());
  for (const QString phrase : {"手詰りです！", "残念でしたぁ！", "ここ押して！"})
    EXPECT_LT(big.horizontalAdvance(phrase) + big.height() / 5, form.Command1->width() - 8) << phrase.toStdString();
  EXPECT_LE(3 * big.lineSpacing(), form.Command1->height() - 4);
  const QImage upper = form.Command1->grab().toImage();
  EXPECT_EQ(TextLines(upper, upper.rect().adjusted(4, 4, -4, -4)), 3);
  const QImage lower = form.Command2->grab().toImage();
  EXPECT_EQ(TextLines(lower, lower.rect().adjusted(4, 4, -4, -4)), 1);
  EXPECT_EQ(InkOutside(form.Command2->font(), form.Command2->text(),
                       form.Command2->size() - QSize(8, 4), Qt::AlignCenter),
            0);
  EXPECT_EQ(InkBelow(*form.Label1), 0);

  // Tab order: the upper button first.
  EXPECT_EQ(form.Command1->nextInFocusChain(), form.Command2);
}

}  // namespace
