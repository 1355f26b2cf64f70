// The records dialog: what each row shows, the seven resets byte for byte,
// and a file that cannot be read, written or converted.
#include <gtest/gtest.h>

#include <QTest>

#include <QDir>
#include <QFile>
#include <map>
#include <tuple>
#include <vector>

#include "platform/clock.h"
#include "platform/dialog_controls.h"
#include "platform/forms.h"
#include "settings_records/form6.h"
#include "settings_records/module1.h"
#include "support/test_support.h"

using namespace tarnvole;
using namespace testing_support;

namespace {

const QColor Magenta = platform::VbColor(0xFF00FF);
const QColor Black = platform::VbColor(0x000000);

platform::VbDate Day(int year, int month, int day) {
  return platform::VbDate::FromDate(QDate(year, month, day));
}

// The sixteen record variables, copied.
auto RecordValues() {
  return std::make_tuple(Wins, Losses, BestWinStreak, BestWinStreakDate, LastGameWon,
                         BestLossStreak, BestLossStreakDate, LastGameLost, ShortestTime,
                         ShortestTimeDate, LongestTime, LongestTimeDate, FewestMoves,
                         FewestMovesDate, MostMoves, MostMovesDate);
}

QColor ForeColor(const QWidget& widget) { return widget.palette().color(QPalette::WindowText); }

// A file from a player with a history: every record away from its default.
QByteArray PlayedCfgBytes() {
  const std::map<int, QByteArray> records = {
      {1, " 1"},        {2, " 1"},        {3, " 5"},        {4, " 1"},        {5, " 0"},
      {6, " 0"},        {7, " 40"},       {8, " 21"},       {9, " 6"},        {10, "26/03/14"},
      {11, " 1"},       {12, " 4"},       {13, "25/11/02"}, {14, " 0"},       {15, " 95"},
      {16, "26/01/20"}, {17, " 3725"},    {18, "25/12/31"}, {19, " 61"},      {20, "26/02/28"},
      {21, " 240"},     {22, "26/04/01"}, {23, " 1200"},    {24, " 900"},     {25, " 8000"},
      {26, " 9800"}};
  QByteArray file = DefaultCfgBytes();
  for (const auto& [n, text] : records) file = WithRecord(file, n, text);
  return file;
}

// Every value label and the two streak title colours, as the dialog shows them.
struct Shown {
  std::map<QString, QString> captions;
  QColor winTitle, lossTitle;
  bool operator==(const Shown&) const = default;
};

Shown ShownBy(const Form6& form) {
  return {{{"Label6", form.Label6->Caption()},
           {"Label7", form.Label7->Caption()},
           {"Label8", form.Label8->Caption()},
           {"Label9", form.Label9->Caption()},
           {"Label10", form.Label10->Caption()},
           {"Label5", form.Label5->Caption()},
           {"Label11", form.Label11->Caption()},
           {"Label12", form.Label12->Caption()}},
          ForeColor(form.Label4(0)),
          ForeColor(form.Label4(1))};
}

const Shown PlayedShown = {{{"Label6", "   40 勝 21 敗"},
                            {"Label7", "  65 %"},
                            {"Label8", "   6 連勝 ( 26/03/14 )"},
                            {"Label9", "   4 連敗 ( 25/11/02 )"},
                            {"Label10", "   1 分 35 秒 ( 26/01/20 )"},
                            {"Label5", "   62 分 5 秒 ( 25/12/31 )"},
                            {"Label11", "   61 手 ( 26/02/28 )"},
                            {"Label12", "   240 手 ( 26/04/01 )"}},
                           Magenta,
                           Black};

class RecordsDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetModule1ForTesting();
    CfgFileName = QStringLiteral("tarnvole.cfg");
    platform::SetClockForTesting([] { return QDateTime(QDate(2026, 12, 7), QTime(9, 0)); });
  }
  void TearDown() override {
    platform::Unload<Form6>();
    platform::SetClockForTesting(nullptr);
    ResetModule1ForTesting();
  }

  Form6& Open(const QByteArray& file) {
    folder.Write("tarnvole.cfg", file);
    return platform::Load<Form6>();
  }
  Form6& OpenWith(int record, const QByteArray& text) {
    return Open(WithRecord(DefaultCfgBytes(), record, text));
  }
  Form6& OpenWith(const std::map<int, QByteArray>& records) {
    QByteArray file = DefaultCfgBytes();
    for (const auto& [n, text] : records) file = WithRecord(file, n, text);
    return Open(file);
  }
  QByteArray File() const { return folder.Read("tarnvole.cfg"); }
  // Puts a folder where the file was, so that it can be neither read nor written.
  void MakeFileAFolder() const {
    QFile::remove(folder.Path("tarnvole.cfg"));
    ASSERT_TRUE(QDir(folder.Path()).mkdir("tarnvole.cfg"));
  }

  ScratchFolder folder;
};

