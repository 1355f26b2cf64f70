#include "platform/clock.h"

#include <QRegularExpression>
#include <random>

#include "platform/vb.h"

namespace platform {

namespace {

constexpr std::int64_t SecondsPerDay = 86400;
const QDate ZeroDay(1899, 12, 30);

std::function<QDateTime()>& ClockFunction() {
  static std::function<QDateTime()> clock;
  return clock;
}

QDateTime CurrentDateTime() {
  auto& clock = ClockFunction();
  return clock ? clock() : QDateTime::currentDateTime();
}

}  // namespace

VbDate VbDate::FromDateTime(const QDateTime& dt) {
  const std::int64_t days = ZeroDay.daysTo(dt.date());
  return FromSerialSeconds(days * SecondsPerDay + dt.time().msecsSinceStartOfDay() / 1000);
}

VbDate VbDate::FromDate(const QDate& date) {
  return FromSerialSeconds(ZeroDay.daysTo(date) * SecondsPerDay);
}

QDate VbDate::DatePart() const {
  std::int64_t days = seconds_ / SecondsPerDay;
  if (seconds_ % SecondsPerDay < 0) --days;
  return ZeroDay.addDays(days);
}

int VbDate::SecondOfDay() const {
  std::int64_t s = seconds_ % SecondsPerDay;
  if (s < 0) s += SecondsPerDay;
  return static_cast<int>(s);
}

QDateTime VbDate::ToDateTime() const {
  return QDateTime(DatePart(), QTime(0, 0).addSecs(SecondOfDay()));
}

VbDate Now() { return VbDate::FromDateTime(CurrentDateTime()); }

VbDate Today() { return VbDate::FromDate(CurrentDateTime().date()); }

QString TimeText() { return CurrentDateTime().time().toString(QStringLiteral("HH:mm:ss")); }

std::int64_t DateDiffMinutes(const VbDate& from, const VbDate& to) {
  auto minute = [](std::int64_t s) { return s >= 0 ? s / 60 : -((-s + 59) / 60); };
  return minute(to.SerialSeconds()) - minute(from.SerialSeconds());
}

std::int64_t DateDiffSeconds(const VbDate& from, const VbDate& to) {
  return to.SerialSeconds() - from.SerialSeconds();
}

QString DateText(const VbDate& d) {
  const bool hasDay = d.DatePart() != ZeroDay;
  const QTime time = QTime(0, 0).addSecs(d.SecondOfDay());
  const QString timeText = time.toString(QStringLiteral("H:mm:ss"));
  if (!hasDay) return timeText;
  const QString dayText = d.DatePart().toString(QStringLiteral("yy/MM/dd"));
  return d.SecondOfDay() == 0 ? dayText : dayText + u' ' + timeText;
}

VbDate CDate(const QString& text) {
  static const QRegularExpression dayForm(QStringLiteral(R"(^\s*(\d{1,4})/(\d{1,2})/(\d{1,2})\s*$)"));
  static const QRegularExpression timeForm(QStringLiteral(R"(^\s*(\d{1,2}):(\d{1,2})(?::(\d{1,2}))?\s*$)"));
  static const QRegularExpression zeroForm(QStringLiteral(R"(^\s*0\s*$)"));
  const auto mismatch = [&] { return VbError(ErrTypeMismatch, QStringLiteral("Type mismatch")); };

  if (zeroForm.match(text).hasMatch()) return VbDate();

  if (auto m = dayForm.match(text); m.hasMatch()) {
    int year = m.captured(1).toInt();
    const int month = m.captured(2).toInt();
    const int day = m.captured(3).toInt();
    if (m.captured(1).size() <= 2) {
      // The latest year ending in these two digits that is not after next year.
      const int limit = CurrentDateTime().date().year() + 1;
      int candidate = limit - ((limit - year) % 100 + 100) % 100;
      year = candidate;
    }
    const QDate date(year, month, day);
    if (!date.isValid()) throw mismatch();
    return VbDate::FromDate(date);
  }

  if (auto m = timeForm.match(text); m.hasMatch()) {
    const int h = m.captured(1).toInt();
    const int min = m.captured(2).toInt();
    const int s = m.captured(3).isEmpty() ? 0 : m.captured(3).toInt();
    if (h > 23 || min > 59 || s > 59) throw mismatch();
    return VbDate::FromSerialSeconds(h * 3600 + min * 60 + s);
  }
  throw mismatch();
}

void SetClockForTesting(std::function<QDateTime()> clock) { ClockFunction() = std::move(clock); }

namespace {

struct RandomState {
  std::mt19937 engine{0};
  std::int64_t fixedSeed = -1;
  std::int64_t draws = 0;
};

RandomState& Random() {
  static RandomState state;
  return state;
}

}  // namespace

void Randomize() {
  auto& r = Random();
  if (r.fixedSeed >= 0) {
    r.engine.seed(static_cast<std::mt19937::result_type>(r.fixedSeed));
    return;
  }
  const auto now = CurrentDateTime().toMSecsSinceEpoch();
  std::seed_seq seq{static_cast<std::uint32_t>(now), static_cast<std::uint32_t>(now >> 32),
                    static_cast<std::uint32_t>(std::random_device{}())};
  r.engine.seed(seq);
}

float Rnd() {
  auto& r = Random();
  ++r.draws;
  // 24 random bits make every float in [0, 1) with step 2^-24 equally likely
  // and never round up to 1.
  return static_cast<float>(r.engine() >> 8) / 16777216.0f;
}

void SetRandomSeedForTesting(std::int64_t seed) { Random().fixedSeed = seed; }
std::int64_t RandomDrawCount() { return Random().draws; }
void ResetRandomDrawCount() { Random().draws = 0; }

}  // namespace platform
