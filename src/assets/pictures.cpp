// The public picture functions, plus the small pictures: toolbar words, eyes,
// the window icon and the invisible pointer. Card faces live in card_faces.cpp.
//
// Everything is painted on demand; nothing is cached or prepared at start-up.
#include "assets/pictures.h"

#include <QBitmap>
#include <QPainter>
#include <QPixmap>
#include <algorithm>

#include "assets/drawing_helpers.h"

namespace assets {
namespace {

using detail::PixelGlyph;

// ---- toolbar words ----------------------------------------------------------
//
// Letters are 11 rows: 9 from cap height down to the baseline, then 2 for the
// descender of 'p'. Vertical strokes are two pixels wide so that the words stay
// bold enough at 32 x 16.

constexpr int kLetterHeight = 11;

const char* const kS[] = {
    ".####.", "##..##", "##....", "##....", ".####.", "....##", "....##", "##..##", ".####.",
    "......", "......",
};
const char* const kT[] = {
    "....", ".##.", ".##.", "####", ".##.", ".##.", ".##.", ".##.", "..##", "....", "....",
};
const char* const kA[] = {
    "......", "......", "......", ".####.", "....##", ".#####", "##..##", "##..##", ".#####",
    "......", "......",
};
const char* const kR[] = {
    ".....", ".....", ".....", "##.##", "###..", "##...", "##...", "##...", "##...",
    ".....", ".....",
};
const char* const kCapE[] = {
    "######", "##....", "##....", "##....", "#####.", "##....", "##....", "##....", "######",
    "......", "......",
};
const char* const kN[] = {
    "......", "......", "......", "#####.", "##..##", "##..##", "##..##", "##..##", "##..##",
    "......", "......",
};
const char* const kD[] = {
    "....##", "....##", "....##", ".#####", "##..##", "##..##", "##..##", "##..##", ".#####",
    "......", "......",
};
const char* const kCapO[] = {
    ".#####.", "##...##", "##...##", "##...##", "##...##", "##...##", "##...##", "##...##",
    ".#####.", ".......", ".......",
};
const char* const kP[] = {
    "......", "......", "......", "#####.", "##..##", "##..##", "##..##", "##..##", "#####.",
    "##....", "##....",
};
const char* const kCapU[] = {
    "##...##", "##...##", "##...##", "##...##", "##...##", "##...##", "##...##", "##...##",
    ".#####.", ".......", ".......",
};
const char* const kO[] = {
    "......", "......", "......", ".####.", "##..##", "##..##", "##..##", "##..##", ".####.",
    "......", "......",
};
const char* const kCapR[] = {
    "#####.", "##..##", "##..##", "##..##", "#####.", "##.##.", "##..##", "##..##", "##..##",
    "......", "......",
};
const char* const kE[] = {
    "......", "......", "......", ".####.", "##..##", "######", "##....", "##..##", ".####.",
    "......", "......",
};
const char* const kSmallS[] = {
    ".....", ".....", ".....", ".####", "##...", ".###.", "...##", "...##", "####.",
    ".....", ".....",
};
const char* const kU[] = {
    "......", "......", "......", "##..##", "##..##", "##..##", "##..##", "##..##", ".#####",
    "......", "......",
};
const char* const kCapH[] = {
    "##...##", "##...##", "##...##", "##...##", "#######", "##...##", "##...##", "##...##",
    "##...##", ".......", ".......",
};
const char* const kI[] = {
    "..", "##", "..", "##", "##", "##", "##", "##", "##", "..", "..",
};

// A letter without a glyph of its own shows as an empty box, so that a
// missing letter is seen at once instead of leaving a gap.
const char* const kBox[] = {
    "#####", "#...#", "#...#", "#...#", "#...#", "#...#", "#...#", "#...#", "#####",
    ".....", ".....",
};

PixelGlyph Letter(char c) {
  switch (c) {
    case 'S': return {6, kLetterHeight, kS};
    case 't': return {4, kLetterHeight, kT};
    case 'a': return {6, kLetterHeight, kA};
    case 'r': return {5, kLetterHeight, kR};
    case 'E': return {6, kLetterHeight, kCapE};
    case 'n': return {6, kLetterHeight, kN};
    case 'd': return {6, kLetterHeight, kD};
    case 'O': return {7, kLetterHeight, kCapO};
    case 'p': return {6, kLetterHeight, kP};
    case 'U': return {7, kLetterHeight, kCapU};
    case 'o': return {6, kLetterHeight, kO};
    case 'R': return {6, kLetterHeight, kCapR};
    case 'e': return {6, kLetterHeight, kE};
    case 's': return {5, kLetterHeight, kSmallS};
    case 'u': return {6, kLetterHeight, kU};
    case 'H': return {7, kLetterHeight, kCapH};
    case 'i': return {2, kLetterHeight, kI};
    default: return {5, kLetterHeight, kBox};
  }
}

// Italic: the higher a row stands above the baseline (row 8), the further right.
int ItalicSlant(int row) { return row <= 8 ? (8 - row) / 3 : 0; }
constexpr int kLetterGap = 1;

const QColor kToolbarSilver(192, 192, 192);
const QColor kToolbarInk(224, 0, 0);

}  // namespace

bool detail::HasToolbarLetter(char c) { return Letter(c).rows != kBox; }

const char* detail::ToolbarWord(int index) {
  static const char* const kWords[ToolbarPictureCount] = {"Start", "End", "Opt",
                                                          "Undo",  "Resu", "Hint"};
  return index >= 1 && index <= ToolbarPictureCount ? kWords[index - 1] : "";
}

QImage detail::PaintToolbarWord(const char* word) {
  // Set the word on a wider strip first, then centre its actual ink, which
  // depends on the slant and on blank columns inside the letters.
  QImage strip(2 * ToolbarPictureWidth, ToolbarPictureHeight, QImage::Format_RGB32);
  strip.fill(kToolbarSilver);
  const int top = (ToolbarPictureHeight - 9) / 2;  // centre the cap height
  {
    QPainter painter(&strip);
    int x = 0;
    for (const char* c = word; *c; ++c) {
      const PixelGlyph glyph = Letter(*c);
      detail::PaintGlyph(painter, glyph, QPoint(x, top), kToolbarInk, ItalicSlant);
      x += glyph.width + kLetterGap;
    }
  }
  int left = strip.width(), right = -1;
  for (int y = 0; y < strip.height(); ++y) {
    for (int x = 0; x < strip.width(); ++x) {
      if (strip.pixel(x, y) != kToolbarSilver.rgb()) {
        left = std::min(left, x);
        right = std::max(right, x);
      }
    }
  }
  QImage image(ToolbarPictureWidth, ToolbarPictureHeight, QImage::Format_RGB32);
  image.fill(kToolbarSilver);
  if (right < left) return image;
  const int inkWidth = right - left + 1;
  QPainter painter(&image);
  painter.drawImage((ToolbarPictureWidth - inkWidth) / 2, 0, strip, left, 0, inkWidth,
                    ToolbarPictureHeight);
  return image;
}

namespace {

// ---- eyes -------------------------------------------------------------------

const QColor kBoard(255, 255, 192);

QImage PaintEyes(int look) {
  QImage image(EyePictureWidth, EyePictureHeight, QImage::Format_RGB32);
  image.fill(kBoard);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing, true);

