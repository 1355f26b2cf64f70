#include "card_table/form8.h"

namespace tarnvole {

namespace {
// One pixel, at the top-left corner of the screen.
constexpr int ClientTwips = 15;
}  // namespace

Form8::Form8() : Timer1(this, Timer1Interval) {
  setBorderless();
  setClientSize(ClientTwips, ClientTwips);
  move(0, 0);
  Timer1.Timer = [this] { Timer1_Timer(); };
}

void Form8::Form_Load() { TickCount = 0; }

void Form8::Timer1_Timer() {
  TickCount = TickCount + 1;
  if (TickCount == 1) platform::Unload<Form8>();
}

}  // namespace tarnvole
