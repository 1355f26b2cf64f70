// Checks the generated pictures by what a player would notice: sizes, which
// card is which, colours, that covered cards can be told apart by their top
// strip, that the eyes look where they should. The ContactSheet case writes
// all pictures into one PNG for looking at them (see its comment).
#include <gtest/gtest.h>

#include <QBitmap>
#include <QPainter>
#include <QSet>
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "assets/drawing_helpers.h"
#include "assets/pictures.h"

namespace {

using namespace assets;

constexpr int kStrip = 18;  // rows of a card that show when it is covered

QImage Argb(const QImage& image) { return image.convertToFormat(QImage::Format_ARGB32); }

bool IsRedInk(QRgb c) {
  return qAlpha(c) == 255 && qRed(c) >= 150 && qGreen(c) <= 90 && qBlue(c) <= 90;
}
bool IsBlackInk(QRgb c) {
  return qAlpha(c) == 255 && qRed(c) <= 40 && qGreen(c) <= 40 && qBlue(c) <= 40;
}

int Count(const QImage& image, bool (*pred)(QRgb), QRect area = {}) {
  const QImage a = Argb(image);
  if (area.isNull()) area = a.rect();
  int n = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) n += pred(a.pixel(x, y)) ? 1 : 0;
  return n;
}

// Connected groups (4-neighbour) of pixels matching `pred` inside `area`;
// returns the bounding box of each group.
std::vector<QRect> Blobs(const QImage& image, bool (*pred)(QRgb), QRect area) {
  const QImage a = Argb(image);
  std::vector<char> seen(a.width() * a.height(), 0);
  std::vector<QRect> blobs;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      if (seen[y * a.width() + x] || !pred(a.pixel(x, y))) continue;
      QRect box(x, y, 1, 1);
      std::vector<QPoint> todo{{x, y}};
      seen[y * a.width() + x] = 1;
      while (!todo.empty()) {
        const QPoint p = todo.back();
        todo.pop_back();
        box |= QRect(p, QSize(1, 1));
        for (QPoint d : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
          const QPoint q = p + d;
          if (!area.contains(q) || seen[q.y() * a.width() + q.x()] || !pred(a.pixel(q)))
            continue;
          seen[q.y() * a.width() + q.x()] = 1;
          todo.push_back(q);
        }
      }
      blobs.push_back(box);
    }
  }
  return blobs;
}

bool IsInk(QRgb c) { return IsRedInk(c) || IsBlackInk(c); }

// The rank letter is the leftmost group of ink in the top strip.
QRect RankLetterBox(const QImage& card) {
  auto blobs = Blobs(card, IsInk, QRect(0, 0, 30, kStrip));
  EXPECT_FALSE(blobs.empty());
  if (blobs.empty()) return {};
  return *std::min_element(blobs.begin(), blobs.end(),
                           [](const QRect& a, const QRect& b) { return a.left() < b.left(); });
}

int Index(int suit, int rank) { return suit * 13 + rank + 1; }

TEST(PicturesCards, SizesAndInvalidIndices) {
  for (int i = 1; i <= CardPictureCount; ++i) {
    const QImage card = CardPicture(i);
    ASSERT_EQ(card.size(), QSize(71, 96)) << "picture " << i;
  }
  for (int bad : {0, -1, 54, 1000}) {
    const QImage card = Argb(CardPicture(bad));
    ASSERT_EQ(card.size(), QSize(71, 96));
    EXPECT_EQ(Count(card, [](QRgb c) { return qAlpha(c) != 0; }), 0) << "index " << bad;
  }
  for (int bad : {0, 7}) {
    EXPECT_EQ(ToolbarPicture(bad).size(), QSize(32, 16));
  }
  for (int bad : {0, 6}) {
    EXPECT_EQ(EyePicture(bad).size(), QSize(36, 27));
  }
}

