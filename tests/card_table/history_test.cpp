// The move history: slots, entry texts, the take-backs allowed and the two
// toolbar buttons it switches.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <memory>

#include "card_table/form1.h"
#include "platform/clock.h"
#include "platform/forms.h"
#include "settings_records/form2.h"
#include "settings_records/module1.h"
#include "support/test_support.h"

using namespace tarnvole;
using namespace testing_support;

namespace {

class History : public ::testing::Test {
 protected:
  void TearDown() override {
    form.reset();
    platform::Unload<Form2>();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ResetModule1ForTesting();
  }

  // A started window with a fresh deal of the ordered deck (nothing goes
  // home), so the history is empty.
  void StartAndDeal(const QByteArray& cfg = DefaultCfgBytes()) {
    form.reset();
    ResetModule1ForTesting();
    folder.Write("tarnvole.cfg", cfg);
    form = std::make_unique<Form1>();
    form->Form_Load();
    DealStrength = 3;
    form->NewGame();
  }

  void Move(Long kind, Long a, Long b) {
    form->FirstIndex = a;
    form->SecondIndex = b;
    form->RecordMove(kind);
  }

  int UsedSlots() const {
    int used = 0;
    for (int i = 0; i < 10; ++i)
      if (form->UndoKind[i] != -1) ++used;
    return used;
  }

  // Slots 0..k in use without gaps, the rest empty in both arrays.
  void ExpectSlotsWithoutGaps(int used) const {
    for (int i = 0; i < 10; ++i) {
      EXPECT_EQ(form->UndoKind[i] != -1, i < used) << i;
      EXPECT_EQ(!form->UndoData[i].isEmpty(), i < used) << i;
    }
  }

  bool TakeBackEnabled() const { return form->Toolbar1->Buttons(6).Enabled(); }
  bool HintEnabled() const { return form->Toolbar1->Buttons(8).Enabled(); }

