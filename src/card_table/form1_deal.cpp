// The deal: a new game on a cleared table.
#include <array>
#include <cmath>

#include "card_table/board.h"
#include "card_table/form1.h"
#include "platform/clock.h"
#include "platform/forms.h"
#include "platform/vb.h"

namespace tarnvole {

namespace {

constexpr int DeckSize = 52;
constexpr int EasyStrength = 1;
constexpr int NormalStrength = 2;

// The low cards (ace to four) of the easy deal go to the two lowest cards of
// every column: deck positions 36 to 51.
constexpr int LowCardRanks = 4;
constexpr int LowCardZoneStart = 36;
constexpr int LowCardZoneSize = 16;

// The secretary speaks up once the player has been at it longer than this.
constexpr std::int64_t SecretaryMinutes = 10;
const QString SecretaryTitle = QStringLiteral("ちょっと失礼！");

QString SecretaryPrompt(std::int64_t minutes) {
  return QStringLiteral("わたし秘書ですが・・・") + QStringLiteral("\r\r") + QStringLiteral("もう ") +
         platform::PlainText(minutes) + QStringLiteral(" 分も遊んじゃってますが・・ ") +
         QStringLiteral("\r") + QStringLiteral("続けますかぁ？");
}

// A draw 0 .. range - 1. The product is taken in double: a float product
// near the top of the range could round up to `range` itself.
Long RandomBelow(int range) {
  return static_cast<Long>(std::floor(static_cast<double>(platform::Rnd()) * range));
}

void ExchangeDeckCards(Form1& form, Long i, Long j) {
  form.MovingCard = form.Tableau[i];
  form.Tableau[i] = form.Tableau[j];
  form.Tableau[j] = form.MovingCard;
}

// Two passes of 52 exchanges with any position, each after a fresh seed.
void ShuffleNormal(Form1& form) {
  for (int pass = 1; pass <= 2; ++pass) {
    platform::Randomize();
    for (form.LoopIndex = 0; form.LoopIndex < DeckSize; ++form.LoopIndex) {
      form.LoopCount = RandomBelow(DeckSize);
      ExchangeDeckCards(form, form.LoopIndex, form.LoopCount);
    }
  }
}

// Each low card, suit by suit, goes to a zone position not yet taken,
// sending the card there to its old place; then the cards above the zone are
// shuffled among themselves. A suit-3 low card is moved by whatever lies at
// its starting place when its turn comes, so it may already have been sent
// out of the zone by a low card of another suit.
void ShuffleEasy(Form1& form) {
  platform::Randomize();
  std::array<bool, DeckSize> Taken{};
  for (Long suit = 0; suit <= 3; ++suit) {
    for (form.LoopIndex = 13 * suit; form.LoopIndex < 13 * suit + LowCardRanks; ++form.LoopIndex) {
      do {
        form.LoopCount = RandomBelow(LowCardZoneSize) + LowCardZoneStart;
      } while (Taken[form.LoopCount]);
      Taken[form.LoopCount] = true;
      ExchangeDeckCards(form, form.LoopIndex, form.LoopCount);
    }
  }
  for (form.LoopIndex = 0; form.LoopIndex < LowCardZoneStart; ++form.LoopIndex) {
    form.LoopCount = RandomBelow(LowCardZoneStart);
    ExchangeDeckCards(form, form.LoopIndex, form.LoopCount);
  }
}

// Empties every position, cell and column of the table of the last game.
void ClearTable(Form1& form) {
  for (form.LoopIndex = 0; form.LoopIndex <= form.MaxPos; ++form.LoopIndex) {
    form.Tableau[form.LoopIndex] = QString();
    form.Image1(form.LoopIndex).setVisible(false);
  }
  for (form.LoopIndex = 0; form.LoopIndex <= 7; ++form.LoopIndex) {
    form.Cell[form.LoopIndex] = QString();
    form.Image2(form.LoopIndex).setPicture(form.ImageList2.ListImages(EmptySlotMark).Picture());
  }
  for (form.LoopIndex = 0; form.LoopIndex <= 7; ++form.LoopIndex)
    form.Image3(form.LoopIndex).setVisible(false);
}

// Deck position 13 * suit + rank holds that card. The suit counter may still
// hold the secretary's answer when this starts; it wraps to 0 at once.
void BuildOrderedDeck(Form1& form) {
  for (form.LoopIndex = 0; form.LoopIndex < DeckSize; ++form.LoopIndex) {
    if (form.WorkA > 3) form.WorkA = 0;
    if (form.WorkB > 12) {
      form.WorkB = 0;
      form.WorkA = form.WorkA + 1;
    }
    form.MovingCard = CardCodeOf(form.WorkA, form.WorkB);
    form.Tableau[form.LoopIndex] = form.MovingCard;
    form.WorkB = form.WorkB + 1;
  }
}

// The card at deck position p is dealt to tableau position p.
void ShowDealtCards(Form1& form) {
  for (form.LoopIndex = 0; form.LoopIndex < DeckSize; ++form.LoopIndex) {
    form.TargetCard = form.Tableau[form.LoopIndex];
    form.WorkA = SuitOf(form.TargetCard);
    form.WorkB = RankOf(form.TargetCard);
    form.LoopCount = form.WorkA * 13 + form.WorkB;
    platform::Image& slot = form.Image1(form.LoopIndex);
    slot.setVisible(true);
    slot.setPicture(form.ImageList2.ListImages(form.LoopCount + 1).Picture());
    slot.ZOrder();
  }
}

}  // namespace

void Form1::NewGame() {
  LoopIndex = 0;
  LoopCount = 0;
  WorkA = 0;
  WorkB = 0;
  MovingCard = QString();
  TargetCard = QString();
  MoveCancelled = 0;
  PressButton = 0;
  MoveCount = 0;
  CardCovered = 0;

  if (SecretaryOn == 1 && platform::DateDiffMinutes(StartupTime, platform::Now()) > SecretaryMinutes) {
    WorkA = platform::MsgBox(SecretaryPrompt(platform::DateDiffMinutes(StartupTime, platform::Now())),
                             platform::vbYesNo, SecretaryTitle);
    if (WorkA == platform::vbNo) {
      SaveWindowAndQuit();
      return;
    }
  }

  // The new deal can be lost, and reported stuck, afresh.
  LossBooked = 0;
  StuckShownInAction = 0;
  ClearTable(*this);
  BuildOrderedDeck(*this);
  // A strength from an edited file outside 1 and 2 deals the ordered deck.
  if (DealStrength == NormalStrength) ShuffleNormal(*this);
  if (DealStrength == EasyStrength) ShuffleEasy(*this);
  ShowDealtCards(*this);

  ClearUndoHistory();
  AutoMoveToHome();
  GameStart = platform::Now();
}

}  // namespace tarnvole
