// Taking back the newest move of the history: the cards of that one move go
// back where they were, and nothing follows. A card taken back from a home
// cell stays out until the player's next move, whose automatic moves may send
// it home again.
//
// The entry text is the mover's own record and is read back as written; the
// pictures of restored cards are copied from where the cards lie now, so a
// card looks the same on its way back as it did on its way there.
#include <utility>

#include "card_table/board.h"
#include "card_table/form1.h"
#include "platform/vb.h"

namespace tarnvole {

namespace {

constexpr Long EmptySlotKind = -1;
constexpr Long AceRank = 0;
constexpr int TakeBackButton = 6;

// The text before the first "/" and the text after it ("" when there is none).
std::pair<QString, QString> SplitAtSlash(const QString& text) {
  const qsizetype slash = text.indexOf(u'/');
  if (slash < 0) return {text, QString()};
  return {text.left(slash), text.mid(slash + 1)};
}

// ---- The operations of a reversal ---------------------------------------------

// A card back to tableau position p or free cell i from where it lies now,
// showing the picture that control shows; a card back on the tableau covers
// the card above it again.
void BackToPosition(Form1& f, Long p, Long fromPosition) {
  f.PutOnTableau(p, f.Image1(fromPosition), f.Tableau[fromPosition]);
}
void BackToPositionFromCell(Form1& f, Long p, Long fromCell) {
  f.PutOnTableau(p, f.Image2(fromCell), f.Cell[fromCell]);
}
void BackToCell(Form1& f, Long i, Long fromPosition) {
  f.PutInCell(i, f.Image1(fromPosition), f.Tableau[fromPosition]);
}
void BackToCellFromCell(Form1& f, Long i, Long fromCell) {
  f.PutInCell(i, f.Image2(fromCell), f.Cell[fromCell]);
}

// Only the top card of a pile is kept: the one below it is the same suit one
// rank lower, and an ace leaves the pile empty.
void LowerHomeCell(Form1& f, Long h) {
  f.MovingCard = f.Cell[h];
  const Long suit = SuitOf(f.MovingCard);
  const Long rank = RankOf(f.MovingCard);
  if (rank == AceRank) {
    f.EmptyCell(h);
    return;
  }
  f.Cell[h] = CardCodeOf(suit, rank - 1);
  f.Image2(h).setPicture(f.ImageList2.ListImages(CardImageIndex(f.Cell[h])).Picture());
}

void ShowMarker(Form1& f, Long column) {
  f.Image3(column).setVisible(true);
  f.Image3(column).setPicture(f.ImageList2.ListImages(EmptySlotMark).Picture());
}

// ---- The reversals ----------------------------------------------------------------

// The n + 1 cards below card b back onto a - 8n .. a, the top card of the run first.
void RunBackFromCard(Form1& f, Long a, Long b, Long n) {
  for (Long j = 0; j <= n; ++j) {
    const Long from = b + PositionsPerRow * (j + 1);
    BackToPosition(f, a - PositionsPerRow * (n - j), from);
    f.TakeOffTableau(from);
  }
}

// The n cards of column b back onto a - 8(n - 1) .. a, leaving column b empty.
void RunBackFromEmptyColumn(Form1& f, Long a, Long b, Long n) {
  ShowMarker(f, b);
  for (Long j = 0; j <= n - 1; ++j) {
    const Long from = b + PositionsPerRow * j;
    BackToPosition(f, a - PositionsPerRow * (n - 1 - j), from);
    f.TakeOffTableau(from);
  }
}

void Reverse(Form1& f, Long kind, Long a, Long b, Long n) {
  switch (kind) {
    case DragTableauToTableau:
      BackToPosition(f, a, PositionBelow(b));
      f.TakeOffTableau(PositionBelow(b));
      break;
    case DragRunToTableau:
      RunBackFromCard(f, a, b, n);
      break;
    case DragFreeCellToTableau:
      BackToCell(f, b, PositionBelow(a));
      f.TakeOffTableau(PositionBelow(a));
      break;
    case AutoTableauToHomeCell:
    case DblClickTableauToHomeCell:
    case DragTableauToHomeCell:
      BackToPositionFromCell(f, a, b);
      LowerHomeCell(f, b);
      break;
    case AutoFreeCellToHomeCell:
      BackToCellFromCell(f, a, b);
      LowerHomeCell(f, b);
      break;
    case DblClickTableauToFreeCell:
    case DragTableauToFreeCell:
      BackToPositionFromCell(f, a, b);
      f.EmptyCell(b);
      break;
    case DragFreeCellToHomeCell:
    case DblClickFreeCellToHomeCell:
      BackToCellFromCell(f, b, a);
      LowerHomeCell(f, a);
      break;
    case DragRunToEmptyColumn:
      RunBackFromEmptyColumn(f, a, b, n);
      break;
    case DragFreeCellToEmptyColumn:
      BackToCell(f, b, a);
      f.TakeOffTableau(a);
      ShowMarker(f, a);
      break;
    default:
      break;
  }
}

}  // namespace

// With a depth from an edited file, or any other slip of the bookkeeping, the
// button may still be enabled when no entry is left: such a take-back changes
// nothing on the board and leaves the button disabled, as an empty history
// always has it.
void Form1::TakeBackMove() {
  int slot = HistorySlots - 1;
  while (slot >= 0 && UndoKind[slot] == EmptySlotKind) --slot;
  if (slot < 0) {
    UndoLevel = -1;
    Toolbar1->Buttons(TakeBackButton).setEnabled(false);
    return;
  }

  MoveCount = MoveCount - 1;

  const Long kind = UndoKind[slot];
  const auto [first, rest] = SplitAtSlash(UndoData[slot]);
  const Long a = platform::ValLng(first);
  Long b = 0;
  Long n = 0;
  if (kind == DragRunToTableau || kind == DragRunToEmptyColumn) {
    MovingCard = rest;
    const auto [second, third] = SplitAtSlash(MovingCard);
    b = platform::ValLng(second);
    n = platform::ValLng(third);
  } else {
    b = platform::ValLng(rest);
  }

  Reverse(*this, kind, a, b, n);

  UndoKind[slot] = EmptySlotKind;
  UndoData[slot] = QString();

  UndoLevel = UndoLevel - 1;
  if (UndoLevel < 0) Toolbar1->Buttons(TakeBackButton).setEnabled(false);
}

}  // namespace tarnvole
