// The move search: up to six moves worth suggesting, appended to the hint
// lists, and the judgement whether the game is stuck. A stuck game is ended
// here: the stalemate dialog books the loss, then a new deal follows unless
// the player asked to look at the lost board.
//
// The search plays nothing ahead. It runs twelve fixed pattern tests, blocks
// A to L, over the last one to three cards of each column, the free cells
// and the home cells, looking deeper the fewer free spaces are left.
#include "card_table/board.h"
#include "card_table/form1.h"
#include "platform/forms.h"
#include "settings_records/form3.h"
#include "settings_records/module1.h"

namespace tarnvole {

namespace {

constexpr Long HintEntries = 6;
constexpr Long FirstColumn = 0;
constexpr Long LastColumn = 7;
constexpr Long NoSpace = -1;

// With this many free spaces the game is never judged stuck.
constexpr Long PlentyOfFreeSpaces = 3;

// One search over the board of a window. It counts with the window's shared
// LoopIndex and LoopCount, as every procedure of the window does.
class MoveSearch {
 public:
  explicit MoveSearch(Form1& form) : f(form) {}

  bool FindsTheGameStuck() {
    freeSpaces_ = f.FreeSpaces();
    WorkOutColumnBottoms();
    found_ = false;
    FreeCellCardsHome();           // A
    FreeCellCardsOntoLastCards();  // B
    ColumnCardsHome(0);            // C
    LastCardsOntoLastCards();      // D
    if (freeSpaces_ == 0) return !found_;
    if (freeSpaces_ >= PlentyOfFreeSpaces) return false;

    FindLowestFreeSpaces();
    // An empty column is a way out by itself, though no entry names it.
    if (lowestEmptyColumn_ != NoSpace) found_ = true;
    ToTheFreeSpace(1);   // E
    ColumnCardsHome(1);  // F
    ColumnCardsOntoLastCards(1, [this](Long s, Long t) {  // G
      return f.FitsOnto(CardAbove(s, 1), LastCard(t));
    });
    ColumnCardsOntoLastCards(1, [this](Long s, Long t) {  // H
      return IsRun(s, 2) && f.FitsOnto(CardAbove(s, 1), LastCard(t));
    });
    if (freeSpaces_ == 2) {
      ToTheFreeSpace(2);   // I
      ColumnCardsHome(2);  // J
      ColumnCardsOntoLastCards(2, [this](Long s, Long t) {  // K
        return f.FitsOnto(CardAbove(s, 2), LastCard(t));
      });
      ColumnCardsOntoLastCards(2, [this](Long s, Long t) {  // L
        return IsRun(s, 3) && f.FitsOnto(CardAbove(s, 2), LastCard(t));
      });
    }
    return !found_;
  }

 private:
  // The position of each column's last card; the row-0 position for an
  // empty column and for a column of one card alike.
  void WorkOutColumnBottoms() {
    for (f.LoopIndex = FirstColumn; f.LoopIndex <= LastColumn; ++f.LoopIndex) {
      Long p = f.LoopIndex;
      while (PositionBelow(p) <= f.MaxPos && !f.Tableau[PositionBelow(p)].isEmpty()) p = PositionBelow(p);
      f.ColumnBottom[f.LoopIndex] = p;
    }
  }

  void FindLowestFreeSpaces() {
    lowestFreeCell_ = NoSpace;
    for (f.LoopIndex = FirstFreeCell; f.LoopIndex <= LastFreeCell && lowestFreeCell_ == NoSpace; ++f.LoopIndex)
      if (f.Cell[f.LoopIndex].isEmpty()) lowestFreeCell_ = f.LoopIndex;
    lowestEmptyColumn_ = NoSpace;
    for (f.LoopIndex = FirstColumn; f.LoopIndex <= LastColumn && lowestEmptyColumn_ == NoSpace; ++f.LoopIndex)
      if (f.Image3(f.LoopIndex).Visible()) lowestEmptyColumn_ = f.LoopIndex;
  }

  // ---- The board as the blocks see it ----------------------------------------

  Long CardsIn(Long column) const {
    if (f.Tableau[column].isEmpty()) return 0;
    return f.ColumnBottom[column] / PositionsPerRow + 1;
  }

  // The card `depth` rows up from the last card of a column: 0 the last card,
  // 1 the second card (the one the last card lies on), 2 the third.
  Long PositionAbove(Long column, Long depth) const {
    return f.ColumnBottom[column] - PositionsPerRow * depth;
  }
  const QString& CardAbove(Long column, Long depth) const { return f.Tableau[PositionAbove(column, depth)]; }
  const QString& LastCard(Long column) const { return CardAbove(column, 0); }

  // An empty home cell takes nothing here, not even an ace: only a pile that
  // has been started counts as progress.
  bool GoesHome(const QString& card, Long home) const { return FitsHome(card, f.Cell[home]); }

  // Whether the last `length` cards of a column form a run: each fits onto
  // the one it lies on.
  bool IsRun(Long column, Long length) const {
    for (Long depth = 0; depth + 1 < length; ++depth)
      if (!f.FitsOnto(CardAbove(column, depth), CardAbove(column, depth + 1))) return false;
    return true;
  }

  // ---- Recording ------------------------------------------------------------

