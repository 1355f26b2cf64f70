#include "platform/vb.h"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

namespace platform {

VbError::VbError(int number, const QString& what)
    : std::runtime_error(what.toStdString()), number_(number) {}

QString Str(std::int64_t n) {
  return n < 0 ? QString::number(n) : QStringLiteral(" ") + QString::number(n);
}

QString PlainText(std::int64_t n) { return QString::number(n); }

namespace {
bool IsBlank(QChar c) { return c == u' ' || c == u'\t' || c == u'\n'; }
bool IsDigit(QChar c) { return c >= u'0' && c <= u'9'; }
}  // namespace

double Val(const QString& text) {
  // Collect the characters of the number, skipping blanks, then let strtod
  // (in the C locale, which uses ".") read it.
  std::string number;
  number.reserve(32);
  int i = 0;
  const int n = static_cast<int>(text.size());
  auto skip = [&] {
    while (i < n && IsBlank(text[i])) ++i;
  };
  skip();
  if (i < n && (text[i] == u'-' || text[i] == u'+')) {
    number += static_cast<char>(text[i].unicode());
    ++i;
    skip();
  }
  bool digits = false;
  while (i < n && (IsDigit(text[i]) || IsBlank(text[i]))) {
    if (IsDigit(text[i])) {
      number += static_cast<char>(text[i].unicode());
      digits = true;
    }
    ++i;
  }
  if (i < n && text[i] == u'.') {
    number += '.';
    ++i;
    while (i < n && (IsDigit(text[i]) || IsBlank(text[i]))) {
      if (IsDigit(text[i])) {
        number += static_cast<char>(text[i].unicode());
        digits = true;
      }
      ++i;
    }
  }
  if (!digits) return 0.0;
  if (i < n && (text[i] == u'e' || text[i] == u'E' || text[i] == u'd' || text[i] == u'D')) {
    std::string exponent = "e";
    int j = i + 1;
    if (j < n && (text[j] == u'-' || text[j] == u'+')) {
      exponent += static_cast<char>(text[j].unicode());
      ++j;
    }
    bool expDigits = false;
    while (j < n && IsDigit(text[j]) && exponent.size() < 12) {
      exponent += static_cast<char>(text[j].unicode());
      expDigits = true;
      ++j;
    }
    if (expDigits) number += exponent;
  }
  return std::strtod(number.c_str(), nullptr);
}

std::int32_t CLng(double value) {
  if (std::isnan(value)) throw VbError(ErrOverflow, QStringLiteral("Overflow"));
  const double rounded = std::nearbyint(value);  // the default mode rounds halves to even
  if (rounded < static_cast<double>(std::numeric_limits<std::int32_t>::min()) ||
      rounded > static_cast<double>(std::numeric_limits<std::int32_t>::max()))
    throw VbError(ErrOverflow, QStringLiteral("Overflow"));
  return static_cast<std::int32_t>(rounded);
}

std::int32_t ValLng(const QString& text) { return CLng(Val(text)); }

QString Left(const QString& text, int n) { return text.left(n); }

QString Mid(const QString& text, int start) { return start <= 1 ? text : text.mid(start - 1); }

}  // namespace platform
