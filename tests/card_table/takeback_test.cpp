// Taking moves back on a real Form1: single-card moves made through the drop
// and double-click handlers, and the entries of the automatic and run moves
// written as their movers leave the board, each taken back through the
// toolbar's take-back button.
//
// The boards keep every card that fits a home cell held back by a lower card
// of the other colour and leave at least two free spaces, so the follow-up of
// the moves made here sends nothing home and never finds the board stuck.
#include <gtest/gtest.h>

#include <QToolButton>
#include <functional>
#include <initializer_list>

#include "board_layout.h"
#include "card_table/board.h"
#include "card_table/form1.h"
#include "settings_records/module1.h"
#include "support/test_support.h"

using namespace tarnvole;
using namespace board_layout;

namespace {

// Positions: 0 K♣, 8 Q♦ | 1 J♠ | 3 K♠ | 4 8♣, 12 6♦ | 5 5♣ |
// 6 2♣, 14 7♠, 22 3♥, 30 4♦ | 7 Q♠. Column 2 empty.
// Free cells: 1 J♦, 2 4♠. Home: 4 3♦, 5 3♠.
Board Table() {
  Board b;
  b.columns = {QStringList{"312", "111"}, {"210"}, {}, {"212"}, {"37", "15"}, {"34"},
               {"31", "26", "02", "13"}, {"211"}};
  b.cells = {"", "110", "23", "", "12", "22", "", ""};
  return b;
}

// Table with the run J♠ 10♥ 9♠ under the 5♣ (positions 13, 21, 29) and
// column 1 empty.
Board RunTable() {
  Board b = Table();
  b.columns[1].clear();
  b.columns[5] = QStringList{"34", "210", "09", "28"};
  return b;
}

int FaceIndex(const QString& code) { return static_cast<int>(CardImageIndex(code)); }

class TakeBack : public StartedForm {
 protected:
  void SetUp() override {
    StartedForm::SetUp();
    LayOut(*form, Table());
  }

  void PressCard(int position) { form->Image1_MouseDown(position, platform::LeftButton, 0, 0, 0); }
  void PressCell(int cell) { form->Image2_MouseDown(cell, platform::LeftButton, 0, 0, 0); }

  // An entry as a mover writes it, before the board shows the move.
  void Enter(Long kind, Long a, Long b) {
    form->FirstIndex = a;
    form->SecondIndex = b;
    form->RecordMove(kind);
  }

  platform::ToolbarButton& TakeBackButton() { return form->Toolbar1->Buttons(6); }
  // Through the button, as the player does; a disabled button does nothing.
  void ClickTakeBack() { TakeBackButton().Widget()->click(); }

  // Slot z order depends on the play before; here the card above is in front.
  void BringToFront(std::initializer_list<int> positions) {
    for (int p : positions) form->Image1(p).ZOrder();
  }

  // The card at p covers all of the card above it but that card's strip.
  void ExpectInFrontOfTheCardAbove(int p) {
    SCOPED_TRACE(p);
    const QPoint overlap = form->Image1(p).PixelRect().topLeft() + QPoint(5, 5);
    EXPECT_EQ(form->ControlAt(overlap), &form->Image1(p));
    const QPoint strip = form->Image1(p - 8).PixelRect().topLeft() + QPoint(5, 5);
    EXPECT_EQ(form->ControlAt(strip), &form->Image1(p - 8));
  }

  void ExpectNoTakeBackLeft() {
    EXPECT_EQ(form->UndoLevel, -1);
    EXPECT_FALSE(TakeBackButton().Enabled());
  }

