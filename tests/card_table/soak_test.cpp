// Many games of random play through the real handlers: whatever the player
// does, no card is lost or doubled, every picture agrees with its card, and
// the history never allows more take-backs than it holds.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <random>
#include <set>

#include "board_layout.h"
#include "card_table/board.h"
#include "platform/clock.h"
#include "platform/forms.h"
#include "platform/timer.h"
#include "settings_records/form2.h"
#include "settings_records/form3.h"
#include "settings_records/form4.h"
#include "support/test_support.h"

using namespace tarnvole;
using namespace board_layout;

namespace {

class RandomPlay : public StartedForm {
 protected:
  void SetUp() override {
    StartedForm::SetUp();
    platform::TimerControl::SetIntervalForTesting(0);
    SecretaryOn = 0;
    SkipCountChoice = 1;
  }
  void TearDown() override {
    platform::TimerControl::SetIntervalForTesting(-1);
    platform::SetRandomSeedForTesting(-1);
    platform::Unload<Form2>();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    StartedForm::TearDown();
  }

  // Every card of the deck exactly once: in the tableau, a free cell, or a
  // home pile (which holds its suit from the ace up to its top card).
  void ExpectEveryCardOnce(const std::string& when) {
    std::multiset<QString> cards;
    for (const QString& code : form->Tableau)
      if (!code.isEmpty()) cards.insert(code);
    for (int i = 0; i <= 3; ++i)
      if (!form->Cell[i].isEmpty()) cards.insert(form->Cell[i]);
    for (int h = 4; h <= 7; ++h)
      if (!form->Cell[h].isEmpty())
        for (Long r = 0; r <= RankOf(form->Cell[h]); ++r) cards.insert(CardCodeOf(SuitOf(form->Cell[h]), r));
    std::multiset<QString> deck;
    for (Long s = 0; s < 4; ++s)
      for (Long r = 0; r < 13; ++r) deck.insert(CardCodeOf(s, r));
    ASSERT_EQ(cards, deck) << when;
    int used = 0;
    while (used < 10 && form->UndoKind[used] != -1) ++used;
    ASSERT_LE(form->UndoLevel, used - 1) << when;
    ASSERT_EQ(form->Toolbar1->Buttons(6).Enabled(), form->UndoLevel >= 0) << when;
  }

  // The uncovered card of a column, or -1 for an empty column.
  int LastCardOf(int column) const {
    int last = -1;
    for (int p = column; p <= 151 && !form->Tableau[p].isEmpty(); p += 8) last = p;
    return last;
  }
};

TEST_F(RandomPlay, NoCardIsEverLostWhateverThePlayerDoes) {
  testing_support::ModalAnswerer answerer;
  std::mt19937 random(2026);
  // The stalemate dialog sometimes keeps the lost board; the win dialog and
  // a refused run's message are simply confirmed.
  answerer.onOtherWindow = [&](QWidget* w) {
    if (auto* stuck = qobject_cast<Form3*>(w))
      (random() % 2 ? stuck->Command1 : stuck->Command2)->click();
    else if (auto* won = qobject_cast<Form4*>(w))
      won->Command1->click();
  };

  int movesMade = 0, takeBacks = 0;
  for (int game = 0; game < 6; ++game) {
    FullAuto = game % 2;
    DealStrength = 1 + game % 2;
    MaxUndoLevel = game % 3 == 0 ? 9 : 2;
    platform::SetRandomSeedForTesting(100 + game);
    form->NewGame();
    ExpectEveryCardOnce("after the deal of game " + std::to_string(game));
    if (HasFatalFailure()) return;

    for (int step = 0; step < 400; ++step) {
      // Take-backs one time in ten, the five kinds of move the rest.
      const int draw = static_cast<int>(random() % 10);
      const int action = draw == 9 ? 5 : draw % 5;
      const int column = static_cast<int>(random() % 8);
      const int other = static_cast<int>(random() % 8);
      const int cell = static_cast<int>(random() % 8);
      const int source = LastCardOf(column);
      const Long movesBefore = MoveCount;
      const std::array<QString, 152> tableauBefore = form->Tableau;
      std::string what = "game " + std::to_string(game) + " step " + std::to_string(step) +
                         " action " + std::to_string(action);
      switch (action) {
        case 0:  // double-click a column's last card
          if (source >= 0) form->Image1_DblClick(source);
          break;
        case 1:  // drag a column's last card onto another column
          if (source < 0) break;
          form->Image1_MouseDown(source, platform::LeftButton, 0, 0, 0);
          form->Image1_MouseUp(source, platform::LeftButton, 0, 0, 0);
          if (LastCardOf(other) >= 0)
            form->Image1_DragDrop(LastCardOf(other));
          else
            form->Image3_DragDrop(other);
          break;
        case 2:  // drag a column's last card onto a cell
          if (source < 0) break;
          form->Image1_MouseDown(source, platform::LeftButton, 0, 0, 0);
          form->Image2_DragDrop(cell);
          break;
        case 3:  // drag a free-cell card onto a column or a home cell
          form->Image2_MouseDown(cell % 4, platform::RightButton, 0, 0, 0);
          if (form->Cell[cell % 4].isEmpty()) break;
          if (random() % 2)
            form->Image2_DragDrop(4 + static_cast<int>(random() % 4));
          else if (LastCardOf(other) >= 0)
            form->Image1_DragDrop(LastCardOf(other));
          else
            form->Image3_DragDrop(other);
          break;
        case 4:  // double-click a cell
          form->Image2_DblClick(cell);
          break;
        case 5:  // take back
          if (form->Toolbar1->Buttons(6).Enabled()) form->Toolbar1_ButtonClick(6);
          break;
      }
      if (MoveCount > movesBefore) movesMade += MoveCount - movesBefore;
      if (action == 5 && MoveCount < movesBefore && form->Tableau != tableauBefore) ++takeBacks;
      ExpectEveryCardOnce(what);
      ExpectPicturesAgree(*form);
      if (HasFailure()) return;
    }
  }
  // The play really moved cards and took moves back.
  EXPECT_GT(movesMade, 150);
  EXPECT_GT(takeBacks, 30);
}

}  // namespace
