// Single-card moves: presses, drops and double-clicks on the cards and cells.
#include "card_table/form1.h"

namespace tarnvole {

void Form1::Image1_MouseDown(int, int, int, float, float) {}
void Form1::CheckCardsOnTop(Long) {}
void Form1::Image1_MouseUp(int, int, int, float, float) {}
bool Form1::IsOppositeColor(const Long& SuitA, const Long& SuitB) const {
  if (SuitA == 0 || SuitA == 1) return !(SuitB == 0 || SuitB == 1);
  if (SuitA == 2 || SuitA == 3) return !(SuitB == 2 || SuitB == 3);
  return true;
}
void Form1::Image1_DragDrop(int) {}
void Form1::Image1_DblClick(int) {}
void Form1::Image2_DragDrop(int) {}
void Form1::Image2_DblClick(int) {}
void Form1::Image2_MouseDown(int, int, int, float, float) {}

}  // namespace tarnvole