  // Appends to the lists while an entry is free; a match counts even when
  // the lists are full.
  void Record(const QString& from, const QString& to) {
    for (Long k = 0; k < HintEntries; ++k) {
      if (f.HintFrom[k].isEmpty()) {
        f.HintFrom[k] = from;
        f.HintTo[k] = to;
        break;
      }
    }
    found_ = true;
  }

  QString TheFreeSpace() const {
    if (lowestFreeCell_ != NoSpace) return HintLocation(AreaCell, lowestFreeCell_);
    return HintLocation(AreaEmptyColumn, lowestEmptyColumn_);
  }

  // ---- The blocks -------------------------------------------------------------

  // A: a free-cell card home.
  void FreeCellCardsHome() {
    for (f.LoopIndex = FirstFreeCell; f.LoopIndex <= LastFreeCell; ++f.LoopIndex) {
      if (f.Cell[f.LoopIndex].isEmpty()) continue;
      for (f.LoopCount = FirstHomeCell; f.LoopCount <= LastHomeCell; ++f.LoopCount) {
        if (GoesHome(f.Cell[f.LoopIndex], f.LoopCount)) {
          Record(HintLocation(AreaCell, f.LoopIndex), HintLocation(AreaCell, f.LoopCount));
          break;
        }
      }
    }
  }

  // B: a free-cell card onto a column's last card, every column that takes it.
  void FreeCellCardsOntoLastCards() {
    for (f.LoopIndex = FirstFreeCell; f.LoopIndex <= LastFreeCell; ++f.LoopIndex) {
      if (f.Cell[f.LoopIndex].isEmpty()) continue;
      for (Long t = FirstColumn; t <= LastColumn; ++t) {
        if (CardsIn(t) > 0 && f.FitsOnto(f.Cell[f.LoopIndex], LastCard(t)))
          Record(HintLocation(AreaCell, f.LoopIndex), HintLocation(AreaTableau, f.ColumnBottom[t]));
      }
    }
  }

  // D: a column's last card onto another column's last card. With no free
  // space left, lifting a last card off its second card onto a card that is
  // the second card's twin in rank and colour only swaps like for like, so
  // it does not count.
  void LastCardsOntoLastCards() {
    ColumnCardsOntoLastCards(0, [this](Long s, Long t) {
      const bool swapsTwins = freeSpaces_ == 0 && CardsIn(s) >= 2 &&
                              RankOf(CardAbove(s, 1)) == RankOf(LastCard(t)) &&
                              !f.IsOppositeColor(SuitOf(CardAbove(s, 1)), SuitOf(LastCard(t)));
      return f.FitsOnto(LastCard(s), LastCard(t)) && !swapsTwins;
    });
  }

  // C, F, J: the card `depth` rows up from a column's last card home, on the
  // first home cell that takes it.
  void ColumnCardsHome(Long depth) {
    for (f.LoopIndex = FirstColumn; f.LoopIndex <= LastColumn; ++f.LoopIndex) {
      if (CardsIn(f.LoopIndex) <= depth) continue;
      for (Long h = FirstHomeCell; h <= LastHomeCell; ++h) {
        if (GoesHome(CardAbove(f.LoopIndex, depth), h)) {
          Record(HintLocation(AreaTableau, PositionAbove(f.LoopIndex, depth)), HintLocation(AreaCell, h));
          break;
        }
      }
    }
  }

  // D, G, H, K, L: the card `depth` rows up from the last card of column s
  // (with the cards on it, for a run) onto the last card of every other
  // column t for which `matches` holds.
  template <class Match>
  void ColumnCardsOntoLastCards(Long depth, Match matches) {
    for (f.LoopIndex = FirstColumn; f.LoopIndex <= LastColumn; ++f.LoopIndex) {
      if (CardsIn(f.LoopIndex) <= depth) continue;
      for (Long t = FirstColumn; t <= LastColumn; ++t) {
        if (t == f.LoopIndex || CardsIn(t) == 0) continue;
        if (matches(f.LoopIndex, t))
          Record(HintLocation(AreaTableau, PositionAbove(f.LoopIndex, depth)),
                 HintLocation(AreaTableau, f.ColumnBottom[t]));
      }
    }
  }

  // E, I: the top card of a column of at most `maxCards` cards to the free
  // space.
  void ToTheFreeSpace(Long maxCards) {
    for (f.LoopIndex = FirstColumn; f.LoopIndex <= LastColumn; ++f.LoopIndex) {
      const Long cards = CardsIn(f.LoopIndex);
      if (cards >= 1 && cards <= maxCards) Record(HintLocation(AreaTableau, f.LoopIndex), TheFreeSpace());
    }
  }

  Form1& f;
  Long freeSpaces_ = 0;
  bool found_ = false;
  Long lowestFreeCell_ = NoSpace;
  Long lowestEmptyColumn_ = NoSpace;
};

}  // namespace

void Form1::FindPossibleMoves() {
  if (!MoveSearch(*this).FindsTheGameStuck()) return;
  // The enclosing passes of the automatic moves, and a double-click after
  // the drop on itself, find a kept board again: the player has been told.
  if (StuckShownInAction == 1) {
    StuckShown = 1;
    return;
  }

  // Loading the dialog books the deal's loss before the player sees it.
  platform::Show<Form3>(platform::Modal);
  StuckShown = 1;
  StuckShownInAction = 1;
  if (KeepLostBoard == 0) {
    NewGame();
  } else {
    KeepLostBoard = 0;
  }
}

}  // namespace tarnvole
