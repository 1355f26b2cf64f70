// The hint command on a real main window: the sounds it plays, the controls
// it blinks and for how long, what the stalemate does to it, and that it
// leaves the game as it found it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <vector>

#include "card_table/board_layout.h"
#include "card_table/form7.h"
#include "platform/forms.h"
#include "platform/sound.h"
#include "settings_records/form3.h"
#include "support/test_support.h"

using namespace tarnvole;
using namespace board_layout;

namespace {

constexpr int HintButton = 8;
constexpr int TakeBackButton = 6;
// A blink lasts two 600 ms pauses; a loaded machine may come back late,
// never early.
constexpr qint64 BlinkMs = 1200;
constexpr qint64 Slack = 800;

// Even ranks only (ace, three, five, ... king): no card is one rank above
// another, so nothing fits anywhere, and with the home cells empty nothing
// goes home.
const std::array<QStringList, 8> DeadColumns = {
    QStringList{"00"}, {"02"}, {"04"}, {"06"}, {"10"}, {"12"}, {"14"}, {"16"}};
const std::array<QString, 8> FourKings = {"012", "112", "212", "312", "", "", "", ""};

// The visibility of some controls at each showing of the 600 ms pause window.
class PauseWatcher : public QObject {
 public:
  explicit PauseWatcher(std::vector<const platform::Image*> watched) : watched_(std::move(watched)) {
    qApp->installEventFilter(this);
  }
  ~PauseWatcher() override { qApp->removeEventFilter(this); }
  // One entry per pause: the watched controls' Visible, in the given order.
  std::vector<std::vector<bool>> pauses;

 protected:
  bool eventFilter(QObject* object, QEvent* event) override {
    if (event->type() == QEvent::Show && qobject_cast<Form7*>(object)) {
      std::vector<bool> seen;
      for (const platform::Image* control : watched_) seen.push_back(control->Visible());
      pauses.push_back(seen);
    }
    return false;
  }

 private:
  std::vector<const platform::Image*> watched_;
};

class Hint : public StartedForm {
 protected:
  void SetUp() override {
    StartedForm::SetUp();
    DealStrength = 3;  // a stalemate's new deal is the ordered deck
    SecretaryOn = 0;
    platform::SetSoundHookForTesting([this](const QString& command) { sounds << command; });
    answerer.onOtherWindow = [this](QWidget* window) {
      auto* dialog = qobject_cast<Form3*>(window);
      ASSERT_NE(dialog, nullptr);
      ++stalemates;
      (keepLostBoard ? dialog->Command2 : dialog->Command1)->click();
    };
  }
  void TearDown() override {
    platform::SetSoundHookForTesting(nullptr);
    platform::Unload<Form3>();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    StartedForm::TearDown();
  }

  // A started window whose sound folder is `directory`, the current
  // directory when it was created.
  void RecreateFormIn(const QString& directory) {
    form.reset();
    QDir::setCurrent(directory);
    form = std::make_unique<Form1>();
    QDir::setCurrent(folder.Path());
    form->Form_Load();
  }

  QString Sound(const QString& file) const { return "play " + folder.Path() + "/" + file; }

