// The deal.
#include "card_table/form1.h"

namespace tarnvole {

void Form1::NewGame() {}

}  // namespace tarnvole
