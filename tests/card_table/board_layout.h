// Boards laid out by hand on a started Form1, and what a test reads back.
#pragma once

#include <gtest/gtest.h>

#include <QStringList>
#include <array>
#include <memory>
#include <string>

#include "card_table/board.h"
#include "card_table/form1.h"
#include "settings_records/module1.h"
#include "support/test_support.h"

namespace board_layout {

using tarnvole::Form1;

// Columns from row 0 down, then the cells (0 to 3 free, 4 to 7 home).
struct Board {
  std::array<QStringList, 8> columns;
  std::array<QString, 8> cells;
};

inline platform::Picture FacePicture(const Form1& f, const QString& code) {
  return f.ImageList2.ListImages(code.isEmpty() ? tarnvole::EmptySlotMark
                                                : tarnvole::CardImageIndex(code))
      .Picture();
}

// Puts the board on the window as the game keeps it: codes, pictures, shown
// slots in stacking order (lower rows in front) and the markers of the
// empty columns.
inline void LayOut(Form1& f, const Board& board) {
  for (int p = 0; p <= 151; ++p) {
    f.Tableau[p] = QString();
    f.Image1(p).setVisible(false);
  }
  for (int row = 0; row <= 18; ++row) {
    for (int column = 0; column < 8; ++column) {
      if (row >= board.columns[column].size()) continue;
      const int p = row * 8 + column;
      f.Tableau[p] = board.columns[column][row];
      f.Image1(p).setPicture(FacePicture(f, f.Tableau[p]));
      f.Image1(p).setVisible(true);
      f.Image1(p).ZOrder();
    }
  }
  for (int column = 0; column < 8; ++column)
    f.Image3(column).setVisible(board.columns[column].isEmpty());
  for (int i = 0; i < 8; ++i) {
    f.Cell[i] = board.cells[i];
    f.Image2(i).setPicture(FacePicture(f, board.cells[i]));
  }
}

// The board as a test compares it: columns and cells.
inline Board BoardOf(const Form1& f) {
  Board board;
  for (int p = 0; p <= 151; ++p)
    if (!f.Tableau[p].isEmpty()) board.columns[p % 8] << f.Tableau[p];
  for (int i = 0; i < 8; ++i) board.cells[i] = f.Cell[i];
  return board;
}

inline bool operator==(const Board& a, const Board& b) {
  return a.columns == b.columns && a.cells == b.cells;
}

inline void PrintTo(const Board& board, std::ostream* os) {
  for (int c = 0; c < 8; ++c)
    *os << "\n col " << c << ": " << board.columns[c].join(' ').toStdString();
  *os << "\n cells:";
  for (const QString& cell : board.cells) *os << " [" << cell.toStdString() << "]";
}

// Every picture agrees with its code, a slot is shown exactly where a card
// lies, a column's cards have no gap, and a marker is shown exactly where its
// column is empty.
inline void ExpectPicturesAgree(const Form1& f) {
  for (int p = 0; p <= 151; ++p) {
    const bool occupied = !f.Tableau[p].isEmpty();
    EXPECT_EQ(f.Image1(p).Visible(), occupied) << "slot " << p;
    if (occupied) {
      EXPECT_EQ(f.Image1(p).Picture(), FacePicture(f, f.Tableau[p])) << "slot " << p;
      if (p >= 8) {
        EXPECT_FALSE(f.Tableau[p - 8].isEmpty()) << "gap above " << p;
      }
    }
  }
  for (int column = 0; column < 8; ++column)
    EXPECT_EQ(f.Image3(column).Visible(), f.Tableau[column].isEmpty()) << "marker " << column;
  for (int i = 0; i < 8; ++i)
    EXPECT_EQ(f.Image2(i).Picture(), FacePicture(f, f.Cell[i])) << "cell " << i;
}

// The used history slots as "kind:text", oldest first.
inline QStringList History(const Form1& f) {
  QStringList entries;
  for (int i = 0; i < 10; ++i)
    if (f.UndoKind[i] != -1) entries << QString::number(f.UndoKind[i]) + u':' + f.UndoData[i];
  return entries;
}

// The same joined by " | ", as a test prints it.
inline std::string HistoryText(const Form1& f) {
  return History(f).join(QStringLiteral(" | ")).toStdString();
}

// A started window on the default settings, with an empty history.
class StartedForm : public ::testing::Test {
 protected:
  void SetUp() override {
    tarnvole::ResetModule1ForTesting();
    folder.Write(QStringLiteral("tarnvole.cfg"), testing_support::DefaultCfgBytes());
    form = std::make_unique<Form1>();
    form->Form_Load();
    form->ClearUndoHistory();
    tarnvole::MoveCount = 0;
  }
  void TearDown() override {
    form.reset();
    tarnvole::ResetModule1ForTesting();
  }
  testing_support::ScratchFolder folder;
  std::unique_ptr<Form1> form;
};

}  // namespace board_layout