  ScratchFolder folder;
  std::unique_ptr<Form1> form;
};

TEST_F(History, FiveMovesAtDepthThreeKeepFiveEntriesAndAllowThreeTakeBacks) {
  StartAndDeal();
  ASSERT_EQ(MaxUndoLevel, 2);
  for (int m = 1; m <= 5; ++m) Move(1, 40 + m, 20 + m);
  EXPECT_EQ(MoveCount, 5);
  EXPECT_EQ(form->UndoLevel, 2);
  ExpectSlotsWithoutGaps(5);
  EXPECT_EQ(form->UndoData[0], " 41/ 21");
  EXPECT_EQ(form->UndoData[4], " 45/ 25");
  EXPECT_TRUE(TakeBackEnabled());
}

TEST_F(History, TheEleventhMoveDropsTheOldestEntry) {
  StartAndDeal();
  // Kinds 1 and 3 to 11, all with two numbers.
  auto kindOf = [](int move) { return move == 1 ? 1 : move + 1; };
  for (int m = 1; m <= 10; ++m) Move(kindOf(m), m, 100 + m);
  ExpectSlotsWithoutGaps(10);
  EXPECT_EQ(form->UndoKind[0], 1);
  EXPECT_EQ(form->UndoData[9], " 10/ 110");

  Move(13, 11, 3);
  EXPECT_EQ(MoveCount, 11);
  ExpectSlotsWithoutGaps(10);
  for (int slot = 0; slot < 9; ++slot) {
    EXPECT_EQ(form->UndoKind[slot], kindOf(slot + 2));
    EXPECT_EQ(form->UndoData[slot], QString(" %1/ %2").arg(slot + 2).arg(102 + slot));
  }
  EXPECT_EQ(form->UndoKind[9], 13);
  EXPECT_EQ(form->UndoData[9], " 11/ 3");
}

TEST_F(History, DepthTenAllowsTenTakeBacksOnceTenMovesAreMade) {
  StartAndDeal();
  MaxUndoLevel = 9;
  for (int m = 1; m <= 12; ++m) {
    Move(4, 40 + m % 8, 4 + m % 4);
    EXPECT_EQ(form->UndoLevel, std::min(m - 1, 9)) << m;
  }
  EXPECT_EQ(UsedSlots(), 10);
}

TEST_F(History, ALowerDepthTakesEffectWithTheNextMove) {
  StartAndDeal();
  MaxUndoLevel = 9;
  for (int m = 1; m <= 6; ++m) Move(1, m, m + 8);
  EXPECT_EQ(form->UndoLevel, 5);

  MaxUndoLevel = 2;
  EXPECT_EQ(form->UndoLevel, 5);
  Move(1, 7, 15);
  EXPECT_EQ(form->UndoLevel, 2);

  MaxUndoLevel = 9;
  Move(1, 8, 16);
  EXPECT_EQ(form->UndoLevel, 3);
}

TEST_F(History, EntryTextsHoldTheMovesNumbers) {
  StartAndDeal();
  form->CardsAbove = 2;
  CardsToMove = 4;

  Move(1, 0, 5);
  EXPECT_EQ(form->UndoData[0], " 0/ 5");
  Move(1, 12, 20);
  EXPECT_EQ(form->UndoData[1], " 12/ 20");
  Move(2, 44, 21);
  EXPECT_EQ(form->UndoData[2], " 44/ 21/ 2");
  Move(12, 51, 3);
  EXPECT_EQ(form->UndoData[3], " 51/ 3/ 4");
  Move(5, 2, 6);
  EXPECT_EQ(form->UndoData[4], " 2/ 6");
  Move(10, 7, 1);
  EXPECT_EQ(form->UndoData[5], " 7/ 1");

  const Long kinds[] = {1, 1, 2, 12, 5, 10};
  for (int slot = 0; slot < 6; ++slot) EXPECT_EQ(form->UndoKind[slot], kinds[slot]);
  EXPECT_EQ(MoveCount, 6);
}

TEST_F(History, AMoveEnablesTakeBackAndHintAndADealDisablesOnlyTakeBack) {
  StartAndDeal();
  EXPECT_FALSE(TakeBackEnabled());
  EXPECT_FALSE(HintEnabled());
  EXPECT_EQ(form->UndoLevel, -1);

  Move(7, 51, 0);
  EXPECT_TRUE(TakeBackEnabled());
  EXPECT_TRUE(HintEnabled());
  EXPECT_EQ(form->UndoLevel, 0);

  form->ClearUndoHistory();
  EXPECT_FALSE(TakeBackEnabled());
  EXPECT_TRUE(HintEnabled());
  EXPECT_EQ(form->UndoLevel, -1);
  ExpectSlotsWithoutGaps(0);
}

TEST_F(History, AnEditedDepthAboveTenNeverAllowsMoreTakeBacksThanEntries) {
  StartAndDeal(WithRecord(DefaultCfgBytes(), 3, " 15"));
  ASSERT_EQ(MaxUndoLevel, 15);
  for (int m = 1; m <= 14; ++m) {
    Move(1, m, m + 8);
    EXPECT_EQ(form->UndoLevel, std::min(m - 1, 9)) << m;
    EXPECT_LE(form->UndoLevel + 1, UsedSlots()) << m;
    EXPECT_TRUE(TakeBackEnabled());
  }
  EXPECT_EQ(MoveCount, 14);

  form->ClearUndoHistory();
  Move(1, 3, 11);
  EXPECT_EQ(form->UndoLevel, 0);
  ExpectSlotsWithoutGaps(1);
}

TEST_F(History, AnEditedDepthBelowOneAllowsNoTakeBack) {
  for (const QByteArray& depth : {QByteArray(" -3"), QByteArray("-9999999")}) {
    StartAndDeal(WithRecord(DefaultCfgBytes(), 3, depth));
    ASSERT_LT(MaxUndoLevel, 0);
    for (int m = 1; m <= 12; ++m) {
      Move(1, m, m + 8);
      EXPECT_EQ(form->UndoLevel, -1) << m;
      EXPECT_FALSE(TakeBackEnabled()) << m;
      EXPECT_TRUE(HintEnabled()) << m;
    }
    EXPECT_EQ(MoveCount, 12);
    ExpectSlotsWithoutGaps(10);
    EXPECT_EQ(form->UndoData[9], " 12/ 20");
  }
}

}  // namespace