TEST(PicturesCards, CardShapeAndRepeatability) {
  const QImage card = Argb(CardPicture(Index(2, 6)));
  EXPECT_EQ(qAlpha(card.pixel(0, 0)), 0) << "rounded corner lets the table show";
  EXPECT_EQ(qAlpha(card.pixel(70, 95)), 0);
  EXPECT_TRUE(IsBlackInk(card.pixel(35, 0)) || qGray(card.pixel(35, 0)) < 80) << "dark outline";
  EXPECT_EQ(card.pixel(35, 10), qRgb(255, 255, 255)) << "white face";
  for (int i : {1, 23, 50, 53}) EXPECT_TRUE(CardPicture(i) == CardPicture(i)) << "picture " << i;
}

TEST(PicturesCards, IndexOrderAndPipCounts) {
  const QRect middle(12, 18, 48, 61);  // between the two corner indices
  for (int suit = 0; suit < 4; ++suit) {
    const bool red = suit < 2;
    auto ink = red ? IsRedInk : IsBlackInk;
    // Ace: one big symbol in the middle.
    const QImage ace = CardPicture(Index(suit, 0));
    auto aceBlobs = Blobs(ace, ink, middle);
    ASSERT_EQ(aceBlobs.size(), 1u) << "suit " << suit;
    EXPECT_GE(aceBlobs[0].height(), 25);
    EXPECT_TRUE(aceBlobs[0].contains(35, 48));
    // Two to ten: as many separate pips as the rank says.
    for (int rank = 1; rank <= 9; ++rank) {
      EXPECT_EQ(Blobs(CardPicture(Index(suit, rank)), ink, middle).size(), size_t(rank + 1))
          << "suit " << suit << " rank " << rank + 1;
    }
    // Courts are framed pictures, not pips: many colours in the middle.
    for (int rank = 10; rank <= 12; ++rank) {
      const QImage court = Argb(CardPicture(Index(suit, rank)));
      QSet<QRgb> colours;
      for (int y = middle.top(); y <= middle.bottom(); ++y)
        for (int x = middle.left(); x <= middle.right(); ++x) colours.insert(court.pixel(x, y));
      EXPECT_GE(colours.size(), 6) << "suit " << suit << " rank " << rank + 1;
    }
    // The letters: A is pointed at the top, K has a straight stem on the left
    // and an arm reaching the top right, Q is round, J has no left stem.
    const QImage a = Argb(ace);
    const QRect aBox = RankLetterBox(a);
    EXPECT_FALSE(ink(a.pixel(aBox.topLeft())));
    EXPECT_TRUE(ink(a.pixel(aBox.bottomLeft())));
    EXPECT_TRUE(ink(a.pixel(aBox.bottomRight())));
    const QImage k = Argb(CardPicture(Index(suit, 12)));
    const QRect kBox = RankLetterBox(k);
    for (int y = kBox.top(); y <= kBox.bottom(); ++y) EXPECT_TRUE(ink(k.pixel(kBox.left(), y)));
    EXPECT_TRUE(ink(k.pixel(kBox.topRight())));
    const QImage q = Argb(CardPicture(Index(suit, 11)));
    EXPECT_FALSE(ink(q.pixel(RankLetterBox(q).topLeft())));
    const QImage j = Argb(CardPicture(Index(suit, 10)));
    EXPECT_FALSE(ink(j.pixel(RankLetterBox(j).left(), RankLetterBox(j).center().y())));
  }
  // The four named corners of the deck, by colour.
  EXPECT_GT(Count(CardPicture(1), IsRedInk), 100);
  EXPECT_GT(Count(CardPicture(13), IsRedInk), 50);
  EXPECT_EQ(Count(CardPicture(40), IsRedInk), 0);
  EXPECT_EQ(Count(CardPicture(52), IsRedInk), 0);
}

