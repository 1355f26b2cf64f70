// Moves of several cards on a real Form1: a run dropped onto a card, and runs
// and free-cell cards dropped on an empty column.
//
// The boards hold no ace and keep the home cells empty, so the follow-up
// sends nothing home; columns 5 and 6 hold K♦ and Q♣, a move the search always
// finds, so a board left without free space is never judged stuck.
#include <gtest/gtest.h>

#include <QTest>

#include "board_layout.h"
#include "card_table/form1.h"
#include "card_table/form5.h"
#include "platform/controls.h"
#include "platform/forms.h"
#include "settings_records/form3.h"

using namespace tarnvole;
using namespace board_layout;
using testing_support::ModalAnswerer;

namespace {

const QString Refusal42 = QStringLiteral("4 枚移動しようとしたんだけど 2 枚しか移動できないっす！");

// Free-cell cards that fit nowhere the tests look.
const QStringList CellFillers = {"012", "312", "211", "111"};

Board WithEmptyFreeCells(Board b, int emptyFreeCells) {
  for (int i = 0; i < 4; ++i) b.cells[i] = i < emptyFreeCells ? QString() : CellFillers[i];
  return b;
}

// Column 0: 9♠ 8♥ 7♣ 6♦ (positions 0, 8, 16, 24). Last cards: 1 10♥, 2 8♦,
// 3 10♠, 4 8♣, 5 K♦, 6 Q♣, 7 J♠ (or empty).
Board FourCardRun(int emptyFreeCells, bool column7Empty = false) {
  Board b;
  b.columns = {QStringList{"28", "07", "36", "15"}, {"09"}, {"17"}, {"29"}, {"37"}, {"112"},
               {"311"}, {"210"}};
  if (column7Empty) b.columns[7].clear();
  return WithEmptyFreeCells(b, emptyFreeCells);
}

// Column 0: K♠ 10♣ 9♥ 8♠ 7♦ 6♣, a run of five under the king; the 6♣ at 40 is
// dragged. Column 1 is empty; column 7 holds J♦ alone (or is empty too).
Board FiveCardRun(int emptyFreeCells, bool column7Empty = false) {
  Board b;
  b.columns = {QStringList{"212", "39", "08", "27", "16", "35"}, {}, {"17"}, {"29"}, {"37"},
               {"112"}, {"311"}, {"110"}};
  if (column7Empty) b.columns[7].clear();
  return WithEmptyFreeCells(b, emptyFreeCells);
}

Board Moved(Board b, int fromColumn, int count, int toColumn) {
  QStringList& from = b.columns[fromColumn];
  b.columns[toColumn] << from.mid(from.size() - count);
  from = from.mid(0, from.size() - count);
  return b;
}

class RunMoves : public StartedForm {
 protected:
  void Start(const Board& board) {
    LayOut(*form, board);
    form->ClearUndoHistory();
    MoveCount = 0;
    before = board;
  }
  // The press on the last card of a column, then the drop on a tableau card.
  void DropOnCard(int from, int onto) {
    form->Image1_MouseDown(from, platform::LeftButton, 0, 0, 0);
    form->Image1_DragDrop(onto);
  }
  void DropOnColumn(int from, int column) {
    form->Image1_MouseDown(from, platform::LeftButton, 0, 0, 0);
    form->Image3_DragDrop(column);
  }
  void ExpectUnchanged() {
    EXPECT_EQ(BoardOf(*form), before);
    EXPECT_EQ(History(*form), QStringList());
    EXPECT_EQ(MoveCount, 0);
    ExpectPicturesAgree(*form);
  }
  Board before;
};

// ---- A run onto a card ---------------------------------------------------------

TEST_F(RunMoves, FourCardsGoOntoTheTenOfHeartsWithThreeFreeSpacesAndEmptyTheirColumn) {
  ModalAnswerer answerer;
  Start(FourCardRun(3));
  DropOnCard(24, 1);

  EXPECT_EQ(BoardOf(*form), Moved(before, 0, 4, 1));
  ExpectPicturesAgree(*form);
  EXPECT_TRUE(form->Image3(0).Visible());
  EXPECT_EQ(History(*form), QStringList{"2: 24/ 1/ 3"});
  EXPECT_EQ(MoveCount, 1);
  EXPECT_EQ(answerer.prompts, QStringList());
  // Each card is drawn in front of the one it lies on.
  for (int p : {9, 17, 25})
    EXPECT_EQ(form->ControlAt(form->Image1(p + 8).PixelRect().topLeft() + QPoint(5, 5)),
              &form->Image1(p + 8));
  // The emptied column is a free space for the next move.
  EXPECT_EQ(form->FreeSpaces(), 4);
}

TEST_F(RunMoves, ARunLongerThanTheBoundIsRefusedNamingItsLengthAndTheBound) {
  const struct {
    Board board;
    QString message;
  } cases[] = {
      {FourCardRun(2), QStringLiteral("4 枚移動しようとしたんだけど 3 枚しか移動できないっす！")},
      {FourCardRun(1), Refusal42},
      {FourCardRun(0, true), Refusal42},  // an empty column counts like a free cell
      {FourCardRun(0), QStringLiteral("4 枚移動しようとしたんだけど 1 枚しか移動できないっす！")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message.toStdString());
    ModalAnswerer answerer;
    Start(c.board);
    DropOnCard(24, 1);
    ExpectUnchanged();
    EXPECT_EQ(answerer.prompts, QStringList{c.message});
    EXPECT_EQ(answerer.titles, QStringList{platform::ProgramTitle()});
  }
}

TEST_F(RunMoves, OntoTheEightOfDiamondsTheSevenAndSixGoAndTheRestStays) {
  ModalAnswerer answerer;
  Start(FourCardRun(1));  // the bound is exactly two
  form->FirstIndex = 24;
  form->SecondIndex = 2;
  form->MoveRunOntoCard();
  EXPECT_EQ(form->CardsAbove, 1);
  EXPECT_EQ(form->WorkA, 1);  // the target's suit and rank
  EXPECT_EQ(form->WorkB, 7);

  EXPECT_EQ(BoardOf(*form), Moved(before, 0, 2, 2));
  ExpectPicturesAgree(*form);
  EXPECT_EQ(History(*form), QStringList{"2: 24/ 2/ 1"});
  EXPECT_EQ(MoveCount, 1);
  EXPECT_EQ(answerer.prompts, QStringList());
}

TEST_F(RunMoves, WithNoFreeSpaceEvenTwoCardsOntoACardAreRefusedWithTheBoundOne) {
  ModalAnswerer answerer;
  Start(FourCardRun(0));
  DropOnCard(24, 2);
  ExpectUnchanged();
  EXPECT_EQ(answerer.prompts,
            QStringList{QStringLiteral("2 枚移動しようとしたんだけど 1 枚しか移動できないっす！")});
}

TEST_F(RunMoves, NothingHappensAndNothingIsSaidWhenNoRunCanBeFormed) {
  ModalAnswerer answerer;
  Start(FourCardRun(4));
  DropOnCard(24, 3);   // 10♠: no card of the column fits a black ten
  DropOnCard(24, 4);   // 8♣: nor a black eight
  DropOnCard(24, 24);  // the 6♦ released over itself
  DropOnCard(5, 1);    // K♦, alone in its column, onto the 10♥
  ExpectUnchanged();

  // 8♥ 7♠ 9♦ 8♣: the 8♥ fits the 9♠, but the 7♠ does not lie on the 9♦.
  Board b = FourCardRun(4);
  b.columns[0] = QStringList{"07", "26", "18", "37"};
  b.columns[4] = QStringList{"28"};
  Start(b);
  DropOnCard(24, 4);
  ExpectUnchanged();
  EXPECT_EQ(answerer.prompts, QStringList());
}

TEST_F(RunMoves, ARunFromDeepInAColumnIsEnteredWithItsPositionsAndCardsAbove) {
  // Column 4: K♥ Q♠ J♥ 9♦ 8♣ 7♥; column 5: K♦ Q♣ 10♣, whose 10♣ at 21 takes
  // the 9♦ and the two cards on it.
  Board b = FourCardRun(2);
  b.columns[4] = QStringList{"012", "211", "010", "18", "37", "06"};
  b.columns[5] = QStringList{"112", "311", "39"};
  b.columns[6] = QStringList{"111"};  // Q♦, on which the J♠ of column 7 fits
  b.cells = {"", "", "312", "05", "", "", "", ""};
  Start(b);
  DropOnCard(44, 21);
  EXPECT_EQ(BoardOf(*form), Moved(before, 4, 3, 5));
  ExpectPicturesAgree(*form);
  EXPECT_EQ(History(*form), QStringList{"2: 44/ 21/ 2"});
  EXPECT_EQ(MoveCount, 1);
}

// ---- A drop on an empty column --------------------------------------------------

TEST_F(RunMoves, ARunIntoAnEmptyColumnIsCutToTheBoundWithoutAskingOrSaying) {
  ModalAnswerer answerer;
  QStringList windows;
  answerer.onOtherWindow = [&](QWidget* w) { windows << w->windowTitle(); w->close(); };
  SkipCountChoice = 1;
  Start(FiveCardRun(2));  // two free cells and the target column: three may go
  DropOnColumn(40, 1);

  EXPECT_EQ(BoardOf(*form), Moved(before, 0, 3, 1));
  ExpectPicturesAgree(*form);
  EXPECT_EQ(History(*form), QStringList{"12: 40/ 1/ 3"});
  EXPECT_EQ(MoveCount, 1);
  EXPECT_EQ(CardsToMove, 3);
  EXPECT_EQ(answerer.prompts, QStringList());
  EXPECT_EQ(windows, QStringList());
}

TEST_F(RunMoves, TheChooserOffersTheBoundDownToOneAndItsAnswerIsMoved) {
  for (int answer = 0; answer <= 2; ++answer) {
    SCOPED_TRACE(answer);
    ModalAnswerer answerer;
    QStringList offered;
    answerer.onOtherWindow = [&](QWidget* w) {
      auto* chooser = qobject_cast<Form5*>(w);
      ASSERT_NE(chooser, nullptr);
      offered << chooser->Label1->Caption();
      for (int i = 0; i < chooser->Command1Count(); ++i) offered << chooser->Command1(i).text();
      chooser->Command1(answer).click();
    };
    SkipCountChoice = 0;
    Start(FiveCardRun(2));
    DropOnColumn(40, 1);

    EXPECT_EQ(offered, (QStringList{"3枚移動出来ます・・がっ！", "全　部　移　動　す　る",
                                    "2 枚 移 動 す る", "1 枚 移 動 す る", "キ　ャ　ン　セ　ル"}));
    const int n = 3 - answer;
    EXPECT_EQ(BoardOf(*form), Moved(before, 0, n, 1));
    ExpectPicturesAgree(*form);
    EXPECT_EQ(History(*form), QStringList{QStringLiteral("12: 40/ 1/ %1").arg(n)});
    EXPECT_EQ(MoveCount, 1);
    EXPECT_EQ(CardsToMove, n);
  }
}

TEST_F(RunMoves, CancellingTheChooserLeavesEverythingAsItWas) {
  ModalAnswerer answerer;
  answerer.onOtherWindow = [](QWidget* w) {
    auto* chooser = qobject_cast<Form5*>(w);
    ASSERT_NE(chooser, nullptr);
    chooser->Command1(chooser->Command1Count() - 1).click();
  };
  SkipCountChoice = 0;
  Start(FiveCardRun(2, true));
  form->Image3(7).setVisible(false);  // out of step, as a hint blink leaves it for a moment
  DropOnColumn(40, 1);

  EXPECT_EQ(BoardOf(*form), before);
  EXPECT_EQ(History(*form), QStringList());
  EXPECT_EQ(MoveCount, 0);
  EXPECT_EQ(MoveCancelled, 0);
  EXPECT_EQ(CardsToMove, 0);
  EXPECT_TRUE(form->Image3(1).Visible());
  EXPECT_FALSE(form->Image3(7).Visible());  // no marker refresh after a cancel
  EXPECT_FALSE(platform::IsLoaded<Form5>());
}

TEST_F(RunMoves, WithNoOtherFreeSpaceOnlyTheDraggedCardGoesAndNothingIsAsked) {
  ModalAnswerer answerer;
  int windows = 0;
  answerer.onOtherWindow = [&](QWidget* w) { ++windows; w->close(); };
  SkipCountChoice = 0;
  Start(FiveCardRun(0));
  DropOnColumn(40, 1);
  EXPECT_EQ(BoardOf(*form), Moved(before, 0, 1, 1));
  ExpectPicturesAgree(*form);
  EXPECT_EQ(History(*form), QStringList{"12: 40/ 1/ 1"});
  EXPECT_EQ(windows, 0);
}

TEST_F(RunMoves, TheOnlyCardOfAColumnMovesToAnotherEmptyColumn) {
  SkipCountChoice = 0;
  Start(FiveCardRun(1));
  DropOnColumn(7, 1);
  EXPECT_EQ(BoardOf(*form), Moved(before, 7, 1, 1));
  ExpectPicturesAgree(*form);
  EXPECT_TRUE(form->Image3(7).Visible());
  EXPECT_FALSE(form->Image3(1).Visible());
  EXPECT_EQ(History(*form), QStringList{"12: 7/ 1/ 1"});
  EXPECT_EQ(MoveCount, 1);
}

TEST_F(RunMoves, AFreeCellCardOfAnyRankStartsAnEmptyColumnAndItsCellShowsTheMark) {
  Board b = FiveCardRun(2, true);
  b.cells[0] = "09";   // 10♥
  b.cells[1] = "012";  // K♥
  Start(b);
  form->Image2_MouseDown(1, platform::LeftButton, 0, 0, 0);
  form->Image3_DragDrop(1);
  form->Image2_MouseDown(0, platform::RightButton, 0, 0, 0);
  form->Image3_DragDrop(7);

  Board expected = before;
  expected.columns[1] << "012";
  expected.columns[7] << "09";
  expected.cells[0] = expected.cells[1] = QString();
  EXPECT_EQ(BoardOf(*form), expected);
  ExpectPicturesAgree(*form);
  EXPECT_EQ(History(*form), (QStringList{"13: 1/ 1", "13: 7/ 0"}));
  EXPECT_EQ(MoveCount, 2);
}

TEST_F(RunMoves, AfterADropOnAnEmptyColumnEveryMarkerAgreesWithItsColumnAgain) {
  Board b = FiveCardRun(2, true);
  b.cells[0] = "09";
  Start(b);
  form->Image3(7).setVisible(false);  // out of step, as a hint blink leaves it for a moment
  form->Image2_MouseDown(0, platform::LeftButton, 0, 0, 0);
  form->Image3_DragDrop(1);
  EXPECT_TRUE(form->Image3(7).Visible());
  EXPECT_FALSE(form->Image3(1).Visible());
  ExpectPicturesAgree(*form);
}

TEST_F(RunMoves, AnAcePutIntoAnEmptyColumnFromAFreeCellGoesHomeAtOnce) {
  Board b = FiveCardRun(2);
  b.cells[0] = "00";
  Start(b);
  form->Image2_MouseDown(0, platform::LeftButton, 0, 0, 0);
  form->Image3_DragDrop(1);

  Board expected = before;
  expected.cells[0] = QString();
  expected.cells[4] = "00";
  EXPECT_EQ(BoardOf(*form), expected);
  ExpectPicturesAgree(*form);
  EXPECT_EQ(History(*form), (QStringList{"13: 1/ 0", "4: 1/ 4"}));
  EXPECT_EQ(MoveCount, 2);
}

TEST_F(RunMoves, TheSearchAfterFillingTheLastEmptyColumnCountsItAsOccupied) {
  // Only red cards and full free cells: once column 1 holds the 7♥ nothing
  // can move, and the search must see that, not a free column.
  Board b;
  b.columns = {QStringList{"05", "06"}, {}, {"12"}, {"13"}, {"14"}, {"15"}, {"16"}, {"17"}};
  b.cells = {"01", "02", "03", "04", "", "", "", ""};
  Start(b);
  ModalAnswerer answerer;
  int stalemates = 0;
  answerer.onOtherWindow = [&](QWidget* w) {
    auto* dialog = qobject_cast<Form3*>(w);
    ASSERT_NE(dialog, nullptr);
    ++stalemates;
    dialog->Command2->click();  // keep the lost board
  };
  DropOnColumn(8, 1);
  EXPECT_EQ(stalemates, 1);
  EXPECT_EQ(BoardOf(*form), Moved(before, 0, 1, 1));
  ExpectPicturesAgree(*form);
}

// ---- With the mouse ------------------------------------------------------------------

TEST_F(RunMoves, ARunDraggedWithTheMouseOntoAMarkerFillsThatColumn) {
  SkipCountChoice = 1;
  Start(FiveCardRun(2));
  form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
  const auto pixel = [](int p, int down) {
    return QPoint((210 + 1155 * (p % 8)) / 15 + 35, (2310 + 270 * (p / 8)) / 15 + down);
  };
  const QPoint from = pixel(40, 40);
  const QPoint to = pixel(1, 40);
  ASSERT_EQ(form->ControlAt(to), &form->Image3(1));
  QTest::mousePress(form.get(), Qt::LeftButton, {}, from);
  QTest::mouseMove(form.get(), (from + to) / 2);
  QTest::mouseMove(form.get(), to);
  QTest::mouseRelease(form.get(), Qt::LeftButton, {}, to);

  EXPECT_EQ(BoardOf(*form), Moved(before, 0, 3, 1));
  ExpectPicturesAgree(*form);
  EXPECT_EQ(History(*form), QStringList{"12: 40/ 1/ 3"});
  EXPECT_EQ(form->ControlAt(pixel(1, 5)), &form->Image1(1));
  EXPECT_EQ(form->ControlAt(pixel(9, 5)), &form->Image1(9));
  EXPECT_EQ(form->ControlAt(pixel(17, 40)), &form->Image1(17));
}

}  // namespace
