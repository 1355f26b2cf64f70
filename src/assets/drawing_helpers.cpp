// Suit outlines and the pixel-letter painter used by the card faces and the
// toolbar words.
#include <QPainter>
#include <QTransform>

#include "assets/drawing_helpers.h"

namespace assets::detail {
namespace {

// Each outline is drawn in the unit square (y down) and then stretched onto
// the requested box.

QPainterPath UnitHeart() {
  QPainterPath p;
  p.moveTo(0.5, 1.0);
  p.cubicTo(0.36, 0.80, 0.0, 0.58, 0.0, 0.29);
  p.cubicTo(0.0, 0.10, 0.13, 0.0, 0.27, 0.0);
  p.cubicTo(0.40, 0.0, 0.48, 0.09, 0.5, 0.20);
  p.cubicTo(0.52, 0.09, 0.60, 0.0, 0.73, 0.0);
  p.cubicTo(0.87, 0.0, 1.0, 0.10, 1.0, 0.29);
  p.cubicTo(1.0, 0.58, 0.64, 0.80, 0.5, 1.0);
  p.closeSubpath();
  return p;
}

QPainterPath UnitDiamond() {
  // Slightly hollow sides, as on printed cards.
  QPainterPath p;
  p.moveTo(0.5, 0.0);
  p.quadTo(0.68, 0.30, 1.0, 0.5);
  p.quadTo(0.68, 0.70, 0.5, 1.0);
  p.quadTo(0.32, 0.70, 0.0, 0.5);
  p.quadTo(0.32, 0.30, 0.5, 0.0);
  p.closeSubpath();
  return p;
}

QPainterPath UnitSpade() {
  QPainterPath p;
  p.moveTo(0.5, 0.0);
  p.cubicTo(0.62, 0.17, 1.0, 0.33, 1.0, 0.57);
  p.cubicTo(1.0, 0.71, 0.89, 0.79, 0.76, 0.79);
  p.cubicTo(0.66, 0.79, 0.58, 0.74, 0.54, 0.67);
  p.cubicTo(0.56, 0.82, 0.62, 0.93, 0.74, 1.0);
  p.lineTo(0.26, 1.0);
  p.cubicTo(0.38, 0.93, 0.44, 0.82, 0.46, 0.67);
  p.cubicTo(0.42, 0.74, 0.34, 0.79, 0.24, 0.79);
  p.cubicTo(0.11, 0.79, 0.0, 0.71, 0.0, 0.57);
  p.cubicTo(0.0, 0.33, 0.38, 0.17, 0.5, 0.0);
  p.closeSubpath();
  return p;
}

QPainterPath UnitClub() {
  // Three round leaves joined in the middle, on a flared stem.
  const double r = 0.245;
  auto disc = [](double x, double y, double radius) {
    QPainterPath d;
    d.addEllipse(QPointF(x, y), radius, radius);
    return d;
  };
  QPainterPath stem;
  stem.moveTo(0.45, 0.55);
  stem.cubicTo(0.44, 0.80, 0.38, 0.93, 0.26, 1.0);
  stem.lineTo(0.74, 1.0);
  stem.cubicTo(0.62, 0.93, 0.56, 0.80, 0.55, 0.55);
  stem.closeSubpath();
  return disc(0.5, r, r)
      .united(disc(r, 0.60, r))
      .united(disc(1.0 - r, 0.60, r))
      .united(disc(0.5, 0.55, 0.13))
      .united(stem);
}

}  // namespace

QPainterPath SuitPath(Suit suit, const QRectF& box) {
  QPainterPath unit;
  switch (suit) {
    case Suit::Hearts: unit = UnitHeart(); break;
    case Suit::Diamonds: unit = UnitDiamond(); break;
    case Suit::Spades: unit = UnitSpade(); break;
    case Suit::Clubs: unit = UnitClub(); break;
  }
  QTransform onto;
  onto.translate(box.x(), box.y());
  onto.scale(box.width(), box.height());
  return onto.map(unit);
}

void PaintGlyph(QPainter& painter, const PixelGlyph& glyph, QPoint at, const QColor& ink,
                int (*slant)(int row)) {
  for (int row = 0; row < glyph.height; ++row) {
    const int shift = slant ? slant(row) : 0;
    const char* cells = glyph.rows[row];
    // Paint runs of ink as one rectangle each.
    for (int col = 0; col < glyph.width;) {
      if (cells[col] != '#') {
        ++col;
        continue;
      }
      int end = col;
      while (end < glyph.width && cells[end] == '#') ++end;
      painter.fillRect(QRect(at.x() + col + shift, at.y() + row, end - col, 1), ink);
      col = end;
    }
  }
}

QImage BlankPicture(int width, int height) {
  QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  return image;
}

}  // namespace assets::detail