TEST(PicturesCards, SuitColours) {
  for (int i = 1; i <= 52; ++i) {
    const QImage card = CardPicture(i);
    const bool red = (i - 1) / 13 < 2;
    const QRect strip(0, 0, 30, kStrip);
    if (red) {
      EXPECT_GT(Count(card, IsRedInk, strip), 20) << "red index on picture " << i;
      EXPECT_EQ(Count(card, IsBlackInk, strip), 0) << "picture " << i;
    } else {
      EXPECT_GT(Count(card, IsBlackInk, strip), 20) << "black index on picture " << i;
      EXPECT_EQ(Count(card, IsRedInk), 0) << "black suit with red ink, picture " << i;
    }
  }
}

TEST(PicturesCards, FacesAndCoveredStripsAllDiffer) {
  std::vector<QImage> faces, strips;
  for (int i = 1; i <= 52; ++i) {
    faces.push_back(CardPicture(i));
    strips.push_back(faces.back().copy(0, 0, CardWidth, kStrip));
  }
  for (int i = 0; i < 52; ++i) {
    for (int j = i + 1; j < 52; ++j) {
      EXPECT_FALSE(faces[i] == faces[j]) << i + 1 << " and " << j + 1;
      EXPECT_FALSE(strips[i] == strips[j]) << "strips of " << i + 1 << " and " << j + 1;
    }
  }
}

// A covered jack, queen or king shows its index and plain paper, as a covered
// ace does: no line of the figure's frame that would read as an underline.
TEST(PicturesCards, ACoveredCourtCardShowsOnlyItsIndex) {
  const QRect indexArea(0, 0, 30, 14);  // rank letter and suit symbol
  for (int suit = 0; suit < 4; ++suit) {
    const QImage ace = Argb(CardPicture(Index(suit, 0)));
    for (int rank = 10; rank <= 12; ++rank) {
      const QImage court = Argb(CardPicture(Index(suit, rank)));
      int stray = 0;
      for (int y = 0; y < kStrip; ++y)
        for (int x = 0; x < CardWidth; ++x)
          if (!indexArea.contains(x, y) && court.pixel(x, y) != ace.pixel(x, y)) ++stray;
      EXPECT_EQ(stray, 0) << "suit " << suit << " rank " << rank;
      // The frame itself is still there, just below the strip.
      EXPECT_NE(court.pixel(CardWidth / 2, kStrip), ace.pixel(CardWidth / 2, kStrip));
    }
  }
}

TEST(PicturesCards, BottomRightIndexIsTopLeftTurned) {
  for (int i = 1; i <= 52; ++i) {
    const QImage card = Argb(CardPicture(i));
    const QImage turned = card.mirrored(true, true);
    // Inside the rounded corner, which antialiasing draws a shade differently.
    const QRect corner(2, 2, 26, 14);
    EXPECT_TRUE(card.copy(corner) == turned.copy(corner)) << "picture " << i;
  }
}

TEST(PicturesCards, EmptySlotMark) {
  const QImage mark = CardPicture(EmptySlotMarkIndex);
  auto paleYellow = [](QRgb c) { return c == qRgb(255, 255, 192); };
  const int total = mark.width() * mark.height();
  const int yellow = Count(mark, paleYellow);
  EXPECT_GT(yellow, total / 2);
  EXPECT_GT(total - yellow, 100) << "the dots make the mark visible on the board";
  EXPECT_GT(Count(mark, paleYellow, QRect(20, 30, 30, 30)), 0) << "dots, not a solid block";
}

TEST(PicturesSmall, ToolbarWords) {
  std::vector<QImage> words;
  for (int i = 1; i <= ToolbarPictureCount; ++i) {
    const QImage word = Argb(ToolbarPicture(i));
    ASSERT_EQ(word.size(), QSize(32, 16));
    words.push_back(word);
    EXPECT_EQ(word.pixel(0, 0), qRgb(192, 192, 192));
    EXPECT_GT(Count(word, IsRedInk), 25) << "word " << i;
    // Nothing touches the border, so no letter is cut off.
    for (int x = 0; x < 32; ++x) {
      EXPECT_EQ(word.pixel(x, 0), qRgb(192, 192, 192));
      EXPECT_EQ(word.pixel(x, 15), qRgb(192, 192, 192));
    }
    for (int y = 0; y < 16; ++y) {
      EXPECT_EQ(word.pixel(0, y), qRgb(192, 192, 192));
      EXPECT_EQ(word.pixel(31, y), qRgb(192, 192, 192));
    }
    // Only silver and the ink: silver works as the transparent colour.
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 32; ++x)
        EXPECT_TRUE(word.pixel(x, y) == qRgb(192, 192, 192) || IsRedInk(word.pixel(x, y)));
  }
  for (size_t i = 0; i < words.size(); ++i)
    for (size_t j = i + 1; j < words.size(); ++j) EXPECT_FALSE(words[i] == words[j]);
}

