// Form8: the 70 ms pause window, shown after each card the automatic moves
// send home so that the move is seen before the next one.
//
// Shown modally, it closes itself at the first tick of its timer; meanwhile
// the main window keeps repainting but takes no input. Every showing loads it
// anew, so TickCount starts at 0 each time.
#pragma once

#include "platform/forms.h"
#include "platform/timer.h"
#include "settings_records/module1.h"

namespace tarnvole {

class Form8 : public platform::Form {
  Q_OBJECT
 public:
  static constexpr int Timer1Interval = 70;  // milliseconds

  Form8();

  void Form_Load() override;
  void Timer1_Timer();

  platform::TimerControl Timer1;
  Long TickCount = 0;
};

}  // namespace tarnvole
