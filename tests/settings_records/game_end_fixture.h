// Shared by the stalemate and win dialog tests: a scratch folder holding the
// default settings file, a clock that stands still until a test moves it,
// and Module1 back at its start before and after each test.
#pragma once

#include <gtest/gtest.h>

#include <QDateTime>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QLabel>
#include <QPushButton>

#include "platform/clock.h"
#include "platform/controls.h"
#include "settings_records/module1.h"
#include "support/test_support.h"

namespace game_end_testing {

inline platform::VbDate Day(int year, int month, int day) {
  return platform::VbDate::FromDate(QDate(year, month, day));
}

class GameEndDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    tarnvole::ResetModule1ForTesting();
    tarnvole::CfgFileName = QStringLiteral("tarnvole.cfg");
    folder.Write("tarnvole.cfg", testing_support::DefaultCfgBytes());
    platform::SetClockForTesting([this] { return now; });
  }
  void TearDown() override {
    platform::SetClockForTesting(nullptr);
    tarnvole::ResetModule1ForTesting();
  }

  QByteArray File() const { return folder.Read("tarnvole.cfg"); }
  QByteArray Record(int n) const { return testing_support::RecordOf(File(), n); }
  // The current moment shifted by some seconds, as GameStart would hold it.
  platform::VbDate SecondsFromNow(qint64 seconds) const {
    return platform::VbDate::FromDateTime(now.addSecs(seconds));
  }

  QDateTime now{QDate(2026, 12, 7), QTime(9, 0)};
  const platform::VbDate today = Day(2026, 12, 7);
  testing_support::ScratchFolder folder;
};

// Dark pixels that a caption drawn in a box of the given size puts outside
// it when nothing clips it: zero when the box shows the whole caption.
inline int InkOutside(const QFont& font, const QString& text, const QSize& box, int flags) {
  constexpr int pad = 40;
  QImage image(box + QSize(2 * pad, 2 * pad), QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setFont(font);
  painter.setPen(Qt::black);
  painter.drawText(QRect(QPoint(pad, pad), box), flags | Qt::TextDontClip, text);
  painter.end();
  const QRect inside(QPoint(pad, pad), box);
  int outside = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (!inside.contains(x, y) && qGray(image.pixel(x, y)) < 160) ++outside;
  return outside;
}

// Dark pixels a label would show below its box if it were taller: zero when
// its caption, laid out the way the label lays it out, fits.
inline int InkBelow(QLabel& label) {
  const QSize size = label.size();
  const int frame = label.frameWidth();
  label.resize(size.width(), size.height() + 40);
  const QImage image = label.grab().toImage();
  label.resize(size);
  int ink = 0;
  for (int y = size.height() - frame; y < image.height() - frame; ++y)
    for (int x = frame; x < image.width() - frame; ++x)
      if (qGray(image.pixel(x, y)) < 160) ++ink;
  return ink;
}

// The number of separate bands of dark rows inside a rectangle of a picture
// of a widget: the lines of text it shows there.
inline int TextLines(const QImage& image, const QRect& area) {
  int bands = 0;
  bool inBand = false;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    bool dark = false;
    for (int x = area.left(); x <= area.right() && !dark; ++x)
      dark = qGray(image.pixel(x, y)) < 100;
    if (dark && !inBand) ++bands;
    inBand = dark;
  }
  return bands;
}

}  // namespace game_end_testing
