// Taking back the newest move of the history. Not built yet.
#include "card_table/form1.h"

namespace tarnvole {

void Form1::TakeBackMove() {}

}  // namespace tarnvole
