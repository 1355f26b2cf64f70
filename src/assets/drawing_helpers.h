// Building blocks shared by the picture files: suit outlines, the hand-made
// pixel letters and the painters of each kind of picture. Internal to
// src/assets; the game uses pictures.h only.
#pragma once

#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QRectF>

class QPainter;

namespace assets::detail {

enum class Suit { Hearts = 0, Diamonds = 1, Spades = 2, Clubs = 3 };

inline bool IsRed(Suit suit) { return suit == Suit::Hearts || suit == Suit::Diamonds; }

// The outline of a suit symbol filling `box` (upright: heart lobes at the top,
// spade and club stems at the bottom).
QPainterPath SuitPath(Suit suit, const QRectF& box);

// A letter drawn from rows of '#' (ink) and '.' (paper), one character per
// pixel. All rows have the same length, which is the letter's width.
struct PixelGlyph {
  int width;
  int height;
  const char* const* rows;
};

// Paints the '#' cells of `glyph` with its top-left cell at `at`. Each row is
// moved right by `slant(row)` pixels, which turns upright letters italic.
void PaintGlyph(QPainter& painter, const PixelGlyph& glyph, QPoint at, const QColor& ink,
                int (*slant)(int row) = nullptr);

// Toolbar words: the word of picture 1..6 ("" for any other index); whether
// a letter has a glyph of its own (any other letter is drawn as a box); one
// word in red italic, centred on a 32 x 16 silver picture.
const char* ToolbarWord(int index);
bool HasToolbarLetter(char c);
QImage PaintToolbarWord(const char* word);

// Card faces: suit 0..3, rank 0 (ace) .. 12 (king).
QImage PaintCardFace(Suit suit, int rank);
QImage PaintEmptySlotMark();

// A fully transparent image of the given size, returned for unknown indices.
QImage BlankPicture(int width, int height);

}  // namespace assets::detail