TEST_F(RecordsDialog, TheDefaultsShowNoGamesAndTheUnbeatenRecords) {
  const Form6& form = Open(DefaultCfgBytes());
  EXPECT_EQ(form.windowTitle(), "成績表");
  const Shown expected = {{{"Label6", "   0 勝 0 敗"},
                           {"Label7", "  ---"},
                           {"Label8", "   ----------"},
                           {"Label9", "   ----------"},
                           {"Label10", "   60 分 0 秒 ( 0:00:00 )"},
                           {"Label5", "   0 分 0 秒 ( 0:00:00 )"},
                           {"Label11", "   999 手 ( 0:00:00 )"},
                           {"Label12", "   0 手 ( 0:00:00 )"}},
                          Black,
                          Black};
  EXPECT_EQ(ShownBy(form), expected);
}

TEST_F(RecordsDialog, APlayedFileIsReadIntoTheVariablesAndShown) {
  Wins = 3;  // stale values from before the dialog opened
  FewestMovesDate = Day(2020, 1, 1);
  const Form6& form = Open(PlayedCfgBytes());
  EXPECT_EQ(ShownBy(form), PlayedShown);
  EXPECT_EQ(Wins, 40);
  EXPECT_EQ(Losses, 21);
  EXPECT_EQ(BestWinStreakDate, Day(2026, 3, 14));
  EXPECT_EQ(LongestTime, 3725);
  EXPECT_EQ(FewestMovesDate, Day(2026, 2, 28));
  EXPECT_EQ(MostMoves, 240);
  // The re-read stages record n in element n - 1.
  EXPECT_EQ(CfgText[6], " 40     ");
  EXPECT_EQ(CfgText[21], "26/04/01");
}

TEST_F(RecordsDialog, AStreakOfOneShowsTheDashesAndTwoTheNumberAndDate) {
  const Form6& one = OpenWith({{9, " 1"}, {10, "26/11/30"}, {12, " 1"}, {13, "26/12/01"}});
  EXPECT_EQ(one.Label8->Caption(), "   ----------");
  EXPECT_EQ(one.Label9->Caption(), "   ----------");
  platform::Unload<Form6>();

  const Form6& two = OpenWith({{9, " 2"}, {10, "26/11/30"}, {12, " 2"}, {13, "26/12/01"}});
  EXPECT_EQ(two.Label8->Caption(), "   2 連勝 ( 26/11/30 )");
  EXPECT_EQ(two.Label9->Caption(), "   2 連敗 ( 26/12/01 )");
}

TEST_F(RecordsDialog, ALossAfterAWinTurnsTheLossTitleMagentaUnderDashes) {
  const Form6& form = OpenWith({{7, " 1"}, {8, " 1"}, {9, " 1"}, {10, "26/12/06"}, {11, " 0"},
                                {12, " 1"}, {13, "26/12/07"}, {14, " 1"}});
  EXPECT_EQ(ForeColor(form.Label4(1)), Magenta);
  EXPECT_EQ(ForeColor(form.Label4(0)), Black);
  EXPECT_EQ(form.Label9->Caption(), "   ----------");
}