  int CellPicture(int cell) const { return form->Image2(cell).Picture().Index(); }
  int SlotPicture(int p) const { return form->Image1(p).Picture().Index(); }
};

// ---- Single cards between tableau positions and free cells ------------------------

TEST_F(TakeBack, CardsDroppedOnCardsGoBackNewestFirstInFrontOfTheCardAboveThem) {
  PressCard(8);
  form->Image1_DragDrop(3);  // Q♦ onto K♠: to 11
  PressCard(1);
  form->Image1_DragDrop(11);  // J♠ onto Q♦: to 19, column 1 empties
  ASSERT_EQ(History(*form), (QStringList{"1: 8/ 3", "1: 1/ 11"}));
  ASSERT_TRUE(form->Image3(1).Visible());
  BringToFront({0});

  ClickTakeBack();
  Board afterFirstMove = Table();
  afterFirstMove.columns[0].removeLast();
  afterFirstMove.columns[3] << "111";
  EXPECT_EQ(BoardOf(*form), afterFirstMove);
  ExpectPicturesAgree(*form);
  EXPECT_FALSE(form->Image3(1).Visible());
  EXPECT_FALSE(form->Image1(19).Visible());
  EXPECT_EQ(SlotPicture(1), FaceIndex("210"));
  EXPECT_EQ(History(*form), QStringList{"1: 8/ 3"});
  EXPECT_EQ(MoveCount, 1);
  EXPECT_EQ(form->UndoLevel, 0);
  EXPECT_TRUE(TakeBackButton().Enabled());

  ClickTakeBack();
  EXPECT_EQ(BoardOf(*form), Table());
  ExpectPicturesAgree(*form);
  ExpectInFrontOfTheCardAbove(8);
  EXPECT_EQ(History(*form), QStringList());
  EXPECT_EQ(MoveCount, 0);
  ExpectNoTakeBackLeft();
}

TEST_F(TakeBack, AFreeCellCardDroppedOnACardGoesBackToItsCell) {
  PressCell(1);
  form->Image1_DragDrop(7);  // J♦ onto Q♠: to 15
  ASSERT_EQ(History(*form), QStringList{"3: 7/ 1"});

  ClickTakeBack();
  EXPECT_EQ(BoardOf(*form), Table());
  ExpectPicturesAgree(*form);
  EXPECT_EQ(CellPicture(1), FaceIndex("110"));
  EXPECT_FALSE(form->Image1(15).Visible());
  EXPECT_EQ(MoveCount, 0);
  ExpectNoTakeBackLeft();
}

TEST_F(TakeBack, ACardSentToAFreeCellLeavesTheCellItWentToNotTheOneDroppedOn) {
  form->Image1_DblClick(12);  // 6♦: free cell 0
  PressCard(1);
  form->Image2_DragDrop(2);  // J♠ dropped on the 4♠: free cell 3
  ASSERT_EQ(History(*form), (QStringList{"7: 12/ 0", "8: 1/ 3"}));
  BringToFront({4});

  ClickTakeBack();
  Board afterFirstMove = Table();
  afterFirstMove.columns[4].removeLast();
  afterFirstMove.cells[0] = "15";
  EXPECT_EQ(BoardOf(*form), afterFirstMove);
  ExpectPicturesAgree(*form);
  EXPECT_EQ(CellPicture(3), EmptySlotMark);
  EXPECT_EQ(CellPicture(2), FaceIndex("23"));
  EXPECT_FALSE(form->Image3(1).Visible());

  ClickTakeBack();
  EXPECT_EQ(BoardOf(*form), Table());
  ExpectPicturesAgree(*form);
  EXPECT_EQ(CellPicture(0), EmptySlotMark);
  ExpectInFrontOfTheCardAbove(12);
  EXPECT_EQ(MoveCount, 0);
  ExpectNoTakeBackLeft();
}

// ---- Cards back from the home cells -------------------------------------------------

TEST_F(TakeBack, ACardBackFromAHomeCellLeavesTheCardBelowItOnThePile) {
  // 4♦ from 30 onto the 3♦ of home cell 4: automatic, double-click and drag.
  Board afterMove = Table();
  afterMove.columns[6].removeLast();
  afterMove.cells[4] = "13";
  const std::function<void()> moves[] = {
      [&] { Enter(4, 30, 4); LayOut(*form, afterMove); },
      [&] { form->Image1_DblClick(30); },
      [&] { PressCard(30); form->Image2_DragDrop(4); },
  };
  const QString entries[] = {"4: 30/ 4", "6: 30/ 4", "9: 30/ 4"};
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(entries[i].toStdString());
    LayOut(*form, Table());
    moves[i]();
    ASSERT_EQ(History(*form), QStringList{entries[i]});
    ASSERT_EQ(BoardOf(*form), afterMove);
    BringToFront({22});

    ClickTakeBack();
    EXPECT_EQ(BoardOf(*form), Table());
    ExpectPicturesAgree(*form);
    EXPECT_EQ(CellPicture(4), FaceIndex("12"));
    EXPECT_EQ(SlotPicture(30), FaceIndex("13"));
    ExpectInFrontOfTheCardAbove(30);
    EXPECT_EQ(form->MovingCard, "13");
    EXPECT_EQ(MoveCount, 0);
    ExpectNoTakeBackLeft();
  }
}

