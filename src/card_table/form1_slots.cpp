// The slot operations every move is made of, the free-space count, and the
// rule by which one card lies on another in a column.
#include "card_table/board.h"
#include "card_table/form1.h"

namespace tarnvole {

void Form1::PutOnTableau(Long p, const platform::Image& source, const QString& code) {
  Image1(p).setVisible(true);
  Image1(p).setPicture(source.Picture());
  Image1(p).ZOrder();
  Tableau[p] = code;
  if (IsRowZero(p)) Image3(p).setVisible(false);
}

void Form1::TakeOffTableau(Long p) {
  Tableau[p] = QString();
  Image1(p).setVisible(false);
  if (IsRowZero(p)) Image3(p).setVisible(true);
}

void Form1::PutInCell(Long i, const platform::Image& source, const QString& code) {
  Image2(i).setPicture(source.Picture());
  Cell[i] = code;
}

void Form1::EmptyCell(Long i) {
  Cell[i] = QString();
  Image2(i).setPicture(ImageList2.ListImages(EmptySlotMark).Picture());
}
Long Form1::FreeSpaces() const {
  Long count = 0;
  for (int i = 0; i <= 3; ++i)
    if (Cell[i].isEmpty()) ++count;
  for (int k = 0; k <= 7; ++k)
    if (Image3(k).Visible()) ++count;
  return count;
}

bool Form1::FitsOnto(const QString& card, const QString& onto) const {
  return IsOppositeColor(SuitOf(card), SuitOf(onto)) && RankOf(card) + 1 == RankOf(onto);
}

}  // namespace tarnvole
