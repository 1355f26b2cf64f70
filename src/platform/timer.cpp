#include "platform/timer.h"

#include <QEvent>

namespace platform {

namespace {
int intervalForTesting = -1;
}

void TimerControl::SetIntervalForTesting(int ms) { intervalForTesting = ms; }

TimerControl::TimerControl(Form* window, int intervalMs) : window_(window) {
  if (intervalForTesting >= 0) intervalMs = intervalForTesting;
  // A coarse timer may fire up to 5% early; a pause must never be shorter
  // than its interval.
  timer_.setTimerType(Qt::PreciseTimer);
  timer_.setInterval(intervalMs);
  QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { Tick(); });
  if (window_->isVisible())
    timer_.start();
  else
    window_->installEventFilter(this);
}

bool TimerControl::eventFilter(QObject* watched, QEvent* event) {
  if (watched == window_ && event->type() == QEvent::Show && !timer_.isActive()) {
    window_->removeEventFilter(this);
    timer_.start();
  }
  return false;
}

void TimerControl::Tick() {
  if (window_->Unloading()) {
    timer_.stop();
    return;
  }
  if (Timer) Timer();
}

}  // namespace platform