  // Two upright ovals 15 x 25, centred on columns 9 and 27 (pixel centres at
  // x.5 so that the outline falls on whole pixels).
  constexpr double kCentreX[2] = {9.0, 27.0};
  constexpr double kCentreY = 13.5;
  constexpr double kRadiusX = 7.0, kRadiusY = 12.0;
  painter.setPen(QPen(QColor(64, 64, 64), 1));
  painter.setBrush(Qt::white);
  for (double cx : kCentreX) painter.drawEllipse(QPointF(cx, kCentreY), kRadiusX, kRadiusY);

  // Pupil offsets from the oval's centre for left, ahead, right, up, down.
  constexpr int kDx[5] = {-4, 0, 4, 0, 0};
  constexpr int kDy[5] = {0, 0, 0, -7, 7};
  painter.setRenderHint(QPainter::Antialiasing, false);
  for (double cx : kCentreX) {
    // A round 5 x 5 pupil made of two crossed rectangles.
    const int px = static_cast<int>(cx) - 2 + kDx[look];
    const int py = static_cast<int>(kCentreY) - 2 + kDy[look];
    painter.fillRect(QRect(px + 1, py, 3, 5), Qt::black);
    painter.fillRect(QRect(px, py + 1, 5, 3), Qt::black);
  }
  return image;
}

// ---- window icon --------------------------------------------------------------
//
// A card king's head as 32 x 32 pixel art in the classic 16-colour palette.

const char* const kIconRows[32] = {
    "................................",
    ".......k......kkkk......k.......",
    "......kyk....kyyyyk....kyk......",
    "......kyyk..kyyyyyyk..kyyk......",
    "......kyyykkyyyyyyyykkyyyk......",
    "......kyyyyyyyyyyyyyyyyyyk......",
    "......kyyyyyyyyyyyyyyyyyyk......",
    ".....kkkkkkkkkkkkkkkkkkkkkk.....",
    ".....kyyRyyyyyBBBByyyyyRyyk.....",
    ".....kyyRyyyyyBBBByyyyyRyyk.....",
    ".....kkkkkkkkkkkkkkkkkkkkkk.....",
    "....kookwwwwwwwwwwwwwwwwkook....",
    "....koowwwwwwwwwwwwwwwwwwook....",
    "....koowkkkkwwwwwwwwkkkkwook....",
    "....koowwwwwwwwwwwwwwwwwwook....",
    "....koowwkkwwwwwwwwwwkkwwook....",
    "....koowwkkwwwwwwwwwwkkwwook....",
    "....koowwwwwwwwggwwwwwwwwook....",
    "....koowRRwwwwwggwwwwwRRwook....",
    "....koowwwwwwggggggwwwwwwook....",
    "....kogggddddddddddddddgggok....",
    "....koggggggrrrrrrrrggggggok....",
    "....koggggggggggggggggggggok....",
    ".....kggggggggggggggggggggk.....",
    ".....kggggggggggggggggggggk.....",
    "......kggggggggggggggggggk......",
    ".......kggggggggggggggggk.......",
    "...kkkkkkkggggggggggggkkkkkkk...",
    "..kbbbbbbbkkggggggggkkbbbbbbbk..",
    ".kbbbbbbyyyykkggggkkyyyybbbbbbk.",
    ".kbbbbbbbbbbyykkkkyybbbbbbbbbbk.",
    "kkbbbbbbbbbbbyyyyyybbbbbbbbbbbkk",
};

QColor IconColour(char c) {
  switch (c) {
    case 'k': return QColor(0, 0, 0);
    case 'b': return QColor(0, 0, 170);
    case 'r': return QColor(170, 0, 0);
    case 'o': return QColor(170, 85, 0);
    case 'g': return QColor(170, 170, 170);
    case 'd': return QColor(85, 85, 85);
    case 'B': return QColor(85, 85, 255);
    case 'R': return QColor(255, 85, 85);
    case 'y': return QColor(255, 255, 85);
    case 'w': return QColor(255, 255, 255);
    default: return QColor(Qt::transparent);
  }
}

QImage PaintKingIcon() {
  QImage image(32, 32, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32;) {
      const char c = kIconRows[y][x];
      int end = x + 1;
      while (end < 32 && kIconRows[y][end] == c) ++end;
      if (c != '.') painter.fillRect(QRect(x, y, end - x, 1), IconColour(c));
      x = end;
    }
  }
  return image;
}

}  // namespace

