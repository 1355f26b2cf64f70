// Single-card moves on a real Form1, through the press, drop and
// double-click handlers.
//
// Telling the cases apart: "reset and follow-up" clears FirstIndex,
// SecondIndex, PressButton and CardCovered, which a refusal with nothing
// after it leaves as written; the follow-up's automatic moves look last at
// free cell 3 and home cell 7, leaving MovingCard and TargetCard there, where
// a handler with nothing after it leaves what it wrote (or the mark the test
// put in). The boards keep every card that fits a home cell held back by a
// lower card of the other colour, and at least three free spaces, so that
// the follow-up sends nothing home and never judges the position stuck.
#include <gtest/gtest.h>

#include "board_layout.h"
#include "card_table/form1.h"
#include "platform/controls.h"

using namespace tarnvole;
using namespace board_layout;

namespace {

constexpr int Left = platform::LeftButton;
constexpr int Right = platform::RightButton;
constexpr int Middle = platform::MiddleButton;

// Positions: 0 K♣, 8 Q♦ | 1 J♠ | 4 8♣, 12 6♦ | 6 2♣, 14 7♠, 22 3♥, 30 4♦ |
// 7 Q♠. Columns 2, 3 and 5 empty. Free cells: 1 J♦, 2 4♠. Home: 4 3♦, 5 3♠.
Board Standard() {
  Board b;
  b.columns = {QStringList{"312", "111"}, {"210"}, {}, {}, {"37", "15"}, {},
               {"31", "26", "02", "13"}, {"211"}};
  b.cells = {"", "110", "23", "", "12", "22", "", ""};
  return b;
}

// Column 0 reaches the last row: 2♠ at 136 (row 17) under A♦ at 144 (row 18).
Board LongColumn() {
  Board b = Standard();
  b.columns[0] = QStringList{"30", "32", "33", "34", "35", "36", "112", "211", "110", "29",
                             "18", "27", "16", "25", "14", "23", "12", "21", "10"};
  b.columns[7].clear();
  b.cells = {"00", "", "", "", "", "", "", ""};
  return b;
}

class SingleCardMoves : public StartedForm {
 protected:
  void SetUp() override {
    StartedForm::SetUp();
    LayOut(*form, Standard());
  }
  void PressCard(int position, int button = Left) { form->Image1_MouseDown(position, button, 0, 0, 0); }
  void PressCell(int cell, int button = Left) { form->Image2_MouseDown(cell, button, 0, 0, 0); }
  // Marks the fields so that a test sees which ones a handler wrote.
  void MarkFields() {
    form->FirstIndex = form->SecondIndex = form->PressButton = form->CardCovered = 77;
    form->WorkA = form->WorkB = 77;
    form->MovingCard = form->TargetCard = "x";
  }
  void ExpectFieldsReset() {
    EXPECT_EQ(form->FirstIndex, 0);
    EXPECT_EQ(form->SecondIndex, 0);
    EXPECT_EQ(form->PressButton, 0);
    EXPECT_EQ(form->CardCovered, 0);
  }
  bool FollowUpRan() const {
    return form->MovingCard == form->Cell[3] && form->TargetCard == form->Cell[7];
  }
  void ExpectUnchanged() {
    EXPECT_EQ(BoardOf(*form), Standard());
    EXPECT_EQ(HistoryText(*form), "");
    EXPECT_EQ(MoveCount, 0);
    ExpectPicturesAgree(*form);
  }
};

TEST(IsOppositeColor, FollowsTheColourTableOutsideTheSuitsToo) {
  testing_support::ScratchFolder folder;
  Form1 form;
  const auto opposite = [&](Long a, Long b) { return form.IsOppositeColor(a, b); };
  EXPECT_FALSE(opposite(1, 0));
  EXPECT_FALSE(opposite(3, 2));
  EXPECT_FALSE(opposite(0, 1));
  EXPECT_TRUE(opposite(0, 2));
  EXPECT_TRUE(opposite(2, 1));
  EXPECT_TRUE(opposite(1, 3));
  EXPECT_TRUE(opposite(0, 5));
  EXPECT_TRUE(opposite(2, -1));
  EXPECT_TRUE(opposite(4, 0));
  EXPECT_TRUE(opposite(-1, 3));
  EXPECT_TRUE(opposite(7, 7));
}

// ---- Drops on a tableau card ------------------------------------------------

TEST_F(SingleCardMoves, AFittingTableauCardGoesBelowTheTargetInFrontOfItAndEmptiesItsColumn) {
  form->Image1(8).ZOrder();  // as a take-back leaves it: in front of the rows below
  MarkFields();
  PressCard(1);
  form->Image1_DragDrop(8);

  Board expected = Standard();
  expected.columns[0] << "210";
  expected.columns[1].clear();
  EXPECT_EQ(BoardOf(*form), expected);
  ExpectPicturesAgree(*form);
  EXPECT_TRUE(form->Image3(1).Visible());
  const QPoint overlap = form->Image1(16).PixelRect().topLeft() + QPoint(5, 5);
  EXPECT_EQ(form->ControlAt(overlap), &form->Image1(16));
  EXPECT_EQ(HistoryText(*form), "1: 1/ 8");
  EXPECT_EQ(MoveCount, 1);
  ExpectFieldsReset();
  EXPECT_TRUE(FollowUpRan());
  EXPECT_EQ(form->WorkA, 10);  // the moving card's rank
  EXPECT_EQ(form->WorkB, 11);  // the target's
}

TEST_F(SingleCardMoves, ACardThatDoesNotFitIsLeftToTheRunMoveAndTheFieldsAreReset) {
  // No run can form on this board, so MoveRunOntoCard moves nothing; the
  // reset shows the handler went on.
  const struct { int from, onto; } drops[] = {
      {1, 7},   // J♠ on Q♠: the right rank, the same colour
      {7, 8},   // Q♠ on Q♦: the other colour, the wrong rank
      {1, 1},   // J♠ released over its own slot
  };
  for (const auto& drop : drops) {
    SCOPED_TRACE(drop.onto);
    MarkFields();
    PressCard(drop.from);
    form->Image1_DragDrop(drop.onto);
    ExpectUnchanged();
    ExpectFieldsReset();
    EXPECT_TRUE(FollowUpRan());
  }
}

TEST_F(SingleCardMoves, ATableauCardDroppedOnACoveredCardChangesNothingAndNothingFollows) {
  MarkFields();
  PressCard(1);
  form->Image1_DragDrop(14);
  ExpectUnchanged();
  EXPECT_EQ(form->FirstIndex, 1);
  EXPECT_EQ(form->SecondIndex, 14);
  EXPECT_EQ(form->PressButton, 1);
  EXPECT_EQ(form->CardCovered, 1);
  EXPECT_EQ(form->MovingCard, "x");
  EXPECT_FALSE(FollowUpRan());
}

TEST_F(SingleCardMoves, AFittingFreeCellCardGoesBelowTheTargetAndItsCellShowsTheMark) {
  MarkFields();
  PressCell(1);
  form->Image1_DragDrop(7);

  Board expected = Standard();
  expected.columns[7] << "110";
  expected.cells[1] = "";
  EXPECT_EQ(BoardOf(*form), expected);
  ExpectPicturesAgree(*form);
  EXPECT_EQ(HistoryText(*form), "3: 7/ 1");
  EXPECT_EQ(MoveCount, 1);
  ExpectFieldsReset();
  EXPECT_TRUE(FollowUpRan());
}

TEST_F(SingleCardMoves, AFreeCellCardThatDoesNotFitChangesNothingAndKeepsWhatWasWritten) {
  MarkFields();
  PressCell(1);
  form->Image1_DragDrop(8);  // J♦ on Q♦: the same colour
  ExpectUnchanged();
  EXPECT_EQ(form->FirstIndex, 8);
  EXPECT_EQ(form->SecondIndex, 1);
  EXPECT_EQ(form->MovingCard, "110");
  EXPECT_EQ(form->TargetCard, "111");
  EXPECT_EQ(form->WorkA, 1);
  EXPECT_EQ(form->WorkB, 77);
  EXPECT_EQ(form->PressButton, 77);
  EXPECT_EQ(form->CardCovered, 0);
  EXPECT_FALSE(FollowUpRan());

  MarkFields();
  PressCell(2);
  form->Image1_DragDrop(12);  // 4♠ on 6♦: the other colour, the wrong rank
  ExpectUnchanged();
  EXPECT_EQ(form->FirstIndex, 12);
  EXPECT_EQ(form->WorkA, 3);
  EXPECT_EQ(form->WorkB, 5);
  EXPECT_EQ(form->PressButton, 77);
  EXPECT_FALSE(FollowUpRan());

  MarkFields();
  PressCell(1);
  form->Image1_DragDrop(14);  // a covered card
  ExpectUnchanged();
  EXPECT_EQ(form->FirstIndex, 14);
  EXPECT_EQ(form->CardCovered, 1);
  EXPECT_FALSE(FollowUpRan());
}

// ---- Drops on a cell ------------------------------------------------------------

TEST_F(SingleCardMoves, ATableauCardDroppedOnAnyFreeCellGoesIntoTheLowestEmptyOne) {
  MarkFields();
  PressCard(1);
  form->Image2_DragDrop(2);  // occupied; free cell 0 is empty
  EXPECT_TRUE(FollowUpRan());
  PressCard(7);
  form->Image2_DragDrop(3);

  Board expected = Standard();
  expected.columns[1].clear();
  expected.columns[7].clear();
  expected.cells[0] = "210";
  expected.cells[3] = "211";
  EXPECT_EQ(BoardOf(*form), expected);
  ExpectPicturesAgree(*form);
  EXPECT_EQ(HistoryText(*form), "8: 1/ 0 | 8: 7/ 3");
  EXPECT_EQ(MoveCount, 2);
  EXPECT_EQ(form->SecondIndex, 3);
}

TEST_F(SingleCardMoves, WithAllFourFreeCellsOccupiedADropOnOneMovesNothing) {
  Board full = Standard();
  full.cells[0] = "25";
  full.cells[3] = "34";
  LayOut(*form, full);
  MarkFields();
  PressCard(1);
  form->Image2_DragDrop(1);
  EXPECT_EQ(BoardOf(*form), full);
  EXPECT_EQ(HistoryText(*form), "");
  EXPECT_EQ(form->SecondIndex, 1);
  EXPECT_EQ(form->FirstIndex, 1);  // the follow-up resets nothing
  EXPECT_EQ(form->PressButton, 1);
  EXPECT_TRUE(FollowUpRan());
}

TEST_F(SingleCardMoves, ATableauCardGoesOntoTheHomeCellItFitsAndOntoNoOther) {
  MarkFields();
  PressCard(30);
  form->Image2_DragDrop(5);  // 4♦ on 3♠
  EXPECT_TRUE(FollowUpRan());
  MarkFields();
  PressCard(30);
  form->Image2_DragDrop(6);  // on an empty home cell
  ExpectUnchanged();
  EXPECT_TRUE(FollowUpRan());
  EXPECT_EQ(form->SecondIndex, 6);
  EXPECT_EQ(form->FirstIndex, 30);

  form->Image2_DragDrop(4);  // on 3♦
  Board expected = Standard();
  expected.columns[6].removeLast();
  expected.cells[4] = "13";
  EXPECT_EQ(BoardOf(*form), expected);
  ExpectPicturesAgree(*form);
  EXPECT_EQ(HistoryText(*form), "9: 30/ 4");
  EXPECT_EQ(MoveCount, 1);
}

TEST_F(SingleCardMoves, AFreeCellCardGoesOntoTheHomeCellItFitsAndNowhereElse) {
  MarkFields();
  PressCell(2, Right);
  for (int cell : {0, 1, 2, 3}) form->Image2_DragDrop(cell);
  EXPECT_EQ(form->FirstIndex, 77);
  EXPECT_EQ(form->MovingCard, "x");
  form->Image2_DragDrop(4);  // 4♠ on 3♦
  ExpectUnchanged();
  EXPECT_EQ(form->FirstIndex, 4);
  EXPECT_EQ(form->MovingCard, "23");
  EXPECT_EQ(form->TargetCard, "12");
  EXPECT_FALSE(FollowUpRan());

  form->Image2_DragDrop(5);  // on 3♠
  Board expected = Standard();
  expected.cells[2] = "";
  expected.cells[5] = "23";
  EXPECT_EQ(BoardOf(*form), expected);
  ExpectPicturesAgree(*form);
  EXPECT_EQ(HistoryText(*form), "10: 5/ 2");
  EXPECT_TRUE(FollowUpRan());
}

// ---- Double-clicks ----------------------------------------------------------------

TEST_F(SingleCardMoves, ADoubleClickSendsACardHomeBeforeTryingTheFreeCells) {
  MarkFields();
  form->Image1_DblClick(30);  // 4♦ onto 3♦
  EXPECT_TRUE(FollowUpRan());
  form->Image1_DblClick(12);  // 6♦: no home, free cell 0
  form->Image1_DblClick(7);   // Q♠: free cell 3, its column empties

  Board expected = Standard();
  expected.columns[6].removeLast();
  expected.columns[4].removeLast();
  expected.columns[7].clear();
  expected.cells[4] = "13";
  expected.cells[0] = "15";
  expected.cells[3] = "211";
  EXPECT_EQ(BoardOf(*form), expected);
  ExpectPicturesAgree(*form);
  EXPECT_EQ(HistoryText(*form), "6: 30/ 4 | 7: 12/ 0 | 7: 7/ 3");
  EXPECT_EQ(MoveCount, 3);
}

TEST_F(SingleCardMoves, ADoubleClickOnACoveredCardOrWithNoRoomDoesNothingAtAll) {
  MarkFields();
  form->Image1_DblClick(14);
  ExpectUnchanged();
  EXPECT_EQ(form->FirstIndex, 14);
  EXPECT_EQ(form->CardCovered, 1);
  EXPECT_FALSE(FollowUpRan());

  Board full = Standard();
  full.cells[0] = "25";
  full.cells[3] = "34";
  LayOut(*form, full);
  MarkFields();
  form->Image1_DblClick(12);
  EXPECT_EQ(BoardOf(*form), full);
  EXPECT_EQ(HistoryText(*form), "");
  EXPECT_EQ(form->FirstIndex, 12);
  EXPECT_EQ(form->SecondIndex, 77);
  EXPECT_EQ(form->LoopIndex, 4);  // both searches ran to their end
  EXPECT_FALSE(FollowUpRan());
}

TEST_F(SingleCardMoves, ADoubleClickedFreeCellCardGoesHome) {
  MarkFields();
  form->Image2_DblClick(2);
  Board expected = Standard();
  expected.cells[2] = "";
  expected.cells[5] = "23";
  EXPECT_EQ(BoardOf(*form), expected);
  ExpectPicturesAgree(*form);
  EXPECT_EQ(HistoryText(*form), "11: 5/ 2");
  EXPECT_EQ(form->FirstIndex, 5);
  EXPECT_EQ(form->SecondIndex, 2);
  EXPECT_TRUE(FollowUpRan());
}

TEST_F(SingleCardMoves, ADoubleClickOnAnEmptyCellAHomeCellOrAStrandedCardMovesNothing) {
  for (int cell : {0, 4, 1}) {
    SCOPED_TRACE(cell);
    MarkFields();
    form->Image2_DblClick(cell);
    ExpectUnchanged();
    EXPECT_EQ(form->SecondIndex, cell);
    EXPECT_EQ(form->FirstIndex, 77);
    EXPECT_TRUE(FollowUpRan());
  }
}

// ---- Cards the player never sends home ---------------------------------------------

TEST_F(SingleCardMoves, ATwoStaysOffAnEmptyHomeCellAndADoubleClickPutsItInAFreeCell) {
  Board withTwo = Standard();
  withTwo.columns[3] = QStringList{"01"};
  LayOut(*form, withTwo);
  MarkFields();
  PressCard(3);
  for (int home : {6, 7}) form->Image2_DragDrop(home);
  EXPECT_EQ(BoardOf(*form), withTwo);
  EXPECT_TRUE(FollowUpRan());

  form->Image1_DblClick(3);
  Board expected = withTwo;
  expected.columns[3].clear();
  expected.cells[0] = "01";
  EXPECT_EQ(BoardOf(*form), expected);
  ExpectPicturesAgree(*form);
  EXPECT_EQ(HistoryText(*form), "7: 3/ 0");
}

TEST_F(SingleCardMoves, AnUncoveredAceGoesToTheLowestEmptyFreeCellNeverHome) {
  LayOut(*form, LongColumn());
  form->Image1_DblClick(144);
  Board expected = LongColumn();
  expected.columns[0].removeLast();
  expected.cells[1] = "10";
  EXPECT_EQ(BoardOf(*form), expected);
  ExpectPicturesAgree(*form);
  EXPECT_EQ(HistoryText(*form), "7: 144/ 1");  // and in a free cell it stays

  // Dropped on a home cell the ace does not move; the follow-up then sends it
  // home as an automatic move, to the first empty home cell.
  LayOut(*form, LongColumn());
  form->ClearUndoHistory();
  PressCard(144);
  form->Image2_DragDrop(6);
  EXPECT_EQ(HistoryText(*form), "4: 144/ 4");
  EXPECT_EQ(form->Cell[4], "10");
  EXPECT_EQ(form->Cell[6], "");
}

// ---- The covered test reaches the last row; the peek -------------------------------

TEST_F(SingleCardMoves, ACardInRowSeventeenUnderARowEighteenCardIsCovered) {
  LayOut(*form, LongColumn());
  PressCard(136);
  EXPECT_EQ(form->CardCovered, 1);
  form->Image1_DblClick(136);
  PressCell(0);               // the ace of hearts would fit on the two of spades
  form->Image1_DragDrop(136);
  EXPECT_EQ(BoardOf(*form), LongColumn());
  EXPECT_EQ(HistoryText(*form), "");
  EXPECT_EQ(form->CardCovered, 1);
}

TEST_F(SingleCardMoves, TheRightButtonShowsACoveredCardWholeUntilItIsReleased) {
  LayOut(*form, LongColumn());
  PressCell(0);
  PressCard(136, Right);
  EXPECT_FALSE(form->Image1(144).Visible());
  EXPECT_TRUE(form->Image1(136).Visible());
  EXPECT_EQ(form->CardCovered, 0);
  EXPECT_EQ(form->PressButton, 2);
  EXPECT_EQ(form->DragFrom, 0);
  form->Image1_MouseUp(136, Right, 0, 0, 0);
  EXPECT_EQ(form->PressButton, 0);
  ExpectPicturesAgree(*form);

  PressCard(0, Right);
  for (int p = 8; p <= 144; p += 8) EXPECT_FALSE(form->Image1(p).Visible()) << p;
  EXPECT_TRUE(form->Image1(0).Visible());
  EXPECT_TRUE(form->Image1(30).Visible());
  form->Image1(4).setVisible(false);  // the release shows every card, not only those hidden
  form->Image1_MouseUp(0, Right, 0, 0, 0);
  ExpectPicturesAgree(*form);
}

TEST_F(SingleCardMoves, ALeftPressDuringAPeekBringsTheHiddenCardsBack) {
  LayOut(*form, LongColumn());
  PressCard(136, Right);
  EXPECT_FALSE(form->Image1(144).Visible());
  PressCard(136);  // the left button too, on the same card
  EXPECT_TRUE(form->Image1(144).Visible());
  EXPECT_EQ(form->PressButton, 1);
  EXPECT_EQ(form->CardCovered, 1);  // still covered: no drag begins
  form->Image1_MouseUp(136, 1, 0, 0, 0);
  form->Image1_MouseUp(136, Right, 0, 0, 0);
  ExpectPicturesAgree(*form);
  EXPECT_EQ(BoardOf(*form), LongColumn());
}

TEST_F(SingleCardMoves, APressRecordsItsButtonAndSourceAndACellPressOnlyAnOccupiedFreeCell) {
  PressCard(14, Middle);
  EXPECT_EQ(form->PressButton, Middle);
  EXPECT_EQ(form->FirstIndex, 14);
  EXPECT_EQ(form->CardCovered, 1);
  EXPECT_EQ(form->DragFrom, 0);

  form->SecondIndex = 77;
  for (int cell : {0, 3, 4, 5}) PressCell(cell);
  EXPECT_EQ(form->DragFrom, 0);
  EXPECT_EQ(form->SecondIndex, 77);
  PressCell(1, Middle);
  EXPECT_EQ(form->DragFrom, 1);
  EXPECT_EQ(form->SecondIndex, 1);
}

}  // namespace
