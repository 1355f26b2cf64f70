// The automatic moves to the home cells, and the win check that follows
// every move.
//
// AutoMoveToHome works in passes: a pass that sent a card home runs the next
// pass nested inside itself, and every pass ends with the move search, the
// innermost first. A pass keeps its counters and flags in locals, so the
// passes nested in it (and the searches, which use the shared loop fields)
// never disturb its own scans.
#include "card_table/board.h"
#include "card_table/form1.h"
#include "card_table/form8.h"
#include "platform/forms.h"
#include "settings_records/form4.h"
#include "settings_records/module1.h"

namespace tarnvole {

namespace {

constexpr Long AceRank = 0;
constexpr Long KingRank = 12;

// Only the automatic moves put a card on an empty home cell, and only an ace
// from the tableau.
bool AceClause(const QString& card, const QString& home) {
  return home.isEmpty() && RankOf(card) == AceRank;
}

// With full auto off, a card stays out while any tableau card of the other
// colour and a lower rank remains, covered or not: the player may still want
// to build that card on it. The cells hold nothing back.
bool Blocked(const Form1& f, const QString& card) {
  bool blocked = false;
  for (Long j = 0; j <= f.MaxPos; ++j) {
    const QString& other = f.Tableau[j];
    if (!other.isEmpty() && RankOf(other) < RankOf(card) &&
        f.IsOppositeColor(SuitOf(card), SuitOf(other)))
      blocked = true;
  }
  return blocked;
}

bool FullAutoLetsGo(const Form1& f, const QString& card) {
  return FullAuto != 0 || !Blocked(f, card);
}

// The card just moved is drawn on its home cell before the next one moves.
void PauseAfterCard() { platform::Show<Form8>(platform::Modal); }

void MoveTableauCardHome(Form1& f, Long i, Long h) {
  f.FirstIndex = i;
  f.SecondIndex = h;
  f.RecordMove(AutoTableauToHomeCell);
  f.PutInCell(h, f.Image1(i), f.Tableau[i]);
  f.TakeOffTableau(i);
}

void MoveFreeCellCardHome(Form1& f, Long i, Long h) {
  f.FirstIndex = i;
  f.SecondIndex = h;
  f.RecordMove(AutoFreeCellToHomeCell);
  f.PutInCell(h, f.Image2(i), f.Cell[i]);
  f.EmptyCell(i);
}

// Every uncovered card that may go home goes, lowest position first, each to
// the first home cell it may go to. The card a move uncovers lies eight
// positions back, behind the scan: the next pass looks at it.
bool SendTableauCardsHome(Form1& f) {
  bool moved = false;
  for (Long i = 0; i <= f.MaxPos; ++i) {
    f.CheckCardsOnTop(i);
    f.MovingCard = f.Tableau[i];
    if (f.MovingCard.isEmpty() || f.CardCovered != 0) continue;
    for (Long h = FirstHomeCell; h <= LastHomeCell; ++h) {
      f.TargetCard = f.Cell[h];
      const bool fits = AceClause(f.MovingCard, f.TargetCard) || FitsHome(f.MovingCard, f.TargetCard);
      if (!fits || !FullAutoLetsGo(f, f.MovingCard)) continue;
      MoveTableauCardHome(f, i, h);
      moved = true;
      PauseAfterCard();
      break;
    }
  }
  return moved;
}

// An ace in a free cell stays there: no ace clause here.
bool SendFreeCellCardsHome(Form1& f) {
  bool moved = false;
  for (Long i = FirstFreeCell; i <= LastFreeCell; ++i) {
    f.MovingCard = f.Cell[i];
    for (Long h = FirstHomeCell; h <= LastHomeCell; ++h) {
      f.TargetCard = f.Cell[h];
      if (!FitsHome(f.MovingCard, f.TargetCard) || !FullAutoLetsGo(f, f.MovingCard)) continue;
      MoveFreeCellCardHome(f, i, h);
      moved = true;
      PauseAfterCard();
      break;
    }
  }
  return moved;
}

}  // namespace

void Form1::AutoMoveToHome() {
  const bool movedFromTableau = SendTableauCardsHome(*this);
  const bool movedFromFreeCells = SendFreeCellCardsHome(*this);
  if (movedFromTableau || movedFromFreeCells) AutoMoveToHome();
  FindPossibleMoves();
  if (StuckShown == 1) StuckShown = 0;
}

// A home cell holds a king only when its whole suit lies there, so four kings
// mean every card is home.
void Form1::CheckForWin() {
  for (LoopIndex = FirstHomeCell; LoopIndex <= LastHomeCell; ++LoopIndex)
    if (RankOf(Cell[LoopIndex]) != KingRank) return;
  platform::Show<Form4>(platform::Modal);
  NewGame();
}

}  // namespace tarnvole
