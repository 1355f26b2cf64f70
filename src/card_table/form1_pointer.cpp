// Pointer feedback: the clock label and the eyes. Not built yet.
#include "card_table/form1.h"

namespace tarnvole {

void Form1::Form_MouseDown(int, int, float, float) {}
void Form1::Form_MouseUp(int, int, float, float) {}
void Form1::Form_MouseMove(int, int, float, float) {}
void Form1::Image1_MouseMove(int, int, int, float, float) {}
void Form1::Image2_MouseMove(int, int, int, float, float) {}
void Form1::toolbar1_MouseMove(int, int, float, float) {}

}  // namespace tarnvole
