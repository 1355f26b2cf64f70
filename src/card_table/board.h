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

}  // namespace tarnvole
