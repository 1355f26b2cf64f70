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

constexpr int HistorySlots = 10;
constexpr Long EmptySlotKind = -1;
constexpr Long AceRank = 0;
constexpr int TakeBackButton = 6;

// Move kinds of the history.
enum MoveKind : Long {
  DragTableauToTableau = 1,
  DragRunToTableau = 2,
  DragFreeCellToTableau = 3,
  AutoTableauToHomeCell = 4,
  AutoFreeCellToHomeCell = 5,
  DblClickTableauToHomeCell = 6,
  DblClickTableauToFreeCell = 7,
  DragTableauToFreeCell = 8,
  DragTableauToHomeCell = 9,
  DragFreeCellToHomeCell = 10,
  DblClickFreeCellToHomeCell = 11,
  DragRunToEmptyColumn = 12,
  DragFreeCellToEmptyColumn = 13,
};

// The text before the first "/" and the text after it ("" when there is none).
std::pair<QString, QString> SplitAtSlash(const QString& text) {
  const qsizetype slash = text.indexOf(u'/');
  if (slash < 0) return {text, QString()};
  return {text.left(slash), text.mid(slash + 1)};
}

// ---- The operations of a reversal ---------------------------------------------

// Where a card is taken back from: the picture its control shows now and its code.
struct Origin {
  platform::Picture picture;
  QString code;
};

Origin AtPosition(const Form1& f, Long p) { return {f.Image1(p).Picture(), f.Tableau[p]}; }
Origin AtCell(const Form1& f, Long i) { return {f.Image2(i).Picture(), f.Cell[i]}; }

// Brought to the front so that it covers the card above it again.
void RestorePosition(Form1& f, Long p, const Origin& from) {
  if (IsRowZero(p)) f.Image3(p).setVisible(false);
  f.Image1(p).setVisible(true);
  f.Tableau[p] = from.code;
  f.Image1(p).setPicture(from.picture);
  f.Image1(p).ZOrder();
}

void VacatePosition(Form1& f, Long q) {
  f.Tableau[q] = QString();
  f.Image1(q).setVisible(false);
}

void RestoreFreeCell(Form1& f, Long i, const Origin& from) {
  f.Cell[i] = from.code;
  f.Image2(i).setPicture(from.picture);
}

void EmptyFreeCell(Form1& f, Long i) {
  f.Cell[i] = QString();
  f.Image2(i).setPicture(f.ImageList2.ListImages(EmptySlotMark).Picture());
}

// Only the top card of a pile is kept: the one below it is the same suit one
// rank lower, and an ace leaves the pile empty.
void LowerHomeCell(Form1& f, Long h) {
  f.MovingCard = f.Cell[h];
  const Long suit = SuitOf(f.MovingCard);
  const Long rank = RankOf(f.MovingCard);
  if (rank == AceRank) {
    EmptyFreeCell(f, h);
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
    RestorePosition(f, a - PositionsPerRow * (n - j), AtPosition(f, from));
    VacatePosition(f, from);
  }
}

// The n cards of column b back onto a - 8(n - 1) .. a, leaving column b empty.
void RunBackFromEmptyColumn(Form1& f, Long a, Long b, Long n) {
  ShowMarker(f, b);
  for (Long j = 0; j <= n - 1; ++j) {
    const Long from = b + PositionsPerRow * j;
    RestorePosition(f, a - PositionsPerRow * (n - 1 - j), AtPosition(f, from));
    VacatePosition(f, from);
  }
}

void Reverse(Form1& f, Long kind, Long a, Long b, Long n) {
  switch (kind) {
    case DragTableauToTableau:
      RestorePosition(f, a, AtPosition(f, PositionBelow(b)));
      VacatePosition(f, PositionBelow(b));
      break;
    case DragRunToTableau:
      RunBackFromCard(f, a, b, n);
      break;
    case DragFreeCellToTableau:
      RestoreFreeCell(f, b, AtPosition(f, PositionBelow(a)));
      VacatePosition(f, PositionBelow(a));
      break;
    case AutoTableauToHomeCell:
    case DblClickTableauToHomeCell:
    case DragTableauToHomeCell:
      RestorePosition(f, a, AtCell(f, b));
      LowerHomeCell(f, b);
      break;
    case AutoFreeCellToHomeCell:
      RestoreFreeCell(f, a, AtCell(f, b));
      LowerHomeCell(f, b);
      break;
    case DblClickTableauToFreeCell:
    case DragTableauToFreeCell:
      RestorePosition(f, a, AtCell(f, b));
      EmptyFreeCell(f, b);
      break;
    case DragFreeCellToHomeCell:
    case DblClickFreeCellToHomeCell:
      RestoreFreeCell(f, b, AtCell(f, a));
      LowerHomeCell(f, a);
      break;
    case DragRunToEmptyColumn:
      RunBackFromEmptyColumn(f, a, b, n);
      break;
    case DragFreeCellToEmptyColumn:
      RestoreFreeCell(f, b, AtPosition(f, a));
      VacatePosition(f, a);
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