TEST_F(RecordsDialog, TheWinRateIsCutDownToAWholePercentage) {
  const std::pair<std::pair<const char*, const char*>, QString> cases[] = {
      {{" 2", " 1"}, "  66 %"},  {{" 1", " 0"}, "  100 %"}, {{" 0", " 5"}, "  0 %"},
      {{" 1", " 2"}, "  33 %"},  {{" 29", " 71"}, "  29 %"}, {{" 57", " 43"}, "  57 %"},
      {{" 1", " -1"}, "  ---"}};
  for (const auto& [counts, rate] : cases) {
    const Form6& form = OpenWith({{7, counts.first}, {8, counts.second}});
    EXPECT_EQ(form.Label7->Caption(), rate) << counts.first << counts.second;
    platform::Unload<Form6>();
  }
  EXPECT_EQ(OpenWith({{7, " 2"}, {8, " 1"}}).Label6->Caption(), "   2 勝 1 敗");
}

TEST_F(RecordsDialog, TimesShowWholeMinutesAndTheSecondsLeft) {
  const Form6& form = OpenWith({{15, " 59"}, {16, "26/12/01"}, {17, " 3725"}, {18, "26/12/02"}});
  EXPECT_EQ(form.Label10->Caption(), "   0 分 59 秒 ( 26/12/01 )");
  EXPECT_EQ(form.Label5->Caption(), "   62 分 5 秒 ( 26/12/02 )");
}

struct ResetCase {
  const char* button;
  platform::CommandButton* Form6::*command;
  std::map<int, QByteArray> written;
  std::map<QString, QString> shown;
  QColor winTitle, lossTitle;
};

TEST_F(RecordsDialog, EachResetWritesExactlyItsRecordsAndShowsWhatTheFileHolds) {
  const ResetCase cases[] = {
      {"Command1", &Form6::Command1, {{7, " 0"}, {8, " 0"}},
       {{"Label6", "   0 勝 0 敗"}, {"Label7", "  ---"}}, Magenta, Black},
      {"Command2", &Form6::Command2, {{9, " 0"}, {10, " 0"}, {11, " 0"}},
       {{"Label8", "   ----------"}}, Black, Black},
      {"Command3", &Form6::Command3, {{12, " 0"}, {13, " 0"}, {14, " 0"}},
       {{"Label9", "   ----------"}}, Magenta, Black},
      {"Command4", &Form6::Command4, {{15, " 3600"}, {16, " 0"}},
       {{"Label10", "   60 分 0 秒 ( 0:00:00 )"}}, Magenta, Black},
      {"Command5", &Form6::Command5, {{17, " 0"}, {18, " 0"}},
       {{"Label5", "   0 分 0 秒 ( 0:00:00 )"}}, Magenta, Black},
      {"Command7", &Form6::Command7, {{19, " 999"}, {20, " 0"}},
       {{"Label11", "   999 手 ( 0:00:00 )"}}, Magenta, Black},
      {"Command8", &Form6::Command8, {{21, " 0"}, {22, " 0"}},
       {{"Label12", "   0 手 ( 0:00:00 )"}}, Magenta, Black},
  };
  for (const ResetCase& c : cases) {
    SCOPED_TRACE(c.button);
    Form6& form = Open(PlayedCfgBytes());
    (form.*c.command)->click();

    QByteArray expectedFile = PlayedCfgBytes();
    for (const auto& [n, text] : c.written) expectedFile = WithRecord(expectedFile, n, text);
    EXPECT_EQ(File(), expectedFile);

    Shown expected = PlayedShown;
    for (const auto& [label, caption] : c.shown) expected.captions[label] = caption;
    expected.winTitle = c.winTitle;
    expected.lossTitle = c.lossTitle;
    EXPECT_EQ(ShownBy(form), expected);

    // The variables hold what the file holds.
    const auto shownValues = RecordValues();
    ReadRecords7To22();
    EXPECT_TRUE(RecordValues() == shownValues);
    platform::Unload<Form6>();
  }
}

