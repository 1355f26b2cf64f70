// The 52 card faces and the empty-slot mark.
//
// Layout of a 71 x 96 face: the index (rank letter, then suit symbol) sits in
// the top 14 rows so that it can be read in the 18-pixel strip that shows when
// a card is covered by the next one in a column; the same index, turned 180
// degrees, sits in the bottom-right corner. The pips fill the middle, in three
// columns and up to four rows, the lower ones turned upside down as on printed
// cards. Jack, queen and king show a framed, double-ended court figure.
//
// The rank letters are pixel glyphs painted cell by cell, so they stay sharp and
// do not depend on which fonts the machine has. Suit shapes are vector paths
// painted with antialiasing inside whole-pixel boxes.
#include <QPainter>
#include <QTransform>

#include "assets/drawing_helpers.h"
#include "assets/pictures.h"

namespace assets::detail {
namespace {

const QColor kRedInk(200, 0, 0);
const QColor kBlackInk(0, 0, 0);
const QColor kOutline(48, 48, 48);
const QColor kPaper(255, 255, 255);

QColor SuitInk(Suit suit) { return IsRed(suit) ? kRedInk : kBlackInk; }

// ---- rank letters, 11 pixels high ------------------------------------------

constexpr int kRankHeight = 11;

const char* const kAce[] = {
    "..###..",
    "..###..",
    ".##.##.",
    ".##.##.",
    ".##.##.",
    "##...##",
    "##...##",
    "#######",
    "#######",
    "##...##",
    "##...##",
};
const char* const kTwo[] = {
    ".#####.",
    "##...##",
    ".....##",
    ".....##",
    "....##.",
    "...##..",
    "..##...",
    ".##....",
    "##.....",
    "#######",
    "#######",
};
const char* const kThree[] = {
    ".#####.",
    "##...##",
    ".....##",
    ".....##",
    "....##.",
    "..###..",
    "....##.",
    ".....##",
    ".....##",
    "##...##",
    ".#####.",
};
const char* const kFour[] = {
    "....##.",
    "...###.",
    "..####.",
    ".##.##.",
    "##..##.",
    "##..##.",
    "#######",
    "#######",
    "....##.",
    "....##.",
    "....##.",
};
const char* const kFive[] = {
    "#######",
    "##.....",
    "##.....",
    "##.....",
    "######.",
    ".....##",
    ".....##",
    ".....##",
    ".....##",
    "##...##",
    ".#####.",
};
const char* const kSix[] = {
    "..####.",
    ".##....",
    "##.....",
    "##.....",
    "######.",
    "##...##",
    "##...##",
    "##...##",
    "##...##",
    "##...##",
    ".#####.",
};
const char* const kSeven[] = {
    "#######",
    "#######",
    ".....##",
    "....##.",
    "....##.",
    "...##..",
    "...##..",
    "..##...",
    "..##...",
    "..##...",
    "..##...",
};
const char* const kEight[] = {
    ".#####.",
    "##...##",
    "##...##",
    "##...##",
    ".#####.",
    "##...##",
    "##...##",
    "##...##",
    "##...##",
    "##...##",
    ".#####.",
};
const char* const kNine[] = {
    ".#####.",
    "##...##",
    "##...##",
    "##...##",
    "##...##",
    "##...##",
    ".######",
    ".....##",
    ".....##",
    "....##.",
    ".####..",
};
const char* const kTen[] = {
    "..##..####.",
    ".###.##..##",
    "####.##..##",
    "..##.##..##",
    "..##.##..##",
    "..##.##..##",
    "..##.##..##",
    "..##.##..##",
    "..##.##..##",
    "..##.##..##",
    "..##..####.",
};
const char* const kJack[] = {
    "..#####",
    "....##.",
    "....##.",
    "....##.",
    "....##.",
    "....##.",
    "....##.",
    "....##.",
    "##..##.",
    "##..##.",
    ".####..",
};
const char* const kQueen[] = {
    ".#####.",
    "##...##",
    "##...##",
    "##...##",
    "##...##",
    "##...##",
    "##...##",
    "##.#.##",
    "##..##.",
    ".###.##",
    "......#",
};
const char* const kKing[] = {
    "##...##",
    "##..##.",
    "##.##..",
    "####...",
    "###....",
    "###....",
    "####...",
    "##.##..",
    "##..##.",
    "##...##",
    "##...##",
};

const PixelGlyph kRankGlyphs[13] = {
    {7, kRankHeight, kAce},   {7, kRankHeight, kTwo},   {7, kRankHeight, kThree},
    {7, kRankHeight, kFour},  {7, kRankHeight, kFive},  {7, kRankHeight, kSix},
    {7, kRankHeight, kSeven}, {7, kRankHeight, kEight}, {7, kRankHeight, kNine},
    {11, kRankHeight, kTen},  {7, kRankHeight, kJack},  {7, kRankHeight, kQueen},
    {7, kRankHeight, kKing},
};

// ---- geometry ---------------------------------------------------------------

constexpr int kIndexLeft = 3;
constexpr int kIndexTop = 3;
constexpr int kIndexSuitWidth = 9;
constexpr int kIndexSuitHeight = 10;

// The 180-degree turn about the card's centre, exact in whole pixels.
QTransform HalfTurn() { return QTransform(-1, 0, 0, -1, CardWidth, CardHeight); }

// A pip's box, centred on (cx, cy); a half-pixel centre with an odd size, or
// a whole-pixel centre with an even size, puts the box on whole pixels.
QRectF PipBox(double cx, double cy, int width, int height) {
  return QRectF(cx - width / 2.0, cy - height / 2.0, width, height);
}

void PaintSuit(QPainter& painter, Suit suit, const QRectF& box, bool upsideDown) {
  QPainterPath path = SuitPath(suit, box);
  if (upsideDown) {
    const QPointF c = box.center();
    path = QTransform(-1, 0, 0, -1, 2 * c.x(), 2 * c.y()).map(path);
  }
  painter.fillPath(path, SuitInk(suit));
}

// The index (rank letter and a small suit) on a transparent background. It is
// painted once and placed in both corners, the second time mirrored both
// ways, so the two corners match pixel for pixel.
QImage PaintIndex(Suit suit, int rank) {
  const PixelGlyph& glyph = kRankGlyphs[rank];
  const int suitLeft = glyph.width + 2;
  QImage index(suitLeft + kIndexSuitWidth, kRankHeight, QImage::Format_ARGB32_Premultiplied);
  index.fill(Qt::transparent);
  QPainter painter(&index);
  painter.setRenderHint(QPainter::Antialiasing, true);
  PaintGlyph(painter, glyph, QPoint(0, 0), SuitInk(suit));
  PaintSuit(painter, suit,
            QRectF(suitLeft, (kRankHeight - kIndexSuitHeight) / 2.0, kIndexSuitWidth,
                   kIndexSuitHeight),
            false);
  return index;
}

// Pip rows for two to ten, as centre lines: columns are left, middle, right.
// Rows mirror about the card's middle (y = 48): row r pairs with 96 - r.
struct Pip {
  int column;  // 0 left, 1 middle, 2 right
  double row;  // y of the pip's centre
};

constexpr int kMiddle = 48;
constexpr double kTop = 24.5, kUpper = 40.5, kLower = 55.5, kBottom = 71.5;
constexpr double kTopThird = 36.5, kBottomThird = 59.5;      // centre pips of 7 and 8
constexpr double kTopQuarter = 32.5, kBottomQuarter = 63.5;  // centre pips of 10

std::vector<Pip> PipLayout(int rank) {
  const int n = rank + 1;
  std::vector<Pip> pips;
  auto pair = [&](double row) {
    pips.push_back({0, row});
    pips.push_back({2, row});
  };
  switch (n) {
    case 2: pips = {{1, kTop}, {1, kBottom}}; break;
    case 3: pips = {{1, kTop}, {1, kMiddle}, {1, kBottom}}; break;
    case 4: pair(kTop); pair(kBottom); break;
    case 5: pair(kTop); pair(kBottom); pips.push_back({1, kMiddle}); break;
    case 6: pair(kTop); pair(kMiddle); pair(kBottom); break;
    case 7: pair(kTop); pair(kMiddle); pair(kBottom); pips.push_back({1, kTopThird}); break;
    case 8:
      pair(kTop); pair(kMiddle); pair(kBottom);
      pips.push_back({1, kTopThird});
      pips.push_back({1, kBottomThird});
      break;
    case 9:
      pair(kTop); pair(kUpper); pair(kLower); pair(kBottom);
      pips.push_back({1, kMiddle});
      break;
    case 10:
      pair(kTop); pair(kUpper); pair(kLower); pair(kBottom);
      pips.push_back({1, kTopQuarter});
      pips.push_back({1, kBottomQuarter});
      break;
    default: break;
  }
  return pips;
}

void PaintPips(QPainter& painter, Suit suit, int rank) {
  constexpr double kColumns[3] = {18.5, CardWidth / 2.0, CardWidth - 18.5};
  // Diamonds are narrower than the other shapes.
  const int pipWidth = suit == Suit::Diamonds ? 11 : 13, pipHeight = 13;
  for (const Pip& pip : PipLayout(rank)) {
    PaintSuit(painter, suit, PipBox(kColumns[pip.column], pip.row, pipWidth, pipHeight),
              pip.row > kMiddle);
  }
}

void PaintAce(QPainter& painter, Suit suit) {
  // Boxes chosen per shape so that each ace looks about equally heavy.
  int w = 31, h = 34;
  if (suit == Suit::Hearts) w = 33, h = 31;
  if (suit == Suit::Diamonds) w = 29, h = 36;
  PaintSuit(painter, suit, PipBox(CardWidth / 2.0, kMiddle, w, h), false);
}

// ---- court cards ------------------------------------------------------------

struct CourtColours {
  QColor robe;    // main garment
  QColor trim;    // collar, sleeves, lining
  QColor jewel;
};

const QColor kGold(232, 184, 32);
const QColor kGoldDark(160, 112, 0);
const QColor kSkin(255, 222, 186);
const QColor kFrameFill(255, 250, 228);
const QColor kBlue(32, 64, 176);
const QColor kHairBrown(120, 72, 24);
const QColor kBeard(224, 224, 224);
const QColor kFeatures(40, 24, 16);
const QColor kLips(200, 120, 100);

CourtColours ColoursFor(Suit suit) {
  if (IsRed(suit)) return {kRedInk, kBlue, kBlue};
  return {kBlue, QColor(24, 24, 24), QColor(0, 150, 60)};
}

// The frame around the figure; its centre is the card's centre. Its top line
// lies just below the 18 rows that show of a covered card, where it would
// read as an underline under the index.
constexpr int kFrameLeft = 11, kFrameTop = 18;
constexpr int kFrameRight = CardWidth - 1 - kFrameLeft;    // last column, 59
constexpr int kFrameBottom = CardHeight - 1 - kFrameTop;   // last row, 77

// One half of the figure, head at the top, cut off at the card's middle row.
// Coordinates are card pixels; the figure is centred on column 35.5.
void PaintCourtHalf(QPainter& painter, Suit suit, int rank) {
  const CourtColours c = ColoursFor(suit);
  const double cx = CardWidth / 2.0;  // 35.5
  const bool king = rank == 12, queen = rank == 11;

  // Held object behind the shoulder: sword, sceptre with a flower, halberd.
  const QColor steel(150, 150, 166);
  if (king) {
    painter.fillRect(QRectF(cx - 15, 19, 2, 26), steel);
    painter.fillRect(QRectF(cx - 18, 35, 8, 2), kGoldDark);
    painter.fillRect(QRectF(cx - 15, 37, 2, 4), kHairBrown);
  } else if (queen) {
    painter.fillRect(QRectF(cx - 14, 26, 1, 18), QColor(0, 110, 40));
    QPainterPath bloom;
    for (int i = 0; i < 4; ++i) {
      const double dx = (i % 2 ? 1.5 : -1.5), dy = (i < 2 ? -1.5 : 1.5);
      bloom.addEllipse(QPointF(cx - 13.5 + dx, 24 + dy), 1.8, 1.8);
    }
    bloom.setFillRule(Qt::WindingFill);
    painter.fillPath(bloom, c.jewel);
    painter.fillRect(QRectF(cx - 14, 23.5, 1, 1), kGold);
  } else {
    painter.fillRect(QRectF(cx - 15, 24, 2, 22), kHairBrown);
    QPainterPath blade;
    blade.moveTo(cx - 14, 18);
    blade.lineTo(cx - 11, 24);
    blade.lineTo(cx - 17, 24);
    blade.closeSubpath();
    blade.addRect(QRectF(cx - 19, 24, 10, 2));
    painter.fillPath(blade, steel);
  }

  // Shoulders and robe, narrower than the frame so the figure stands free.
  QPainterPath robe;
  robe.moveTo(cx - 19, kMiddle + 1);
  robe.lineTo(cx - 19, 45);
  robe.cubicTo(cx - 19, 40, cx - 14, 38, cx - 5, 37);
  robe.lineTo(cx + 5, 37);
  robe.cubicTo(cx + 14, 38, cx + 19, 40, cx + 19, 45);
  robe.lineTo(cx + 19, kMiddle + 1);
  robe.closeSubpath();
  painter.fillPath(robe, c.robe);
  painter.strokePath(robe, QPen(kGoldDark, 1));

  // Front panel with a gold seam and buttons.
  painter.fillRect(QRectF(cx - 4, 39, 8, 10), c.trim);
  painter.fillRect(QRectF(cx - 1, 39, 2, 10), kGold);
  // The hand holding the object.
  QPainterPath hand;
  hand.addEllipse(QPointF(cx - 13.5, 41.5), 2.2, 2.2);
  painter.fillPath(hand, kSkin);

  // Collar: ermine for the king, a necklace for the queen, plain for the jack.
  QPainterPath collar;
  collar.moveTo(cx - 10, 37);
  collar.quadTo(cx, 44, cx + 10, 37);
  collar.lineTo(cx + 7, 36);
  collar.quadTo(cx, 40, cx - 7, 36);
  collar.closeSubpath();
  painter.fillPath(collar, king ? QColor(250, 250, 250) : queen ? kFrameFill : kGold);
  if (king) {
    for (int x : {-7, -3, 2, 6}) painter.fillRect(QRect(int(cx) + x, 38 + (x == -3 || x == 2), 1, 1), kFeatures);
  } else if (queen) {
    QPainterPath necklace;
    necklace.moveTo(cx - 5, 37);
    necklace.quadTo(cx, 42, cx + 5, 37);
    painter.strokePath(necklace, QPen(kGold, 1));
    painter.fillRect(QRectF(cx - 1, 40, 2, 2), c.jewel);
  }

  // Hair behind the face.
  QPainterPath hair;
  if (queen) {  // long hair falling to the shoulders, rounded at the ends
    hair.moveTo(cx - 5, 38);
    hair.cubicTo(cx - 11, 38, cx - 10, 21, cx, 21);
    hair.cubicTo(cx + 10, 21, cx + 11, 38, cx + 5, 38);
    hair.closeSubpath();
  } else {
    hair.addEllipse(QRectF(cx - 7.5, 22, 15, 14));
  }
  painter.fillPath(hair, queen && IsRed(suit) ? kGoldDark : kHairBrown);

  // Face.
  QPainterPath face;
  face.addEllipse(QRectF(cx - 6, 23, 12, 15));
  painter.fillPath(face, kSkin);

  if (king) {  // a full beard over the chin and a moustache
    QPainterPath beard;
    beard.moveTo(cx - 6, 30);
    beard.cubicTo(cx - 6, 38, cx - 3, 41, cx, 41);
    beard.cubicTo(cx + 3, 41, cx + 6, 38, cx + 6, 30);
    beard.cubicTo(cx + 4, 33, cx - 4, 33, cx - 6, 30);
    painter.fillPath(beard, kBeard);
    painter.fillRect(QRect(33, 32, 5, 1), QColor(190, 190, 190));
  }

  // Eyes, brows and mouth in whole pixels.
  painter.fillRect(QRect(33, 28, 1, 2), kFeatures);
  painter.fillRect(QRect(37, 28, 1, 2), kFeatures);
  painter.fillRect(QRect(32, 27, 2, 1), king ? QColor(150, 150, 150) : kHairBrown);
  painter.fillRect(QRect(37, 27, 2, 1), king ? QColor(150, 150, 150) : kHairBrown);
  painter.fillRect(QRect(35, 30, 1, 2), QColor(232, 180, 150));  // nose
  painter.fillRect(QRect(34, 34, 3, 1), king ? kFeatures : kLips);

  // Headwear.
  if (king) {  // crown with three points and a jewel
    QPainterPath crown;
    crown.moveTo(cx - 7, 25);
    crown.lineTo(cx - 7, 17);
    crown.lineTo(cx - 3.5, 21);
    crown.lineTo(cx, 16);
    crown.lineTo(cx + 3.5, 21);
    crown.lineTo(cx + 7, 17);
    crown.lineTo(cx + 7, 25);
    crown.closeSubpath();
    painter.fillPath(crown, kGold);
    painter.fillRect(QRectF(cx - 7, 24, 14, 1), kGoldDark);
    painter.fillRect(QRectF(cx - 1, 21, 2, 2), c.jewel);
  } else if (queen) {  // low crown with pearls
    QPainterPath crown;
    crown.addRect(QRectF(cx - 6, 20, 12, 4));
    for (double x : {cx - 5, cx, cx + 5}) crown.addEllipse(QRectF(x - 1.5, 17, 3, 3));
    crown.setFillRule(Qt::WindingFill);
    painter.fillPath(crown, kGold);
    painter.fillRect(QRectF(cx - 1, 21, 2, 2), c.jewel);
  } else {  // cap with a feather
    QPainterPath cap;
    cap.moveTo(cx - 8, 26);
    cap.cubicTo(cx - 8, 18, cx + 8, 18, cx + 8, 26);
    cap.closeSubpath();
    painter.fillPath(cap, c.robe);
    painter.fillRect(QRectF(cx - 8, 24, 16, 2), c.trim);
    QPainterPath feather;
    feather.moveTo(cx + 4, 21);
    feather.cubicTo(cx + 9, 16, cx + 14, 17, cx + 16, 19);
    feather.cubicTo(cx + 12, 19, cx + 8, 20, cx + 4, 22);
    feather.closeSubpath();
    painter.fillPath(feather, kGold);
  }

  // The suit beside the head, as on printed court cards.
  PaintSuit(painter, suit, QRectF(kFrameRight - 10, kFrameTop + 3, 9, 10), false);
}

void PaintCourt(QPainter& painter, Suit suit, int rank) {
  const QRect inside(kFrameLeft + 1, kFrameTop + 1, kFrameRight - kFrameLeft - 1,
                     kMiddle - kFrameTop - 1);
  painter.fillRect(QRect(kFrameLeft, kFrameTop, kFrameRight - kFrameLeft + 1,
                         kFrameBottom - kFrameTop + 1),
                   kFrameFill);

  for (int half = 0; half < 2; ++half) {
    painter.save();
    if (half == 1) painter.setTransform(HalfTurn());
    painter.setClipRect(inside);
    PaintCourtHalf(painter, suit, rank);
    painter.restore();
  }

  // A thin line between the two halves and the frame itself.
  painter.fillRect(QRect(kFrameLeft + 1, kMiddle, kFrameRight - kFrameLeft - 1, 1),
                   SuitInk(suit));
  painter.setPen(QPen(SuitInk(suit), 1));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(QRectF(kFrameLeft + 0.5, kFrameTop + 0.5, kFrameRight - kFrameLeft,
                          kFrameBottom - kFrameTop));
}

QPainterPath CardOutline() {
  QPainterPath path;
  path.addRoundedRect(QRectF(0.5, 0.5, CardWidth - 1, CardHeight - 1), 4, 4);
  return path;
}

}  // namespace

QImage PaintCardFace(Suit suit, int rank) {
  QImage image(CardWidth, CardHeight, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing, true);

  const QPainterPath outline = CardOutline();
  painter.fillPath(outline, kPaper);

  const QImage index = PaintIndex(suit, rank);
  painter.drawImage(kIndexLeft, kIndexTop, index);
  painter.drawImage(CardWidth - kIndexLeft - index.width(), CardHeight - kIndexTop - index.height(),
                    index.mirrored(true, true));

  if (rank == 0) {
    PaintAce(painter, suit);
  } else if (rank <= 9) {
    PaintPips(painter, suit, rank);
  } else {
    PaintCourt(painter, suit, rank);
  }

  painter.strokePath(outline, QPen(kOutline, 1));
  return image;
}

QImage PaintEmptySlotMark() {
  const QColor field(255, 255, 192);
  const QColor dots(160, 160, 96);
  const QColor rim(112, 112, 64);
  QImage image(CardWidth, CardHeight, QImage::Format_ARGB32_Premultiplied);
  image.fill(field);
  QPainter painter(&image);

  // A dotted rim, every second pixel, and a sparse staggered grid inside.
  for (int x = 0; x < CardWidth; x += 2) {
    painter.fillRect(QRect(x, 0, 1, 1), rim);
    painter.fillRect(QRect(x, CardHeight - 1, 1, 1), rim);
  }
  for (int y = 0; y < CardHeight; y += 2) {
    painter.fillRect(QRect(0, y, 1, 1), rim);
    painter.fillRect(QRect(CardWidth - 1, y, 1, 1), rim);
  }
  for (int y = 4; y < CardHeight - 3; y += 4) {
    const int shift = (y / 4) % 2 == 0 ? 4 : 6;
    for (int x = shift; x < CardWidth - 3; x += 4) painter.fillRect(QRect(x, y, 1, 1), dots);
  }
  return image;
}

}  // namespace assets::detail
