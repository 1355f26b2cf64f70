// Text and number conversions the game relies on, and the error it raises.
//
// The game builds card codes, history entries and file records as decimal
// text and reads them back leniently; these functions are the one place that
// says how. Errors are exceptions carrying the error number the game tests
// (13 type mismatch, 6 overflow, 75 file access).
#pragma once

#include <QString>
#include <cstdint>
#include <stdexcept>

namespace platform {

enum ErrorNumber : int {
  ErrOverflow = 6,
  ErrTypeMismatch = 13,
  ErrFileAccess = 75,
};

class VbError : public std::runtime_error {
 public:
  VbError(int number, const QString& what);
  int Number() const { return number_; }

 private:
  int number_;
};

// Decimal text with a blank before a number that is not negative
// (" 12", " 0", "-15").
QString Str(std::int64_t n);

// Plain decimal text, no blank ("12", "-15").
QString PlainText(std::int64_t n);

// The lenient reading of a number: blanks, tabs and line feeds are skipped,
// an optional sign, digits, "." as the decimal point and an exponent are
// taken, and reading stops at the first character that does not fit. Text
// without a number gives 0.
double Val(const QString& text);

// The nearest 32-bit signed integer, a half going to the even neighbour.
// Throws VbError(ErrOverflow) outside the range (and for NaN).
std::int32_t CLng(double value);

// Val then CLng: how every number record, history entry and card code is read.
std::int32_t ValLng(const QString& text);

// The first n characters / all from position start (1-based), as the game
// slices its texts.
QString Left(const QString& text, int n);
QString Mid(const QString& text, int start);

}  // namespace platform
