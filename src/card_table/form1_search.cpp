// The move search behind hints and the stalemate test. Not built yet.
#include "card_table/form1.h"

namespace tarnvole {

void Form1::FindPossibleMoves() {}

}  // namespace tarnvole
