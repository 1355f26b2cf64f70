// Dragging and double-clicking with real mouse events on the shown window:
// the pixel under the pointer decides, by the stacking order of the cards,
// which card or cell takes the drop.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QToolButton>

#include "board_layout.h"
#include "card_table/form1.h"
#include "platform/dialog_controls.h"
#include "settings_records/form3.h"

using namespace tarnvole;
using namespace board_layout;

namespace {

// The same board as the handler tests: 0 K♣, 8 Q♦ | 1 J♠ | 4 8♣, 12 6♦ |
// 6 2♣, 14 7♠, 22 3♥, 30 4♦ | 7 Q♠; free cells 1 J♦, 2 4♠; home 4 3♦, 5 3♠.
Board Standard() {
  Board b;
  b.columns = {QStringList{"312", "111"}, {"210"}, {}, {}, {"37", "15"}, {},
               {"31", "26", "02", "13"}, {"211"}};
  b.cells = {"", "110", "23", "", "12", "22", "", ""};
  return b;
}

QPoint Pixel(int xTwips, int yTwips) { return QPoint(xTwips / 15, yTwips / 15); }

// A point on tableau position p, `down` pixels below its top edge: within the
// first 18 pixels for the strip a covered card shows.
QPoint OnCard(int p, int down = 8) {
  return Pixel(210 + 1155 * (p % 8), 2310 + 270 * (p / 8)) + QPoint(35, down);
}
QPoint OnCell(int i) { return Pixel(CellLeft[i], 525) + QPoint(35, 48); }
const QPoint BareBoard = Pixel(4700, 2000);  // between the cells and the columns
const QPoint Eyes = Pixel(4515 + 270, 1050 + 200);

class Dragging : public StartedForm {
 protected:
  void SetUp() override {
    StartedForm::SetUp();
    LayOut(*form, Standard());
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
  }
  void Drag(QPoint from, QPoint to, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mousePress(form.get(), button, {}, from);
    QTest::mouseMove(form.get(), (from + to) / 2);
    QTest::mouseMove(form.get(), to);
    QTest::mouseRelease(form.get(), button, {}, to);
  }
  void MarkFields() {
    form->FirstIndex = form->SecondIndex = form->CardCovered = 77;
  }
};

TEST_F(Dragging, TheLastCardOfAColumnDraggedOntoTheLastCardOfAnotherMovesBelowIt) {
  QTest::mouseMove(form.get(), Pixel(9000, 7000));  // the pointer starts far away
  QTest::mousePress(form.get(), Qt::LeftButton, {}, OnCard(1, 40));
  ASSERT_TRUE(form->Dragging());
  EXPECT_EQ(form->DragSource(), &form->Image1(1));
  QTest::mouseMove(form.get(), BareBoard);
  // The card follows the pointer, held where it was taken.
  const QImage during = form->grab().toImage();
  const QColor board(255, 255, 192);
  EXPECT_NE(during.pixelColor(BareBoard), board);
  EXPECT_NE(during.pixelColor(BareBoard - QPoint(30, 0)), board);
  EXPECT_NE(during.pixelColor(BareBoard + QPoint(0, 15)), board);
  EXPECT_EQ(during.pixelColor(BareBoard + QPoint(40, 0)), board);

  QTest::mouseMove(form.get(), OnCard(8, 60));
  QTest::mouseRelease(form.get(), Qt::LeftButton, {}, OnCard(8, 60));
  EXPECT_FALSE(form->Dragging());
  EXPECT_EQ(form->Tableau[16], "210");
  EXPECT_EQ(form->Tableau[1], "");
  EXPECT_EQ(HistoryText(*form), "1: 1/ 8");
  ExpectPicturesAgree(*form);
  EXPECT_EQ(form->grab().toImage().pixelColor(BareBoard), board);
}

TEST_F(Dragging, AReleaseOverACoveredCardsStripDropsOnThatCoveredCardAndNothingHappens) {
  Drag(OnCard(1, 40), OnCard(14, 10));
  EXPECT_EQ(BoardOf(*form), Standard());
  EXPECT_EQ(form->SecondIndex, 14);  // the strip is the covered card's, not the one behind
  EXPECT_EQ(form->CardCovered, 1);
  EXPECT_EQ(form->FirstIndex, 1);    // no reset
  EXPECT_EQ(HistoryText(*form), "");
}

TEST_F(Dragging, AReleaseOverTheBareBoardTheEyesOrTheToolbarArrivesNowhere) {
  for (QPoint to : {BareBoard, Eyes, Pixel(6000, 200), Pixel(4700, 7450)}) {
    SCOPED_TRACE(to.y());
    MarkFields();
    Drag(OnCard(7, 40), to);
    EXPECT_FALSE(form->Dragging());
    EXPECT_EQ(form->SecondIndex, 77);
    EXPECT_EQ(form->FirstIndex, 7);
    EXPECT_EQ(BoardOf(*form), Standard());
    ExpectPicturesAgree(*form);
  }
}

TEST_F(Dragging, ACoveredCardTakenWithTheLeftButtonBeginsNoDrag) {
  QTest::mousePress(form.get(), Qt::LeftButton, {}, OnCard(14, 10));
  EXPECT_FALSE(form->Dragging());
  QTest::mouseMove(form.get(), OnCard(7, 40));
  QTest::mouseRelease(form.get(), Qt::LeftButton, {}, OnCard(7, 40));
  EXPECT_EQ(BoardOf(*form), Standard());
  EXPECT_EQ(form->PressButton, 0);
}

TEST_F(Dragging, TheRightButtonShowsTheCoveredCardWholeUntilReleasedAndDragsNothing) {
  QTest::mousePress(form.get(), Qt::RightButton, {}, OnCard(14, 10));
  EXPECT_FALSE(form->Dragging());
  EXPECT_FALSE(form->Image1(22).Visible());
  EXPECT_FALSE(form->Image1(30).Visible());
  EXPECT_EQ(form->ControlAt(OnCard(14, 60)), &form->Image1(14));
  QTest::mouseMove(form.get(), OnCard(7, 40));
  QTest::mouseRelease(form.get(), Qt::RightButton, {}, OnCard(7, 40));
  EXPECT_EQ(BoardOf(*form), Standard());
  ExpectPicturesAgree(*form);
  EXPECT_EQ(form->PressButton, 0);
}

TEST_F(Dragging, ADoubleClickDropsTheCardOnItselfFirstThenSendsItToAFreeCell) {
  MarkFields();
  QTest::mousePress(form.get(), Qt::LeftButton, {}, OnCard(7, 40));
  QTest::mouseRelease(form.get(), Qt::LeftButton, {}, OnCard(7, 40));
  EXPECT_EQ(form->FirstIndex, 0);  // the reset after a drop on a tableau card
  EXPECT_EQ(form->SecondIndex, 0);
  EXPECT_EQ(BoardOf(*form), Standard());
  QTest::mouseDClick(form.get(), Qt::LeftButton, {}, OnCard(7, 40));
  QTest::mouseRelease(form.get(), Qt::LeftButton, {}, OnCard(7, 40));

  Board expected = Standard();
  expected.columns[7].clear();
  expected.cells[0] = "211";
  EXPECT_EQ(BoardOf(*form), expected);
  ExpectPicturesAgree(*form);
  EXPECT_EQ(HistoryText(*form), "7: 7/ 0");
}

// A click as the window system reports it, soon enough after the last for
// Qt to pair the two into a double-click.
void QuickClick(QWidget* window, QPoint at) {
  for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
    QTest::lastMouseTimestamp += 40;
    qt_handleMouseEvent(window->windowHandle(), at, window->mapToGlobal(at),
                        type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                        Qt::LeftButton, type, Qt::NoModifier, QTest::lastMouseTimestamp);
    QCoreApplication::processEvents();
  }
}