TEST_F(TakeBack, AnAceBackFromItsHomeCellEmptiesTheCellAndStaysOut) {
  Board beforeMove = Table();
  beforeMove.columns[5] << "20";  // A♠ at 13
  Board afterMove = Table();
  afterMove.cells[6] = "20";
  LayOut(*form, beforeMove);
  Enter(4, 13, 6);
  LayOut(*form, afterMove);
  form->HintFrom[0] = "x";
  form->HintTo[0] = "y";
  BringToFront({5});

  ClickTakeBack();
  EXPECT_EQ(BoardOf(*form), beforeMove);
  ExpectPicturesAgree(*form);
  EXPECT_EQ(form->Cell[6], "");
  EXPECT_EQ(CellPicture(6), EmptySlotMark);
  EXPECT_EQ(SlotPicture(13), FaceIndex("20"));
  ExpectInFrontOfTheCardAbove(13);
  EXPECT_EQ(form->MovingCard, "20");
  // Nothing follows: the ace waits for the next move, the hints stay.
  EXPECT_EQ(form->HintFrom[0], "x");
  EXPECT_EQ(form->HintTo[0], "y");
  EXPECT_TRUE(form->Toolbar1->Buttons(8).Enabled());
  EXPECT_EQ(MoveCount, 0);
  ExpectNoTakeBackLeft();
}

TEST_F(TakeBack, AFreeCellCardBackFromAHomeCellGoesBackToItsCell) {
  // 4♠ from free cell 2 onto the 3♠ of home cell 5: automatic, drag, double-click.
  Board afterMove = Table();
  afterMove.cells[2] = "";
  afterMove.cells[5] = "23";
  const std::function<void()> moves[] = {
      [&] { Enter(5, 2, 5); LayOut(*form, afterMove); },
      [&] { PressCell(2); form->Image2_DragDrop(5); },
      [&] { form->Image2_DblClick(2); },
  };
  const QString entries[] = {"5: 2/ 5", "10: 5/ 2", "11: 5/ 2"};
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(entries[i].toStdString());
    LayOut(*form, Table());
    moves[i]();
    ASSERT_EQ(History(*form), QStringList{entries[i]});
    ASSERT_EQ(BoardOf(*form), afterMove);

    ClickTakeBack();
    EXPECT_EQ(BoardOf(*form), Table());
    ExpectPicturesAgree(*form);
    EXPECT_EQ(CellPicture(2), FaceIndex("23"));
    EXPECT_EQ(CellPicture(5), FaceIndex("22"));
    EXPECT_EQ(form->MovingCard, "23");
    EXPECT_EQ(MoveCount, 0);
    ExpectNoTakeBackLeft();
  }
}

// ---- Runs and empty columns (entries and boards as the run moves leave them) -----------

TEST_F(TakeBack, ARunOfThreeGoesBackInOrderEachInFrontOfTheOneAbove) {
  LayOut(*form, RunTable());
  form->CardsAbove = 2;
  Enter(2, 29, 8);
  Board afterMove = RunTable();
  afterMove.columns[5] = QStringList{"34"};
  afterMove.columns[0] << "210" << "09" << "28";
  LayOut(*form, afterMove);
  BringToFront({29, 21, 13, 5});

  ClickTakeBack();
  EXPECT_EQ(BoardOf(*form), RunTable());
  ExpectPicturesAgree(*form);
  for (int p : {16, 24, 32}) EXPECT_FALSE(form->Image1(p).Visible()) << p;
  for (int p : {13, 21, 29}) ExpectInFrontOfTheCardAbove(p);
  EXPECT_EQ(form->MovingCard, " 8/ 2");
  EXPECT_EQ(MoveCount, 0);
  ExpectNoTakeBackLeft();
}

TEST_F(TakeBack, AColumnsOnlyCardBackFromAnEmptyColumnRefillsItsOwnAndEmptiesTheOther) {
  CardsToMove = 1;
  Enter(12, 1, 2);
  Board afterMove = Table();
  afterMove.columns[1].clear();
  afterMove.columns[2] = QStringList{"210"};
  LayOut(*form, afterMove);
  ASSERT_EQ(History(*form), QStringList{"12: 1/ 2/ 1"});

  ClickTakeBack();
  EXPECT_EQ(BoardOf(*form), Table());
  ExpectPicturesAgree(*form);
  EXPECT_FALSE(form->Image3(1).Visible());
  EXPECT_TRUE(form->Image3(2).Visible());
  EXPECT_EQ(form->Image3(2).Picture().Index(), EmptySlotMark);
  EXPECT_EQ(SlotPicture(1), FaceIndex("210"));
  EXPECT_EQ(form->MovingCard, " 2/ 1");
  EXPECT_EQ(MoveCount, 0);
  ExpectNoTakeBackLeft();
}

