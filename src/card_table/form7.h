// Form7: the 600 ms pause window, used by the hint display between the steps
// it shows one after the other.
//
// Shown modally, it closes itself at the first tick of its timer; meanwhile
// the main window keeps repainting but takes no input. Every showing loads it
// anew, so TickCount starts at 0 each time.
#pragma once

#include "platform/forms.h"
#include "platform/timer.h"
#include "settings_records/module1.h"

namespace tarnvole {

class Form7 : public platform::Form {
  Q_OBJECT
 public:
  static constexpr int Timer1Interval = 600;  // milliseconds

  Form7();

  void Form_Load() override;
  void Timer1_Timer();

  platform::TimerControl Timer1;
  Long TickCount = 0;
};

}  // namespace tarnvole