// Qt pairs clicks by time and distance alone: a pair whose first click went
// to a dialog's button over the card, or to the strip of the card above, is
// a plain click on the card (dropping it on itself), not a move home.
TEST_F(Dragging, OnlyAPairWhoseFirstPressWentToTheSameCardIsADoubleClick) {
  const QPoint card = OnCard(30, 1);  // 4♦, two pixels below the press on the 3♥ above
  QWidget dialog;
  auto* ok = new platform::CommandButton(&dialog, "OK");
  ok->setGeometry(0, 0, 80, 30);
  ok->Click = [&dialog] { dialog.hide(); };
  const std::pair<std::function<void()>, bool> cases[] = {
      {[&] {
         dialog.move(form->mapToGlobal(card) - ok->rect().center());
         dialog.show();
         ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
         QuickClick(&dialog, ok->rect().center());
         ASSERT_TRUE(dialog.isHidden());
       },
       false},
      {[&] { QuickClick(form.get(), OnCard(22, 17)); }, false},
      {[&] { QuickClick(form.get(), card); }, true}};
  // Each second click reaches the board as Qt's double-click event.
  struct : QObject {
    int count = 0;
    bool eventFilter(QObject*, QEvent* event) override {
      count += event->type() == QEvent::MouseButtonDblClick ? 1 : 0;
      return false;
    }
  } doubleClickEvents;
  form->installEventFilter(&doubleClickEvents);
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(i);
    const auto& [firstClick, doubleClick] = cases[i];
    QTest::lastMouseTimestamp += 1000;  // no pair with the case before
    LayOut(*form, Standard());
    firstClick();
    const int before = doubleClickEvents.count;
    QuickClick(form.get(), card);
    ASSERT_EQ(doubleClickEvents.count, before + 1);
    Board expected = Standard();
    if (doubleClick) {
      expected.columns[6].removeLast();
      expected.cells[4] = "13";
    }
    EXPECT_EQ(BoardOf(*form), expected);
    EXPECT_EQ(HistoryText(*form), doubleClick ? "6: 30/ 4" : "");
  }
  form->removeEventFilter(&doubleClickEvents);
}

