// The timer control of a window.
#pragma once

#include <QTimer>
#include <functional>

#include "platform/forms.h"

namespace platform {

// Raises Timer every interval while its window is loaded; an unloaded window
// awaiting its deletion raises nothing more. Enabled from the start, as the
// window definitions set it, it counts from the moment the window appears, so
// that a pause is never shorter on screen than its interval.
class TimerControl : public QObject {
 public:
  TimerControl(Form* window, int intervalMs);
  TimerControl(const TimerControl&) = delete;
  TimerControl& operator=(const TimerControl&) = delete;

  int Interval() const { return timer_.interval(); }

  // Test seam: every timer created from now on ticks after `ms` instead of
  // its own interval (a negative value restores the intervals), so that
  // tests of many deals need not sit through every pause.
  static void SetIntervalForTesting(int ms);

  std::function<void()> Timer;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Tick();
  Form* window_;
  QTimer timer_;
};

}  // namespace platform