QImage CardPicture(int index) {
  if (index == EmptySlotMarkIndex) return detail::PaintEmptySlotMark();
  if (index < 1 || index > 52) return detail::BlankPicture(CardWidth, CardHeight);
  const int suit = (index - 1) / 13;
  const int rank = (index - 1) % 13;
  return detail::PaintCardFace(static_cast<detail::Suit>(suit), rank);
}

QImage ToolbarPicture(int index) {
  if (index < 1 || index > ToolbarPictureCount) {
    return detail::BlankPicture(ToolbarPictureWidth, ToolbarPictureHeight);
  }
  return detail::PaintToolbarWord(detail::ToolbarWord(index));
}

QImage EyePicture(int index) {
  if (index < 1 || index > EyePictureCount) {
    return detail::BlankPicture(EyePictureWidth, EyePictureHeight);
  }
  return PaintEyes(index - 1);
}

QImage WindowIcon() { return PaintKingIcon(); }

QCursor InvisiblePointer() {
  // A bitmap/mask pair with every mask bit clear shows nothing on any platform.
  QBitmap shape(16, 16);
  shape.fill(Qt::color0);
  QBitmap mask(16, 16);
  mask.fill(Qt::color0);
  return QCursor(shape, mask, 0, 0);
}

}  // namespace assets
