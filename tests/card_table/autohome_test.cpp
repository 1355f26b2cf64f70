// The automatic moves to the home cells and the win check, on a real Form1
// with boards laid out by hand.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <vector>

#include "card_table/board_layout.h"
#include "card_table/form8.h"
#include "platform/forms.h"
#include "settings_records/form4.h"
#include "support/test_support.h"

using namespace tarnvole;
using namespace board_layout;

namespace {

// What the board showed at each 70 ms pause.
struct PauseSeen {
  QStringList history;
  std::array<QString, 8> cells;
  std::array<platform::Picture, 8> cellPictures;
  Long stuckShown = 0;
};

// Watches every showing of Form8 while it lives.
class PauseWatcher : public QObject {
 public:
  explicit PauseWatcher(const Form1& form) : form_(form) { qApp->installEventFilter(this); }
  ~PauseWatcher() override { qApp->removeEventFilter(this); }
  std::vector<PauseSeen> pauses;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show && qobject_cast<Form8*>(watched)) {
      PauseSeen seen{History(form_), form_.Cell, {}, form_.StuckShown};
      for (int i = 0; i < 8; ++i) seen.cellPictures[i] = form_.Image2(i).Picture();
      pauses.push_back(seen);
    }
    return false;
  }

 private:
  const Form1& form_;
};

class AutoHome : public StartedForm {
 protected:
  void TearDown() override {
    platform::Unload<Form4>();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    StartedForm::TearDown();
  }
  // Lays out the board, runs one round of automatic moves and returns what
  // the pauses showed.
  std::vector<PauseSeen> Run(const Board& board) {
    LayOut(*form, board);
    PauseWatcher watcher(*form);
    form->AutoMoveToHome();
    return watcher.pauses;
  }
};

// ---- Full auto on ------------------------------------------------------------

TEST_F(AutoHome, FullAutoSendsEveryFittingCardHomeUntilNothingFits) {
  FullAuto = 1;
  Board board;
  board.columns[0] = {"02", "01"};  // 3 and 2 of hearts
  board.columns[1] = {"25"};
  board.columns[2] = {"30", "29"};  // a covered black ace holds nothing back
  board.cells = {"03", "", "", "", "00", "10", "", ""};
  const auto pauses = Run(board);

  // The 2 goes, uncovering the 3 behind the scan; the next pass takes the 3
  // and then the 4 of hearts from the free cell.
  EXPECT_EQ(History(*form), QStringList({"4: 8/ 4", "4: 0/ 4", "5: 0/ 4"}));
  Board expected;
  expected.columns[1] = {"25"};
  expected.columns[2] = {"30", "29"};
  expected.cells = {"", "", "", "", "03", "10", "", ""};
  EXPECT_EQ(BoardOf(*form), expected);
  ExpectPicturesAgree(*form);
  EXPECT_TRUE(form->Image3(0).Visible());
  EXPECT_EQ(MoveCount, 3);
  EXPECT_EQ(pauses.size(), 3u);
  EXPECT_TRUE(form->Toolbar1->Buttons(6).Enabled());
}

// ---- Full auto off: the blocking rule --------------------------------------------

TEST_F(AutoHome, FullAutoOffHoldsBackACardWhileALowerCardOfTheOtherColourIsInTheTableau) {
  FullAuto = 0;
  // A two waits for a covered black ace.
  Board covered;
  covered.columns[0] = {"20", "38"};
  covered.columns[1] = {"01"};
  covered.cells[4] = "00";
  EXPECT_TRUE(Run(covered).empty());
  EXPECT_EQ(BoardOf(*form), covered);
  EXPECT_TRUE(History(*form).isEmpty());

  // A six of hearts waits for a buried five of clubs; a six of clubs would not
  // hold it back, nor would a lower red card.
  Board buried;
  buried.columns[0] = {"34", "38", "39"};
  buried.columns[1] = {"05"};
  buried.columns[2] = {"35", "11"};
  buried.cells[4] = "04";
  EXPECT_TRUE(Run(buried).empty());
  EXPECT_EQ(BoardOf(*form), buried);

  buried.columns[0] = {"38", "39"};
  Run(buried);
  EXPECT_EQ(form->Cell[4], "05");
  EXPECT_EQ(History(*form), QStringList({"4: 1/ 4"}));
}

