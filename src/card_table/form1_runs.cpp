// Moves of several cards: a run onto a card, and any drop on an empty column.
//
// How many cards may move together is bounded by the free spaces: a run onto
// a card is refused when it is longer than FreeSpaces + 1, a run into an
// empty column is cut to FreeSpaces (the target column's own marker counting
// there), and the player may then choose fewer in Form5.
#include "card_table/board.h"
#include "card_table/form1.h"
#include "card_table/form5.h"
#include "platform/forms.h"
#include "platform/vb.h"

namespace tarnvole {

namespace {

// One card of a run from tableau position s to t, both of whose columns may
// change between empty and occupied on the way.
void PlaceRunCard(Form1& f, Long s, Long t) {
  f.PutOnTableau(t, f.Image1(s), f.Tableau[s]);
  f.TakeOffTableau(s);
}

QString RefusalText(Long cards, Long bound) {
  return platform::PlainText(cards) + QStringLiteral(" 枚移動しようとしたんだけど ") +
         platform::PlainText(bound) + QStringLiteral(" 枚しか移動できないっす！");
}

// Kind 13: the card of free cell SecondIndex into the empty column `column`.
// Any card may start a column.
void MoveFreeCellCardToEmptyColumn(Form1& f, int column) {
  const Long cell = f.SecondIndex;
  f.FirstIndex = column;
  f.RecordMove(DragFreeCellToEmptyColumn);
  f.PutOnTableau(column, f.Image2(cell), f.Cell[cell]);
  f.EmptyCell(cell);
}

// The run ending at the dragged card at FirstIndex, as long as it is, cut to
// the bound, and then as many as the player chooses. False when the player
// cancelled.
bool ChooseCardsToMove(Form1& f) {
  CardsToMove = 1;
  for (f.LoopIndex = f.FirstIndex - PositionsPerRow;
       f.LoopIndex >= 0 && f.FitsOnto(f.Tableau[PositionBelow(f.LoopIndex)], f.Tableau[f.LoopIndex]);
       f.LoopIndex -= PositionsPerRow)
    ++CardsToMove;
  f.LoopCount = f.FreeSpaces();
  if (CardsToMove > f.LoopCount) CardsToMove = f.LoopCount;
  if (SkipCountChoice == 0 && CardsToMove > 1) platform::Show<Form5>(platform::Modal);
  if (MoveCancelled == 1) {
    MoveCancelled = 0;
    return false;
  }
  return true;
}

// Kind 12: the last CardsToMove cards of the dragged card's column into the
// empty column SecondIndex, the one nearest row 0 first.
void MoveRunToEmptyColumn(Form1& f) {
  f.RecordMove(DragRunToEmptyColumn);
  f.LoopCount = 0;
  for (f.LoopIndex = CardsToMove - 1; f.LoopIndex >= 0; --f.LoopIndex) {
    PlaceRunCard(f, f.FirstIndex - PositionsPerRow * f.LoopIndex, f.SecondIndex + f.LoopCount);
    f.LoopCount += PositionsPerRow;
  }
}

}  // namespace

// The dragged card at FirstIndex does not fit the card at SecondIndex by
// itself: the first card going up its column that does fit becomes the top of
// a run, which moves when every card of it lies in sequence and the free
// spaces allow.
void Form1::MoveRunOntoCard() {
  // The target's suit and rank stay in the shared fields for the steps after.
  WorkA = SuitOf(Tableau[SecondIndex]);
  WorkB = RankOf(Tableau[SecondIndex]);

  CardsAbove = 0;
  for (LoopIndex = FirstIndex - PositionsPerRow;; LoopIndex -= PositionsPerRow) {
    if (LoopIndex < 0) return;  // no card of the column fits the target
    ++CardsAbove;
    if (FitsOnto(Tableau[LoopIndex], Tableau[SecondIndex])) break;
  }
  for (LoopIndex = FirstIndex - PositionsPerRow;
       LoopIndex >= FirstIndex - PositionsPerRow * CardsAbove; LoopIndex -= PositionsPerRow)
    if (!FitsOnto(Tableau[PositionBelow(LoopIndex)], Tableau[LoopIndex])) return;

  LoopCount = FreeSpaces();
  if (CardsAbove > LoopCount) {
    platform::MsgBox(RefusalText(CardsAbove + 1, LoopCount + 1), platform::vbOKOnly);
    return;
  }

  RecordMove(DragRunToTableau);
  LoopCount = PositionsPerRow;
  for (LoopIndex = CardsAbove; LoopIndex >= 0; --LoopIndex) {
    PlaceRunCard(*this, FirstIndex - PositionsPerRow * LoopIndex, SecondIndex + LoopCount);
    LoopCount += PositionsPerRow;
  }
}

// A drop on the marker of an empty column. After the follow-up the markers
// are set from the board once more, whatever the follow-up did to it.
void Form1::Image3_DragDrop(int Index) {
  if (DragFrom == DragFromFreeCell) {
    MoveFreeCellCardToEmptyColumn(*this, Index);
  } else {
    SecondIndex = Index;
    if (!ChooseCardsToMove(*this)) return;
    MoveRunToEmptyColumn(*this);
  }
  AutoMoveToHome();
  CheckForWin();
  for (LoopIndex = 0; LoopIndex <= 7; ++LoopIndex)
    Image3(LoopIndex).setVisible(Tableau[LoopIndex].isEmpty());
}

}  // namespace tarnvole