TEST(PicturesSmall, EveryToolbarWordHasAGlyphForEachLetter) {
  for (int i = 1; i <= ToolbarPictureCount; ++i) {
    const std::string word = detail::ToolbarWord(i);
    EXPECT_FALSE(word.empty()) << "word " << i;
    for (char c : word) EXPECT_TRUE(detail::HasToolbarLetter(c)) << word << ": " << c;
    EXPECT_TRUE(detail::PaintToolbarWord(word.c_str()) == ToolbarPicture(i)) << word;
  }
}

// Per row of the ink: how many ink pixels it holds.
std::vector<int> InkPerRow(const QImage& word) {
  std::vector<int> rows;
  for (int y = 0; y < word.height(); ++y) {
    int n = 0;
    for (int x = 0; x < word.width(); ++x) n += IsRedInk(word.pixel(x, y)) ? 1 : 0;
    if (n > 0 || !rows.empty()) rows.push_back(n);
  }
  while (!rows.empty() && rows.back() == 0) rows.pop_back();
  return rows;
}

TEST(PicturesSmall, AnUnknownLetterDrawsABox) {
  for (const char* letter : {"Q", "z", "?", "\x80"}) {
    EXPECT_FALSE(detail::HasToolbarLetter(letter[0])) << letter;
    const QImage word = Argb(detail::PaintToolbarWord(letter));
    ASSERT_EQ(word.size(), QSize(32, 16));
    // A 5 x 9 outline: full top and bottom rows, two sides in between.
    EXPECT_EQ(InkPerRow(word), (std::vector<int>{5, 2, 2, 2, 2, 2, 2, 2, 5})) << letter;
  }
  // Inside a known word the box takes the letter's place.
  EXPECT_FALSE(detail::PaintToolbarWord("SQt") == detail::PaintToolbarWord("St"));
}

QPointF DarkCentroid(const QImage& image) {
  const QImage a = Argb(image);
  double sx = 0, sy = 0;
  int n = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (IsBlackInk(a.pixel(x, y))) sx += x, sy += y, ++n;
  EXPECT_GT(n, 10);
  return n ? QPointF(sx / n, sy / n) : QPointF();
}

TEST(PicturesSmall, EyesLookAround) {
  QPointF c[6];
  for (int i = 1; i <= EyePictureCount; ++i) {
    const QImage eye = Argb(EyePicture(i));
    ASSERT_EQ(eye.size(), QSize(36, 27));
    EXPECT_EQ(eye.pixel(0, 0), qRgb(255, 255, 192)) << "board colour around the eyes";
    EXPECT_GT(Count(eye, [](QRgb p) { return p == qRgb(255, 255, 255); }), 200);
    c[i] = DarkCentroid(eye);
  }
  EXPECT_LT(c[1].x() + 2, c[2].x());  // left
  EXPECT_LT(c[2].x() + 2, c[3].x());  // right
  EXPECT_LT(c[4].y() + 3, c[2].y());  // up
  EXPECT_GT(c[5].y(), c[2].y() + 3);  // down
  for (int i : {4, 5}) EXPECT_NEAR(c[i].x(), c[2].x(), 0.5);
  for (int i : {1, 3}) EXPECT_NEAR(c[i].y(), c[2].y(), 0.5);
}