TEST_F(AutoHome, FullAutoOffLetsTheWaitingCardGoOnceTheBlockingAceHasGoneHome) {
  FullAuto = 0;
  Board board;
  board.columns[0] = {"38", "20"};  // an uncovered black ace
  board.columns[1] = {"01"};
  board.cells[4] = "00";
  Run(board);
  // Position 1 is looked at first and waits; the ace goes; the next pass
  // takes the two.
  EXPECT_EQ(History(*form), QStringList({"4: 8/ 5", "4: 1/ 4"}));
  EXPECT_EQ(form->Cell[4], "01");
  EXPECT_EQ(form->Cell[5], "20");
  ExpectPicturesAgree(*form);
}

TEST_F(AutoHome, FullAutoOffIgnoresTheCellsButHoldsBackAFreeCellCard) {
  FullAuto = 0;
  // A black ace in a free cell holds nothing back (and never goes home).
  Board board;
  board.columns[0] = {"01"};
  board.cells = {"20", "", "", "", "00", "", "", ""};
  Run(board);
  EXPECT_EQ(History(*form), QStringList({"4: 0/ 4"}));
  EXPECT_EQ(form->Cell[0], "20");

  // A free-cell two waits for a black ace in the tableau like any card.
  Board waiting;
  waiting.columns[0] = {"30", "38"};
  waiting.cells = {"01", "", "", "", "00", "", "", ""};
  EXPECT_TRUE(Run(waiting).empty());
  EXPECT_EQ(BoardOf(*form), waiting);
}

TEST_F(AutoHome, AcesAlwaysGoToTheFirstEmptyHomeCellLowestPositionFirst) {
  FullAuto = 0;
  Board board;
  board.columns[0] = {"11", "12", "13", "14", "15", "16"};
  board.columns[1] = {"17", "18", "19", "110", "111", "112"};
  board.columns[2] = {"21", "22", "23", "24", "25", "26", "20"};  // ace at 50
  board.columns[3] = {"27", "28", "29", "210", "211", "212"};
  board.columns[4] = {"31", "32", "33", "34", "35", "36"};
  board.columns[5] = {"37", "38", "39", "310", "311", "00"};  // ace at 45
  board.columns[6] = {"312", "01", "02", "03", "04", "05"};
  board.columns[7] = {"06", "07", "08", "09", "010", "011", "012"};
  const auto pauses = Run(board);

  EXPECT_EQ(History(*form), QStringList({"4: 45/ 4", "4: 50/ 5"}));
  EXPECT_EQ(form->Cell[4], "00");
  EXPECT_EQ(form->Cell[5], "20");
  ASSERT_EQ(pauses.size(), 2u);
  // The first ace is drawn on its home cell before the second one moves.
  EXPECT_EQ(pauses[0].cells[4], "00");
  EXPECT_EQ(pauses[0].cellPictures[4], FacePicture(*form, "00"));
  EXPECT_TRUE(pauses[0].cells[5].isEmpty());
  EXPECT_EQ(pauses[1].cellPictures[5], FacePicture(*form, "20"));
  ExpectPicturesAgree(*form);
}

// ---- Passes ------------------------------------------------------------------------

// The search itself cannot be watched yet (it does nothing so far), so the
// passes are read from the history order and from StuckShown: every pass
// clears it right after its search, so while it still reads 1 at a pause no
// search of this run has finished.
TEST_F(AutoHome, ACardUncoveredBehindTheScanGoesInTheNextPassBeforeAnySearch) {
  FullAuto = 0;
  Board board;
  board.columns[0] = {"03", "02"};  // 4 and 3 of hearts
  board.columns[1] = {"12"};        // 3 of diamonds
  board.cells = {"", "", "", "", "01", "11", "", ""};
  form->StuckShown = 1;
  const auto pauses = Run(board);

  // Position 0 lies before 1 and 8 but is taken last: in a pass of its own.
  EXPECT_EQ(History(*form), QStringList({"4: 1/ 5", "4: 8/ 4", "4: 0/ 4"}));
  ASSERT_EQ(pauses.size(), 3u);
  for (const PauseSeen& seen : pauses) EXPECT_EQ(seen.stuckShown, 1);
  EXPECT_EQ(form->StuckShown, 0);
  EXPECT_EQ(form->Cell[4], "03");
  EXPECT_TRUE(form->Image3(0).Visible());
  ExpectPicturesAgree(*form);
}

