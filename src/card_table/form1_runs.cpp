// Moves of several cards: a run onto a card, and any drop on an empty column.
// Not built yet: such drops move nothing.
#include "card_table/form1.h"

namespace tarnvole {

void Form1::MoveRunOntoCard() {}
void Form1::Image3_DragDrop(int) {}

}  // namespace tarnvole