TEST(PicturesSmall, WindowIconUsesSixteenColours) {
  const QImage icon = Argb(WindowIcon());
  ASSERT_EQ(icon.size(), QSize(32, 32));
  QSet<QRgb> colours;
  int opaque = 0;
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      colours.insert(icon.pixel(x, y));
      opaque += qAlpha(icon.pixel(x, y)) == 255;
    }
  EXPECT_LE(colours.size(), 16);
  EXPECT_GT(opaque, 32 * 32 / 2);
}

TEST(PicturesSmall, InvisiblePointerShowsNothing) {
  const QCursor pointer = InvisiblePointer();
  if (pointer.shape() == Qt::BitmapCursor && pointer.pixmap().isNull()) {
    const QImage mask = pointer.mask().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(mask.size(), QSize(16, 16));
    // In a cursor mask black (color1) marks a shown pixel.
    EXPECT_EQ(Count(mask, [](QRgb c) { return qGray(c) < 128; }), 0);
  } else {
    const QImage image = Argb(pointer.pixmap().toImage());
    ASSERT_EQ(image.size(), QSize(16, 16));
    EXPECT_EQ(Count(image, [](QRgb c) { return qAlpha(c) != 0; }), 0);
  }
}

// Writes every picture into one PNG to look at. Runs only when
// TARNVOLE_CONTACT_SHEET names the output file; TARNVOLE_CONTACT_SHEET_SCALE
// (a whole number, default 1) enlarges the sheet without smoothing.
TEST(PicturesContactSheet, WritesSheetWhenAsked) {
  const char* path = std::getenv("TARNVOLE_CONTACT_SHEET");
  if (!path || !*path) GTEST_SKIP() << "set TARNVOLE_CONTACT_SHEET=/path/sheet.png";
  const char* scaleText = std::getenv("TARNVOLE_CONTACT_SHEET_SCALE");
  const int scale = std::clamp(scaleText ? std::atoi(scaleText) : 1, 1, 8);

  constexpr int gap = 6, columns = 13;
  const int stackLeft = gap + columns * (CardWidth + gap) + gap;
  const int width = stackLeft + 2 * (CardWidth + gap);
  const int height = gap + 5 * (CardHeight + gap) + 40;
  QImage sheet(width, height, QImage::Format_RGB32);
  sheet.fill(QColor(255, 255, 192));  // the board colour
  QPainter p(&sheet);
  for (int i = 1; i <= CardPictureCount; ++i) {
    const int col = (i - 1) % columns, row = (i - 1) / columns;
    p.drawImage(gap + col * (CardWidth + gap), gap + row * (CardHeight + gap), CardPicture(i));
  }
  for (int i = 1; i <= EyePictureCount; ++i)
    p.drawImage(gap + CardWidth + gap + (i - 1) * 42, gap + 4 * (CardHeight + gap), EyePicture(i));
  for (int i = 1; i <= ToolbarPictureCount; ++i)
    p.drawImage(gap + CardWidth + gap + (i - 1) * 38, gap + 4 * (CardHeight + gap) + 40,
                ToolbarPicture(i));
  p.drawImage(gap + CardWidth + gap + 6 * 38 + 10, gap + 4 * (CardHeight + gap) + 40, WindowIcon());
  // Two game columns: each card covered by the next but for an 18-pixel strip.
  for (int s = 0; s < 2; ++s) {
    const int left = stackLeft + s * (CardWidth + gap);
    const int suits[2][2] = {{2, 0}, {1, 3}};
    int y = gap;
    for (int rank = 12; rank >= 0 && y + CardHeight <= height; --rank, y += kStrip)
      p.drawImage(left, y, CardPicture(Index(suits[s][rank % 2], rank)));
  }
  p.end();
  const QImage out = scale == 1 ? sheet
                                : sheet.scaled(sheet.size() * scale, Qt::IgnoreAspectRatio,
                                               Qt::FastTransformation);
  ASSERT_TRUE(out.save(QString::fromLocal8Bit(path), "PNG")) << path;
}

}  // namespace
