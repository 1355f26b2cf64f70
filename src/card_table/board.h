// The vocabulary of cards that every handler of the card table speaks.
#pragma once

#include <QString>

#include "platform/vb.h"
#include "settings_records/module1.h"

namespace tarnvole {

// The suit of a card code: the number of its first character (0 for "").
inline Long SuitOf(const QString& code) { return platform::ValLng(platform::Left(code, 1)); }

// The rank of a card code: the number of the text from its second character
// on (0 for "").
inline Long RankOf(const QString& code) { return platform::ValLng(platform::Mid(code, 2)); }

// The code of a card: the suit's digit and the rank's digits, no blanks.
inline QString CardCodeOf(Long suit, Long rank) {
  return platform::Mid(platform::Str(suit), 2) + platform::Mid(platform::Str(rank), 2);
}

// The picture of a card in ImageList2.
inline Long CardImageIndex(const QString& code) { return SuitOf(code) * 13 + RankOf(code) + 1; }

// Whether a card fits a home cell whose top card is `home`: the same suit
// digit, compared as text, and one rank higher. An empty home cell has no
// first character, so nothing fits it.
inline bool FitsHome(const QString& card, const QString& home) {
  return platform::Left(home, 1) == platform::Left(card, 1) && !home.isEmpty() &&
         RankOf(home) == RankOf(card) - 1;
}

// Cells: 0 to 3 the free cells, 4 to 7 the home cells.
constexpr Long FirstFreeCell = 0;
constexpr Long LastFreeCell = 3;
constexpr Long FirstHomeCell = 4;
constexpr Long LastHomeCell = 7;
inline bool IsFreeCell(Long cell) { return cell >= FirstFreeCell && cell <= LastFreeCell; }

// Tableau positions run row by row, eight to a row: p + 8 lies directly
// below p and covers it, and the first eight are the columns' row-0 spots.
constexpr Long PositionsPerRow = 8;
inline Long PositionBelow(Long position) { return position + PositionsPerRow; }
inline bool IsRowZero(Long position) { return position < PositionsPerRow; }

// The kinds of move the history records, by the procedure that made them.
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

// Where the running drag began (DragFrom).
constexpr Long DragFromTableau = 0;
constexpr Long DragFromFreeCell = 1;

// Hint locations, as the move search writes them and the hint display reads
// them: the area digit and then the index with its leading blank ("1 13" is
// tableau position 13, "2 0" free cell 0).
constexpr Long AreaTableau = 1;
constexpr Long AreaCell = 2;
constexpr Long AreaEmptyColumn = 3;
inline QString HintLocation(Long area, Long index) { return platform::PlainText(area) + platform::Str(index); }

}  // namespace tarnvole
