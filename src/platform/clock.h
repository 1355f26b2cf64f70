// Dates, the clock and the random generator: everything timed or random goes
// through here so that tests can set it.
#pragma once

#include <QDateTime>
#include <QString>
#include <cstdint>
#include <functional>

namespace platform {

// A date-time as the game keeps it: whole seconds counted from the zero date
// (30 December 1899, 00:00), local time. The zero date is the value of a date
// that was never set.
class VbDate {
 public:
  VbDate() = default;
  static VbDate FromSerialSeconds(std::int64_t s) { VbDate d; d.seconds_ = s; return d; }
  static VbDate FromDateTime(const QDateTime& dt);
  static VbDate FromDate(const QDate& date);

  std::int64_t SerialSeconds() const { return seconds_; }
  bool IsZero() const { return seconds_ == 0; }
  QDate DatePart() const;
  int SecondOfDay() const;
  QDateTime ToDateTime() const;
  bool operator==(const VbDate&) const = default;

 private:
  std::int64_t seconds_ = 0;
};

// The current date and time, and today's date (time of day zero).
VbDate Now();
VbDate Today();

// The current time of day as text, hours with two digits ("14:05:31").
QString TimeText();

// Minutes between two date-times counted as clock-minute boundaries passed
// (both taken to the whole minute), later minus earlier.
std::int64_t DateDiffMinutes(const VbDate& from, const VbDate& to);
// Whole seconds from one date-time to another.
std::int64_t DateDiffSeconds(const VbDate& from, const VbDate& to);

// The text a date is written as: "yy/MM/dd" for a calendar day, the time of
// day ("0:00:00" for the zero date) when there is no day.
QString DateText(const VbDate& d);

// Reads a date written by DateText, a "yy/MM/dd" day, a time of day, or the
// bare number 0. A two-digit year reads as the latest year with those last
// two digits that is not after next year. Throws VbError(ErrTypeMismatch) for
// anything else.
VbDate CDate(const QString& text);

// Test seam: replaces the clock (nullptr restores the system clock).
void SetClockForTesting(std::function<QDateTime()> clock);

// The pseudo-random generator: Randomize reseeds from the clock, Rnd draws
// 0 <= r < 1 as a single-precision number.
void Randomize();
float Rnd();

// Test seam: a fixed seed for every Randomize from now on (nullopt-like:
// pass -1 to restore clock seeding), and the number of draws so far.
void SetRandomSeedForTesting(std::int64_t seed);
std::int64_t RandomDrawCount();
void ResetRandomDrawCount();

}  // namespace platform