// ---- Free cells ----------------------------------------------------------------------

TEST_F(AutoHome, AnAceInAFreeCellStaysButATwoFollowsItsAceHome) {
  FullAuto = 1;
  Board aceInCell;
  aceInCell.columns[0] = {"38"};
  aceInCell.cells = {"00", "", "", "", "", "", "", ""};
  EXPECT_TRUE(Run(aceInCell).empty());
  EXPECT_EQ(BoardOf(*form), aceInCell);
  EXPECT_TRUE(History(*form).isEmpty());

  FullAuto = 0;
  Board twoInCell;
  twoInCell.columns[3] = {"38", "00"};
  twoInCell.cells = {"", "", "01", "", "", "", "", ""};
  const auto pauses = Run(twoInCell);
  EXPECT_EQ(History(*form), QStringList({"4: 11/ 4", "5: 2/ 4"}));
  EXPECT_EQ(form->Cell[4], "01");
  EXPECT_TRUE(form->Cell[2].isEmpty());
  EXPECT_EQ(form->Image2(2).Picture().Index(), EmptySlotMark);
  EXPECT_EQ(pauses.size(), 2u);
  ExpectPicturesAgree(*form);
}

// ---- The win check ---------------------------------------------------------------------

TEST_F(AutoHome, CheckForWinWithoutFourKingsChangesNothingButLoopIndex) {
  testing_support::ModalAnswerer answerer;
  int windows = 0;
  answerer.onOtherWindow = [&](QWidget*) { ++windows; };
  Board board;
  board.columns[0] = {"38"};
  board.cells = {"", "", "", "", "012", "112", "212", ""};
  LayOut(*form, board);
  form->CheckForWin();
  EXPECT_EQ(form->LoopIndex, 7);

  board.cells = {"", "", "", "", "012", "111", "212", "312"};
  LayOut(*form, board);
  form->CheckForWin();
  EXPECT_EQ(form->LoopIndex, 5);

  EXPECT_EQ(BoardOf(*form), board);
  EXPECT_EQ(windows, 0);
  EXPECT_TRUE(answerer.prompts.isEmpty());
  EXPECT_FALSE(platform::IsLoaded<Form4>());
  EXPECT_EQ(Wins, 0);
}

TEST_F(AutoHome, CheckForWinWithFourKingsShowsTheWinDialogAndDealsANewGame) {
  testing_support::ModalAnswerer answerer;
  int winDialogs = 0;
  answerer.onOtherWindow = [&](QWidget* window) {
    if (!qobject_cast<Form4*>(window)) return;
    ++winDialogs;
    platform::Unload<Form4>();
  };
  Board board;
  board.cells = {"", "", "", "", "012", "112", "212", "312"};
  LayOut(*form, board);
  form->CheckForWin();

  EXPECT_EQ(winDialogs, 1);
  EXPECT_EQ(Wins, 1);
  // A fresh deal: all 52 cards on the table again, no pile finished.
  int cards = 0;
  for (const QString& card : form->Tableau) cards += card.isEmpty() ? 0 : 1;
  for (int h = FirstHomeCell; h <= LastHomeCell; ++h) {
    if (!form->Cell[h].isEmpty()) cards += RankOf(form->Cell[h]) + 1;
    EXPECT_NE(RankOf(form->Cell[h]), 12);
  }
  for (int i = FirstFreeCell; i <= LastFreeCell; ++i) EXPECT_TRUE(form->Cell[i].isEmpty());
  EXPECT_EQ(cards, 52);
  ExpectPicturesAgree(*form);
}

}  // namespace