TEST_F(TakeBack, ARunBackFromAnEmptyColumnGoesUnderTheCardItLeft) {
  LayOut(*form, RunTable());
  CardsToMove = 2;
  Enter(12, 29, 2);
  Board afterMove = RunTable();
  afterMove.columns[5] = QStringList{"34", "210"};
  afterMove.columns[2] = QStringList{"09", "28"};
  LayOut(*form, afterMove);
  BringToFront({29, 21, 13});

  ClickTakeBack();
  EXPECT_EQ(BoardOf(*form), RunTable());
  ExpectPicturesAgree(*form);
  EXPECT_TRUE(form->Image3(2).Visible());
  for (int p : {2, 10}) EXPECT_FALSE(form->Image1(p).Visible()) << p;
  for (int p : {21, 29}) ExpectInFrontOfTheCardAbove(p);
  EXPECT_EQ(form->MovingCard, " 2/ 2");
}

TEST_F(TakeBack, AFreeCellCardBackFromAnEmptyColumnShowsTheColumnsMarker) {
  Enter(13, 2, 1);
  Board afterMove = Table();
  afterMove.cells[1] = "";
  afterMove.columns[2] = QStringList{"110"};
  LayOut(*form, afterMove);

  ClickTakeBack();
  EXPECT_EQ(BoardOf(*form), Table());
  ExpectPicturesAgree(*form);
  EXPECT_EQ(CellPicture(1), FaceIndex("110"));
  EXPECT_TRUE(form->Image3(2).Visible());
  EXPECT_EQ(form->Image3(2).Picture().Index(), EmptySlotMark);
  EXPECT_EQ(MoveCount, 0);
  ExpectNoTakeBackLeft();
}

// ---- How many take-backs --------------------------------------------------------------

TEST_F(TakeBack, TheButtonGoesOffAfterTheAllowedTakeBacksWhileOlderEntriesRemain) {
  ASSERT_EQ(MaxUndoLevel, 2);
  PressCard(8);
  form->Image1_DragDrop(3);
  Board afterFirstMove = BoardOf(*form);
  PressCard(1);
  form->Image1_DragDrop(11);
  form->Image1_DblClick(12);
  PressCell(1);
  form->Image1_DragDrop(7);
  ASSERT_EQ(History(*form), (QStringList{"1: 8/ 3", "1: 1/ 11", "7: 12/ 0", "3: 7/ 1"}));
  ASSERT_EQ(MoveCount, 4);

  for (int level : {1, 0}) {
    ClickTakeBack();
    EXPECT_EQ(form->UndoLevel, level);
    EXPECT_TRUE(TakeBackButton().Enabled());
  }
  ClickTakeBack();
  ExpectNoTakeBackLeft();
  EXPECT_EQ(History(*form), QStringList{"1: 8/ 3"});
  EXPECT_EQ(MoveCount, 1);
  EXPECT_EQ(BoardOf(*form), afterFirstMove);
  ExpectPicturesAgree(*form);

  ClickTakeBack();  // the button is off: nothing happens
  EXPECT_EQ(BoardOf(*form), afterFirstMove);
  EXPECT_EQ(MoveCount, 1);

  form->Image1_DblClick(12);
  EXPECT_EQ(form->UndoLevel, 0);
  EXPECT_TRUE(TakeBackButton().Enabled());
}

TEST_F(TakeBack, WithNoEntryLeftATakeBackChangesNothingAndTurnsTheButtonOff) {
  form.reset();
  ResetModule1ForTesting();
  folder.Write(QStringLiteral("tarnvole.cfg"),
               testing_support::WithRecord(testing_support::DefaultCfgBytes(), 3, " 15"));
  form = std::make_unique<Form1>();
  form->Form_Load();
  form->ClearUndoHistory();
  MoveCount = 0;
  ASSERT_EQ(MaxUndoLevel, 15);
  LayOut(*form, Table());

  form->Image1_DblClick(12);
  ClickTakeBack();
  ASSERT_EQ(BoardOf(*form), Table());
  ASSERT_EQ(History(*form), QStringList());

  // Take-backs still counted with every entry gone, as an edited depth or a
  // slip of the bookkeeping could leave them.
  form->UndoLevel = 4;
  TakeBackButton().setEnabled(true);
  form->MovingCard = "m";
  ClickTakeBack();
  EXPECT_EQ(BoardOf(*form), Table());
  ExpectPicturesAgree(*form);
  EXPECT_EQ(History(*form), QStringList());
  EXPECT_EQ(MoveCount, 0);
  EXPECT_EQ(form->MovingCard, "m");
  ExpectNoTakeBackLeft();

  form->TakeBackMove();
  EXPECT_EQ(BoardOf(*form), Table());
  EXPECT_EQ(MoveCount, 0);
  ExpectNoTakeBackLeft();
}

}  // namespace