  QStringList sounds;
  testing_support::ModalAnswerer answerer;
  bool keepLostBoard = false;
  int stalemates = 0;
};

// ---- No suggestion, and the stalemate ------------------------------------------

TEST_F(Hint, NothingToSuggestPlaysTheNoMoveSoundOnceAndBlinksNothing) {
  LayOut(*form, {DeadColumns, {}});
  // Left over from an earlier search: the command starts from empty lists.
  form->HintFrom[0] = "1 0";
  form->HintTo[0] = "1 1";
  PauseWatcher watcher({});
  form->Toolbar1_ButtonClick(HintButton);

  EXPECT_EQ(sounds, QStringList({Sound("1.wav")}));
  EXPECT_TRUE(watcher.pauses.empty());
  EXPECT_EQ(stalemates, 0);
  ExpectPicturesAgree(*form);
  EXPECT_TRUE(form->HintFrom[0].isEmpty());
}

TEST_F(Hint, AStuckBoardKeptByThePlayerEndsTheCommandSilently) {
  keepLostBoard = true;
  const Board stuck{DeadColumns, FourKings};
  LayOut(*form, stuck);
  PauseWatcher watcher({});
  form->Toolbar1_ButtonClick(HintButton);

  EXPECT_EQ(stalemates, 1);
  EXPECT_TRUE(sounds.isEmpty());
  EXPECT_TRUE(watcher.pauses.empty());
  EXPECT_EQ(form->StuckShown, 0);
  EXPECT_EQ(KeepLostBoard, 0);
  EXPECT_EQ(BoardOf(*form), stuck);
  ExpectPicturesAgree(*form);
}

TEST_F(Hint, AStuckBoardReplacedByANewDealGoesOnWithTheNewDealsFindings) {
  LayOut(*form, {DeadColumns, FourKings});
  PauseWatcher watcher({});
  form->Toolbar1_ButtonClick(HintButton);

  EXPECT_EQ(stalemates, 1);
  EXPECT_EQ(form->StuckShown, 0);
  // The ordered deck: every column ends in a club and the home cells are
  // empty, so the new board offers nothing and the command says so.
  EXPECT_EQ(form->Tableau[0], "00");
  EXPECT_EQ(form->Tableau[51], "312");
  EXPECT_EQ(sounds, QStringList({Sound("1.wav")}));
  EXPECT_TRUE(watcher.pauses.empty());
  ExpectPicturesAgree(*form);
}

// Entries that name no control cannot come from the search; planted while
// the stalemate dialog is up (the ordered deal adds none), they are passed
// over without a sound, and the command goes on with the next entry.
TEST_F(Hint, EntriesNamingNoControlArePassedOver) {
  LayOut(*form, {DeadColumns, FourKings});
  const auto answerStalemate = answerer.onOtherWindow;
  answerer.onOtherWindow = [&](QWidget* window) {
    // No area 4, no position 152, an index beyond any number, no target.
    const QStringList from = {"4 0", "1 152", "1 99999999999", "3 2", "1 0"};
    const QStringList to = {"1 0", "1 1", "1 1", "", "1 1"};
    for (int k = 0; k < from.size(); ++k) {
      form->HintFrom[k] = from[k];
      form->HintTo[k] = to[k];
    }
    answerStalemate(window);
  };
  PauseWatcher watcher({&form->Image1(0), &form->Image1(1)});
  form->Toolbar1_ButtonClick(HintButton);

  EXPECT_EQ(stalemates, 1);
  EXPECT_EQ(sounds, QStringList({Sound("2.wav")}));
  using Seen = std::vector<std::vector<bool>>;
  EXPECT_EQ(watcher.pauses, Seen({{false, false}, {true, true}}));
  ExpectPicturesAgree(*form);
}

// ---- Blinking ---------------------------------------------------------------------

// The six of spades at position 16 can go onto the seven of hearts at 9.
TEST_F(Hint, OneMoveSoundsOnceAndHidesCardAndTargetForOnePauseThenShowsThem) {
  const Board board{{QStringList{"212", "110", "25"}, {"312", "06"}, {"10"}, {"20"}, {"30"}, {"112"},
                     {"012"}, {"02"}},
                    {}};
  LayOut(*form, board);
  form->FirstIndex = 3;
  form->SecondIndex = 11;
  form->RecordMove(1);
  const Long moves = MoveCount;
  const QStringList history = History(*form);
  form->Toolbar1->Buttons(TakeBackButton).setEnabled(false);

  PauseWatcher watcher({&form->Image1(16), &form->Image1(9), &form->Image1(8)});
  QElapsedTimer clock;
  clock.start();
  form->Toolbar1_ButtonClick(HintButton);
  const qint64 elapsed = clock.elapsed();

  ASSERT_EQ(form->HintFrom[0], "1 16");
  ASSERT_EQ(form->HintTo[0], "1 9");
  EXPECT_EQ(sounds, QStringList({Sound("2.wav")}));
  // Source and target hidden through the first pause, shown through the
  // second; the card the source lies on never blinks.
  using Seen = std::vector<std::vector<bool>>;
  EXPECT_EQ(watcher.pauses, Seen({{false, false, true}, {true, true, true}}));
  EXPECT_GE(elapsed, BlinkMs);
  EXPECT_LT(elapsed, BlinkMs + Slack);

  EXPECT_EQ(BoardOf(*form), board);
  ExpectPicturesAgree(*form);
  EXPECT_EQ(MoveCount, moves);
  EXPECT_EQ(History(*form), history);
  EXPECT_FALSE(form->Toolbar1->Buttons(TakeBackButton).Enabled());
}

// Two free spaces (free cells 2 and 3) and the one-card column 0: the same
// move to free cell 2 is suggested twice.
TEST_F(Hint, TheSameMoveInTwoEntriesBlinksTwiceEachWithItsSound) {
  const Board board{{QStringList{"00"}, {"02", "04", "06"}, {"08", "010", "20"}, {"22", "24", "26"},
                     {"28", "210", "212"}, {"10", "12", "14"}, {"16", "18", "110"}, {"30", "32", "34"}},
                    {"012", "112", "", "", "", "", "", ""}};
  LayOut(*form, board);
  PauseWatcher watcher({&form->Image1(0), &form->Image2(2), &form->Image2(3)});
  form->Toolbar1_ButtonClick(HintButton);

  ASSERT_EQ(form->HintFrom[1], "1 0");
  ASSERT_EQ(form->HintTo[1], "2 2");
  EXPECT_EQ(sounds, QStringList({Sound("2.wav"), Sound("2.wav")}));
  using Seen = std::vector<std::vector<bool>>;
  EXPECT_EQ(watcher.pauses,
            Seen({{false, false, true}, {true, true, true}, {false, false, true}, {true, true, true}}));
  EXPECT_EQ(BoardOf(*form), board);
  ExpectPicturesAgree(*form);
}

// One free space, the empty column 5; the two of hearts at position 8 can go
// home onto the ace, and the one card of column 2 into the empty column.
TEST_F(Hint, AMoveHomeBlinksTheHomeCellAndAMoveToAnEmptyColumnItsMarker) {
  std::array<QString, 8> cells = FourKings;
  cells[4] = "00";
  const Board board{{QStringList{"04", "01"}, {"10", "12", "14"}, {"06"}, {"16", "18"}, {"24", "26"}, {},
                     {"28", "210"}, {"34", "36"}},
                    cells};
  LayOut(*form, board);
  PauseWatcher watcher({&form->Image1(8), &form->Image2(4), &form->Image1(2), &form->Image3(5)});
  form->Toolbar1_ButtonClick(HintButton);

  ASSERT_EQ(form->HintFrom[0] + ">" + form->HintTo[0], "1 8>2 4");
  ASSERT_EQ(form->HintFrom[1] + ">" + form->HintTo[1], "1 2>3 5");
  EXPECT_EQ(sounds, QStringList({Sound("2.wav"), Sound("2.wav")}));
  using Seen = std::vector<std::vector<bool>>;
  EXPECT_EQ(watcher.pauses, Seen({{false, false, true, true},
                                  {true, true, true, true},
                                  {true, true, false, false},
                                  {true, true, true, true}}));
  EXPECT_EQ(BoardOf(*form), board);
  ExpectPicturesAgree(*form);
}

// ---- The sound folder ---------------------------------------------------------------

TEST_F(Hint, TheRootFolderGetsNoSecondSeparatorAndBlanksGoInUnquoted) {
  RecreateFormIn(QStringLiteral("/"));
  LayOut(*form, {DeadColumns, {}});
  form->Toolbar1_ButtonClick(HintButton);
  EXPECT_EQ(sounds, QStringList({"play /1.wav"}));

  // The folder is the one the window was created in, not where the program
  // stands when the hint is asked for.
  ASSERT_TRUE(QDir(folder.Path()).mkdir(QStringLiteral("my sounds")));
  RecreateFormIn(folder.Path(QStringLiteral("my sounds")));
  LayOut(*form, {DeadColumns, {}});
  sounds.clear();
  form->Toolbar1_ButtonClick(HintButton);
  EXPECT_EQ(sounds, QStringList({"play " + folder.Path() + "/my sounds/1.wav"}));
}

}  // namespace
