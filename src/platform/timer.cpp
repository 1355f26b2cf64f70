#include "platform/timer.h"

namespace platform {

TimerControl::TimerControl(Form* window, int intervalMs) : window_(window) {
  // A coarse timer may fire up to 5% early; a pause must never be shorter
  // than its interval.
  timer_.setTimerType(Qt::PreciseTimer);
  timer_.setInterval(intervalMs);
  QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { Tick(); });
  timer_.start();
}

void TimerControl::Tick() {
  if (window_->Unloading()) {
    timer_.stop();
    return;
  }
  if (Timer) Timer();
}

}  // namespace platform
