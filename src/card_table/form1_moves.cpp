// Single-card moves: presses, drops and double-clicks on the cards and cells,
// and the right-button peek at a covered card.
//
// A drop does not look at what is being dragged: the press that began the
// drag left DragFrom and the source (FirstIndex for a tableau card,
// SecondIndex for a free-cell card), and the drop reads them.
#include "card_table/board.h"
#include "card_table/form1.h"

namespace tarnvole {

namespace {

// ---- The moves ----------------------------------------------------------------
// Each is entered into the history first, while the board still shows the
// position the take-back returns to.

// Kind 1: the card at FirstIndex below the card at SecondIndex.
void MoveTableauCardOntoCard(Form1& f) {
  f.RecordMove(DragTableauToTableau);
  const Long to = PositionBelow(f.SecondIndex);
  f.PutOnTableau(to, f.Image1(f.FirstIndex), f.Tableau[f.FirstIndex]);
  f.TakeOffTableau(f.FirstIndex);
}

// Kind 3: the card of free cell SecondIndex below the card at FirstIndex.
void MoveFreeCellCardOntoCard(Form1& f) {
  f.RecordMove(DragFreeCellToTableau);
  const Long to = PositionBelow(f.FirstIndex);
  f.PutOnTableau(to, f.Image2(f.SecondIndex), f.Cell[f.SecondIndex]);
  f.EmptyCell(f.SecondIndex);
}

// Kinds 6 to 9: the card at FirstIndex into cell SecondIndex.
void MoveTableauCardToCell(Form1& f, Long kind) {
  f.RecordMove(kind);
  f.PutInCell(f.SecondIndex, f.Image1(f.FirstIndex), f.Tableau[f.FirstIndex]);
  f.TakeOffTableau(f.FirstIndex);
}

// Kinds 10 and 11: the card of cell SecondIndex onto home cell FirstIndex.
void MoveCellCardToHome(Form1& f, Long kind) {
  f.RecordMove(kind);
  f.PutInCell(f.FirstIndex, f.Image2(f.SecondIndex), f.Cell[f.SecondIndex]);
  f.EmptyCell(f.SecondIndex);
}

// ---- What follows a move ----------------------------------------------------

void FollowUp(Form1& f) {
  f.AutoMoveToHome();
  f.CheckForWin();
}

void ResetAndFollowUp(Form1& f) {
  f.FirstIndex = 0;
  f.SecondIndex = 0;
  f.PressButton = 0;
  f.CardCovered = 0;
  FollowUp(f);
}

}  // namespace

// ---- Presses, the covered test and the peek ------------------------------------

// Every action of the player on the board begins with a press: the drop or
// double-click that follows belongs to it.
void Form1::Image1_MouseDown(int Index, int Button, int, float, float) {
  StuckShownInAction = 0;
  // Another button going down while the right one shows a covered card whole
  // ends that peek first: the press would otherwise take the right button's
  // place, and no release would bring the hidden cards back.
  if (PressButton == platform::RightButton) ShowEveryCard();
  PressButton = Button;
  FirstIndex = Index;
  CheckCardsOnTop(FirstIndex);
  if (Button == platform::LeftButton && CardCovered == 0) Image1(Index).Drag();
  DragFrom = DragFromTableau;
}

// Sets CardCovered when any card lies on Pos, down to the last row; during a
// right-button press it hides those cards instead, so the pressed card shows
// whole. The walk keeps its own counter: AutoMoveToHome calls it inside its
// loops.
void Form1::CheckCardsOnTop(Long Pos) {
  CardCovered = 0;
  for (Long below = PositionBelow(Pos); below <= MaxPos; below = PositionBelow(below)) {
    if (Tableau[below].isEmpty()) continue;
    if (PressButton == platform::RightButton)
      Image1(below).setVisible(false);
    else
      CardCovered = 1;
  }
}

// The end of a peek shows every card of the board, not only those it hid.
void Form1::Image1_MouseUp(int, int, int, float, float) {
  if (PressButton == platform::RightButton) ShowEveryCard();
  PressButton = 0;
}

// Every card of the board shown again, not only those a peek hid.
void Form1::ShowEveryCard() {
  for (LoopIndex = 0; LoopIndex <= MaxPos; ++LoopIndex)
    if (!Tableau[LoopIndex].isEmpty()) Image1(LoopIndex).setVisible(true);
}

void Form1::Image2_MouseDown(int Index, int, int, float, float) {
  StuckShownInAction = 0;
  if (!IsFreeCell(Index) || Cell[Index].isEmpty()) return;
  SecondIndex = Index;
  Image2(Index).Drag();
  DragFrom = DragFromFreeCell;
}

// Red suits are 0 and 1, black 2 and 3; a value outside 0 to 3 on either side
// counts as the other colour.
bool Form1::IsOppositeColor(const Long& SuitA, const Long& SuitB) const {
  const auto red = [](Long suit) { return suit == 0 || suit == 1; };
  const auto black = [](Long suit) { return suit == 2 || suit == 3; };
  if (red(SuitA)) return !red(SuitB);
  if (black(SuitA)) return !black(SuitB);
  return true;
}

// ---- Drops ----------------------------------------------------------------------

// A card dropped on a tableau card. A tableau card that does not fit is
// handed to the run move, which also covers a card dropped on itself.
void Form1::Image1_DragDrop(int Index) {
  if (DragFrom == DragFromTableau) {
    SecondIndex = Index;
    CheckCardsOnTop(SecondIndex);
    if (CardCovered == 1) return;
    MovingCard = Tableau[FirstIndex];
    TargetCard = Tableau[SecondIndex];
    WorkA = RankOf(MovingCard);
    WorkB = RankOf(TargetCard);
    if (FitsOnto(MovingCard, TargetCard))
      MoveTableauCardOntoCard(*this);
    else
      MoveRunOntoCard();
    ResetAndFollowUp(*this);
  } else if (DragFrom == DragFromFreeCell) {
    FirstIndex = Index;
    CheckCardsOnTop(FirstIndex);
    if (CardCovered == 1) return;
    MovingCard = Cell[SecondIndex];
    TargetCard = Tableau[FirstIndex];
    // A card of the same colour is turned away before the ranks are read.
    WorkA = SuitOf(TargetCard);
    if (!IsOppositeColor(SuitOf(MovingCard), WorkA)) return;
    WorkA = RankOf(MovingCard);
    WorkB = RankOf(TargetCard);
    if (!FitsOnto(MovingCard, TargetCard)) return;
    MoveFreeCellCardOntoCard(*this);
    ResetAndFollowUp(*this);
  }
}

// A card dropped on a cell. A tableau card dropped on any free cell goes into
// the lowest empty one; a free-cell card only ever goes home from here.
void Form1::Image2_DragDrop(int Index) {
  if (DragFrom == DragFromTableau) {
    SecondIndex = Index;
    if (IsFreeCell(Index)) {
      for (LoopIndex = FirstFreeCell; LoopIndex <= LastFreeCell; ++LoopIndex) {
        if (!Cell[LoopIndex].isEmpty()) continue;
        SecondIndex = LoopIndex;
        MoveTableauCardToCell(*this, DragTableauToFreeCell);
        break;
      }
    } else {
      MovingCard = Tableau[FirstIndex];
      TargetCard = Cell[SecondIndex];
      if (FitsHome(MovingCard, TargetCard)) MoveTableauCardToCell(*this, DragTableauToHomeCell);
    }
    FollowUp(*this);
  } else if (DragFrom == DragFromFreeCell) {
    if (IsFreeCell(Index)) return;
    FirstIndex = Index;
    MovingCard = Cell[SecondIndex];
    TargetCard = Cell[FirstIndex];
    if (!FitsHome(MovingCard, TargetCard)) return;
    MoveCellCardToHome(*this, DragFreeCellToHomeCell);
    FollowUp(*this);
  }
}

// ---- Double-clicks ------------------------------------------------------------------

// An uncovered card goes home if it can, else into the lowest empty free cell.
// An ace fits no empty home cell, so the player's double-click never sends
// one home.
void Form1::Image1_DblClick(int Index) {
  FirstIndex = Index;
  CheckCardsOnTop(FirstIndex);
  if (CardCovered != 0) return;
  for (LoopIndex = FirstHomeCell; LoopIndex <= LastHomeCell; ++LoopIndex) {
    if (!FitsHome(Tableau[FirstIndex], Cell[LoopIndex])) continue;
    SecondIndex = LoopIndex;
    MoveTableauCardToCell(*this, DblClickTableauToHomeCell);
    FollowUp(*this);
    return;
  }
  for (LoopIndex = FirstFreeCell; LoopIndex <= LastFreeCell; ++LoopIndex) {
    if (!Cell[LoopIndex].isEmpty()) continue;
    SecondIndex = LoopIndex;
    MoveTableauCardToCell(*this, DblClickTableauToFreeCell);
    FollowUp(*this);
    return;
  }
}

// Only a free-cell card can fit a home cell: an empty cell never does, and a
// home cell's card fits no other home cell, each suit being built on one.
void Form1::Image2_DblClick(int Index) {
  SecondIndex = Index;
  MovingCard = Cell[Index];
  for (LoopIndex = FirstHomeCell; LoopIndex <= LastHomeCell; ++LoopIndex) {
    TargetCard = Cell[LoopIndex];
    if (!FitsHome(MovingCard, TargetCard)) continue;
    FirstIndex = LoopIndex;
    MoveCellCardToHome(*this, DblClickFreeCellToHomeCell);
    break;
  }
  FollowUp(*this);
}

}  // namespace tarnvole