// The mirror case: the first click of a double-click on a kept lost board
// drops the card on itself and brings up the stalemate dialog, here with its
// upper button under the pointer. The second click, which Qt pairs with the
// first, was aimed at the card: the dialog ignores it and stays up, and the
// board stays. A fresh click then presses the dialog as usual.
TEST_F(Dragging, AWindowShownAfterThePairsFirstPressIgnoresItsSecondPress) {
  Board stuck;  // red cards on red ones and kings in the free cells: nothing moves
  stuck.columns = {QStringList{"00", "01"}, {"10", "11"}, {"02"}, {"12"}, {"03"}, {"13"}, {"04"}, {"14"}};
  stuck.cells = {"012", "112", "212", "312", "", "", "", ""};
  LayOut(*form, stuck);
  const QPoint card = OnCard(8, 40);
  testing_support::ModalAnswerer answerer;
  int shown = 0;
  bool stayedUp = false;
  answerer.onOtherWindow = [&](QWidget* window) {
    QPointer<Form3> dialog = qobject_cast<Form3*>(window);
    ASSERT_NE(dialog, nullptr);
    ++shown;
    dialog->move(dialog->pos() + form->mapToGlobal(card) -
                 dialog->mapToGlobal(dialog->Command1->geometry().center()));
    const QPoint pointer = dialog->mapFromGlobal(form->mapToGlobal(card));
    EXPECT_TRUE(dialog->Command1->geometry().contains(pointer));
    QuickClick(dialog, pointer);
    stayedUp = dialog && dialog->isVisible();
    if (!dialog) return;
    QTest::lastMouseTimestamp += 1000;
    QuickClick(dialog, dialog->Command2->geometry().center());  // keep the lost board
  };
  QTest::lastMouseTimestamp += 1000;
  QuickClick(form.get(), card);
  EXPECT_EQ(shown, 1);
  EXPECT_TRUE(stayedUp);
  EXPECT_FALSE(platform::IsLoaded<Form3>());
  EXPECT_EQ(BoardOf(*form), stuck);
  EXPECT_EQ(HistoryText(*form), "");
  platform::Unload<Form3>();
}

TEST_F(Dragging, AFreeCellCardIsDraggedWithAnyButtonAndAnEmptyOrHomeCellWithNone) {
  Drag(OnCell(1), OnCard(7, 60), Qt::RightButton);  // J♦ onto Q♠
  Drag(OnCell(2), OnCell(5), Qt::MiddleButton);    // 4♠ onto 3♠
  Board expected = Standard();
  expected.columns[7] << "110";
  expected.cells[1] = "";
  expected.cells[2] = "";
  expected.cells[5] = "23";
  EXPECT_EQ(BoardOf(*form), expected);
  EXPECT_EQ(HistoryText(*form), "3: 7/ 1 | 10: 5/ 2");

  for (int cell : {0, 4}) {
    QTest::mousePress(form.get(), Qt::LeftButton, {}, OnCell(cell));
    EXPECT_FALSE(form->Dragging()) << cell;
    QTest::mouseRelease(form.get(), Qt::LeftButton, {}, OnCard(12, 60));
  }
  EXPECT_EQ(BoardOf(*form), expected);
}

TEST_F(Dragging, ACardReleasedOverAnOccupiedFreeCellGoesIntoTheLowestEmptyOne) {
  Drag(OnCard(12, 60), OnCell(2));
  EXPECT_EQ(form->Cell[0], "15");
  EXPECT_EQ(HistoryText(*form), "8: 12/ 0");
  ExpectPicturesAgree(*form);
}

TEST_F(Dragging, ThePointerOverAToolbarButtonIsReportedInToolbarTwips) {
  QPointF reported(-1, -1);
  form->Toolbar1->MouseMove = [&](int, int, int, float x, float y) { reported = QPointF(x, y); };
  QToolButton* button = form->Toolbar1->Buttons(4).Widget();
  QMouseEvent move(QEvent::MouseMove, QPointF(5, 6), button->mapToGlobal(QPointF(5, 6)),
                   Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(button, &move);
  const QPoint inToolbar = button->pos() + QPoint(5, 6);
  EXPECT_EQ(reported, QPointF(inToolbar.x() * 15, inToolbar.y() * 15));
}

}  // namespace