TEST_F(RecordsDialog, ResettingTheLossStreakClearsItsMagentaTitle) {
  Form6& form = OpenWith({{8, " 3"}, {12, " 3"}, {13, "26/12/07"}, {14, " 1"}});
  ASSERT_EQ(ForeColor(form.Label4(1)), Magenta);
  form.Command3->click();
  EXPECT_EQ(ForeColor(form.Label4(1)), Black);
  EXPECT_EQ(LastGameLost, 0);
  EXPECT_EQ(Losses, 3);
}

TEST_F(RecordsDialog, TheCurrentStreaksAreNeverTouched) {
  WinStreak = 6;
  LossStreak = 2;
  Form6& form = Open(PlayedCfgBytes());
  for (platform::CommandButton* button : {form.Command1, form.Command2, form.Command3,
                                          form.Command4, form.Command5, form.Command7,
                                          form.Command8})
    button->click();
  EXPECT_EQ(WinStreak, 6);
  EXPECT_EQ(LossStreak, 2);
  EXPECT_EQ(BestWinStreak, 0);
}

TEST_F(RecordsDialog, OpeningAndClosingWritesNothing) {
  folder.Write("tarnvole.cfg", PlayedCfgBytes());
  ModalAnswerer answerer;
  bool shown = false;
  answerer.onOtherWindow = [&shown](QWidget* window) {
    auto* form = qobject_cast<Form6*>(window);
    ASSERT_NE(form, nullptr);
    shown = true;
    form->Command6->click();
  };
  platform::Show<Form6>(platform::Modal);
  EXPECT_TRUE(shown);
  EXPECT_FALSE(platform::IsLoaded<Form6>());
  EXPECT_EQ(File(), PlayedCfgBytes());
  EXPECT_EQ(Wins, 40);
}

// The dialog opens on its OK button: the first key the player presses closes
// it and resets nothing.
TEST_F(RecordsDialog, SpaceOrReturnAtOnceClosesTheDialogAndKeepsTheRecords) {
  for (Qt::Key key : {Qt::Key_Space, Qt::Key_Return}) {
    SCOPED_TRACE(key);
    folder.Write("tarnvole.cfg", PlayedCfgBytes());
    ModalAnswerer answerer;
    bool shown = false;
    answerer.onOtherWindow = [&shown, key](QWidget* window) {
      auto* form = qobject_cast<Form6*>(window);
      ASSERT_NE(form, nullptr);
      shown = true;
      QTest::keyClick(form->windowHandle(), key);
      if (platform::IsLoaded<Form6>()) {
        ADD_FAILURE() << "the key left the dialog open";
        form->Command6->click();
      }
    };
    platform::Show<Form6>(platform::Modal);
    EXPECT_TRUE(shown);
    EXPECT_EQ(File(), PlayedCfgBytes());
    EXPECT_EQ(Wins, 40);
  }
}

// Whichever button has the focus shows it, without the player first moving
// the focus by the keyboard.
TEST_F(RecordsDialog, TheFocusedButtonIsDrawnWithAFocusFrame) {
  Form6& form = Open(PlayedCfgBytes());
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  EXPECT_TRUE(ShowsItsFocus(form.Command6, form.Command1));
  EXPECT_TRUE(ShowsItsFocus(form.Command1, form.Command6));
}

TEST_F(RecordsDialog, ADamagedRecordKeepsTheValuesInMemory) {
  for (const auto& [record, text] : {std::pair{13, QByteArray("garbage")},
                                     std::pair{17, QByteArray("9e99")}}) {
    SCOPED_TRACE(record);
    Wins = 5;
    Losses = 2;
    BestLossStreak = 3;
    BestLossStreakDate = Day(2026, 1, 2);
    LongestTime = 700;
    ModalAnswerer answerer;
    const Form6& form = Open(WithRecord(PlayedCfgBytes(), record, text));
    ASSERT_EQ(answerer.prompts.size(), 1);
    EXPECT_TRUE(answerer.prompts[0].contains("tarnvole.cfg")) << answerer.prompts[0].toStdString();
    EXPECT_TRUE(answerer.prompts[0].contains("壊れています"));
    // Records 7 and 8 converted before the damaged one; they are put back too.
    EXPECT_EQ(Wins, 5);
    EXPECT_EQ(form.Label6->Caption(), "   5 勝 2 敗");
    EXPECT_EQ(form.Label9->Caption(), "   3 連敗 ( 26/01/02 )");
    EXPECT_EQ(form.Label5->Caption(), "   11 分 40 秒 ( 0:00:00 )");
    EXPECT_EQ(File(), WithRecord(PlayedCfgBytes(), record, text));
    platform::Unload<Form6>();
  }
}

TEST_F(RecordsDialog, AFileThatCannotBeReadKeepsTheValuesInMemory) {
  Wins = 9;
  MakeFileAFolder();
  ModalAnswerer answerer;
  const Form6& form = platform::Load<Form6>();
  ASSERT_EQ(answerer.prompts.size(), 1);
  EXPECT_TRUE(answerer.prompts[0].contains("「tarnvole.cfg」を読み込めませんでした"));
  EXPECT_EQ(form.Label6->Caption(), "   9 勝 0 敗");
}

// A reset that cannot be written is not lost: the player is told, the
// dialog shows it, and the next write (here the quit's) puts it in the file.
TEST_F(RecordsDialog, AResetThatCannotBeWrittenTellsThePlayerAndIsWrittenLater) {
  Form6& form = Open(PlayedCfgBytes());
  MakeFileAFolder();
  ModalAnswerer answerer;
  form.Command1->click();
  ASSERT_EQ(answerer.prompts.size(), 2);
  EXPECT_EQ(answerer.prompts[0], ResultsWaitMessage());
  EXPECT_TRUE(answerer.prompts[1].contains("「tarnvole.cfg」を読み込めませんでした"));
  EXPECT_EQ(Wins, 0);
  EXPECT_EQ(Losses, 0);
  EXPECT_EQ(form.Label6->Caption(), "   0 勝 0 敗");
  EXPECT_TRUE(platform::IsLoaded<Form6>());

  ASSERT_TRUE(QDir(folder.Path()).rmdir("tarnvole.cfg"));
  folder.Write("tarnvole.cfg", PlayedCfgBytes());
  WritePendingBookings();
  EXPECT_EQ(File(), WithRecord(WithRecord(PlayedCfgBytes(), 7, " 0"), 8, " 0"));
  EXPECT_EQ(answerer.prompts.size(), 2);
}

TEST_F(RecordsDialog, EveryCaptionFitsItsBox) {
  Form6& form = OpenWith({{7, " 12345"}, {8, " 6789"}, {9, " 123"}, {10, "26/12/07"},
                          {12, " 45"}, {13, "26/12/07"}, {15, " 59"}, {17, " 35999"},
                          {18, "26/12/07"}, {19, " 45"}, {21, " 9999"}, {22, "26/12/07"}});
  // Captions are fitted to the installed fonts when the dialog is shown.
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  std::vector<platform::DialogLabel*> labels = {
      form.Label1,  form.Label5,  form.Label6,  form.Label7,  form.Label8,  form.Label9,
      form.Label10, form.Label11, form.Label12, form.Label13, &form.Label2(0), &form.Label2(1),
      &form.Label3(0), &form.Label3(1), &form.Label4(0), &form.Label4(1)};
  for (platform::DialogLabel* label : labels)
    EXPECT_TRUE(label->CaptionFits()) << label->Caption().toStdString();

  // A long count gets a smaller font; a short one its full size back.
  EXPECT_LT(form.Label6->font().pointSizeF(), 9);
  form.Command1->click();
  EXPECT_EQ(form.Label6->font().pointSizeF(), 9);
  EXPECT_TRUE(form.Label6->CaptionFits());
}

}  // namespace
