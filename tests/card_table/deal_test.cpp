// The deal: the shuffles of both strengths, the cleared table and the
// secretary's question.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <array>
#include <cmath>
#include <memory>
#include <set>

#include "card_table/board.h"
#include "card_table/form1.h"
#include "platform/clock.h"
#include "platform/forms.h"
#include "platform/timer.h"
#include "settings_records/form2.h"
#include "settings_records/module1.h"
#include "support/test_support.h"

using namespace tarnvole;
using namespace testing_support;

namespace {

const QDateTime StartClock(QDate(2026, 12, 7), QTime(9, 0, 30));

class Deal : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetModule1ForTesting();
    clock = StartClock;
    platform::SetClockForTesting([this] { return clock; });
    folder.Write("tarnvole.cfg", DefaultCfgBytes());
    form = std::make_unique<Form1>();
    form->Form_Load();
    platform::ResetRandomDrawCount();
    // Hundreds of deals send cards home; their 70 ms pauses are not what is
    // tested here.
    platform::TimerControl::SetIntervalForTesting(0);
  }
  void TearDown() override {
    platform::TimerControl::SetIntervalForTesting(-1);
    form.reset();
    platform::Unload<Form2>();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    platform::SetClockForTesting(nullptr);
    platform::SetRandomSeedForTesting(-1);
    ResetModule1ForTesting();
  }

  // The code of a card, written out here rather than through the board's
  // helpers.
  static QString Code(int suit, int rank) { return QString::number(suit) + QString::number(rank); }

  // The board as dealt from `expected`, after the deal's automatic moves:
  // every card still on the table stands where the deal put it, shown with its
  // own face; every position the automatic moves emptied held a card that is
  // now on its home pile, and they are as many as the moves counted; nothing
  // below, in the free cells or on the markers.
  void ExpectDealtAs(const std::array<QString, 52>& expected) const {
    auto isHome = [&](const QString& card) {
      for (int h = 4; h <= 7; ++h)
        if (!form->Cell[h].isEmpty() && SuitOf(form->Cell[h]) == SuitOf(card) &&
            RankOf(form->Cell[h]) >= RankOf(card))
          return true;
      return false;
    };
    std::set<QString> seen;
    int sentHome = 0;
    for (int p = 0; p < 52; ++p) {
      seen.insert(expected[p]);
      if (form->Tableau[p].isEmpty()) {
        EXPECT_FALSE(form->Image1(p).Visible()) << p;
        EXPECT_TRUE(isHome(expected[p])) << p << " " << expected[p].toStdString();
        ++sentHome;
        continue;
      }
      const QString& card = form->Tableau[p];
      EXPECT_EQ(card, expected[p]) << p;
      EXPECT_TRUE(form->Image1(p).Visible()) << p;
      const platform::Picture picture = form->Image1(p).Picture();
      EXPECT_EQ(picture.List(), &form->ImageList2) << p;
      EXPECT_EQ(picture.Index(), SuitOf(card) * 13 + RankOf(card) + 1) << p << " " << card.toStdString();
    }
    std::set<QString> deck;
    for (int s = 0; s < 4; ++s)
      for (int r = 0; r < 13; ++r) deck.insert(Code(s, r));
    EXPECT_EQ(seen, deck);
    int onHomePiles = 0;
    for (int h = 4; h <= 7; ++h)
      if (!form->Cell[h].isEmpty()) onHomePiles += RankOf(form->Cell[h]) + 1;
    EXPECT_EQ(sentHome, onHomePiles);
    EXPECT_EQ(MoveCount, sentHome);
    for (int p = 52; p <= 151; ++p) {
      EXPECT_TRUE(form->Tableau[p].isEmpty()) << p;
      EXPECT_FALSE(form->Image1(p).Visible()) << p;
    }
    for (int k = 0; k < 8; ++k) {
      if (form->Cell[k].isEmpty())
        EXPECT_EQ(form->Image2(k).Picture().Index(), EmptySlotMark) << k;
      else
        EXPECT_EQ(form->Image2(k).Picture().Index(), CardImageIndex(form->Cell[k])) << k;
      EXPECT_FALSE(form->Image3(k).Visible()) << k;
    }
    for (int k = 0; k < 4; ++k) EXPECT_TRUE(form->Cell[k].isEmpty()) << k;
  }

  static std::array<QString, 52> OrderedDeck() {
    std::array<QString, 52> deck;
    for (int p = 0; p < 52; ++p) deck[p] = Code(p / 13, p % 13);
    return deck;
  }

  ScratchFolder folder;
  QDateTime clock;
  std::unique_ptr<Form1> form;
};

// The two passes of the normal shuffle, replayed from the generator.
std::array<QString, 52> NormalShuffleOf(std::int64_t seed) {
  std::array<QString, 52> deck;
  for (int p = 0; p < 52; ++p) deck[p] = QString::number(p / 13) + QString::number(p % 13);
  platform::SetRandomSeedForTesting(seed);
  for (int pass = 0; pass < 2; ++pass) {
    platform::Randomize();
    for (int i = 0; i < 52; ++i) {
      const int j = static_cast<int>(std::floor(static_cast<double>(platform::Rnd()) * 52));
      std::swap(deck[i], deck[j]);
    }
  }
  return deck;
}

TEST_F(Deal, NormalStrengthDrawsExactly104NumbersAndDealsEveryCardOnce) {
  DealStrength = 2;
  for (std::int64_t seed : {1, 77, 20261207}) {
    const std::array<QString, 52> expected = NormalShuffleOf(seed);
    platform::ResetRandomDrawCount();
    form->NewGame();
    EXPECT_EQ(platform::RandomDrawCount(), 104) << seed;
    ExpectDealtAs(expected);
  }
}

TEST_F(Deal, EasyStrengthPutsTheLowCardsIntoTheTwoLowestCardsOfEveryColumn) {
  DealStrength = 1;
  int suit3Inside = 0, suit3Outside = 0;
  for (std::int64_t seed = 1; seed <= 300; ++seed) {
    // The easy shuffle replayed from the generator: which zone places the
    // twelve low cards of suits 0 to 2 take, and how many draws the sixteen
    // placements need with their redraws.
    platform::SetRandomSeedForTesting(seed);
    platform::Randomize();
    std::array<QString, 52> expected;
    for (int p = 0; p < 52; ++p) expected[p] = Code(p / 13, p % 13);
    std::set<int> taken, chosenForSuits0To2;
    std::int64_t placementDraws = 0;
    for (int placement = 0; placement < 16; ++placement) {
      int j;
      do {
        j = static_cast<int>(std::floor(static_cast<double>(platform::Rnd()) * 16)) + 36;
        ++placementDraws;
      } while (taken.count(j));
      taken.insert(j);
      if (placement < 12) chosenForSuits0To2.insert(j);
      std::swap(expected[13 * (placement / 4) + placement % 4], expected[j]);
    }
    for (int i = 0; i < 36; ++i)
      std::swap(expected[i], expected[static_cast<int>(std::floor(static_cast<double>(platform::Rnd()) * 36))]);

    platform::ResetRandomDrawCount();
    form->NewGame();
    ASSERT_EQ(platform::RandomDrawCount(), placementDraws + 36) << seed;
    ExpectDealtAs(expected);

    auto inZone = [&](const QString& card) {
      for (int p = 36; p < 52; ++p)
        if (expected[p] == card) return true;
      return false;
    };
    for (int s = 0; s < 3; ++s)
      for (int r = 0; r < 4; ++r) EXPECT_TRUE(inZone(Code(s, r))) << seed << " " << s << r;
    for (int r = 0; r < 4; ++r) {
      const bool startTaken = chosenForSuits0To2.count(39 + r) != 0;
      EXPECT_EQ(inZone(Code(3, r)), !startTaken) << seed << " rank " << r;
      (startTaken ? suit3Outside : suit3Inside)++;
    }
    if (HasFailure()) return;
  }
  // Both outcomes for the clubs occurred, so both were checked.
  EXPECT_GT(suit3Inside, 100);
  EXPECT_GT(suit3Outside, 100);
}

TEST_F(Deal, AnyOtherStrengthDealsTheOrderedDeckWithoutDrawing) {
  for (Long strength : {0, 3, -7}) {
    DealStrength = strength;
    platform::ResetRandomDrawCount();
    clock = StartClock.addSecs(90);
    form->NewGame();
    EXPECT_EQ(platform::RandomDrawCount(), 0) << strength;
    ExpectDealtAs(OrderedDeck());
    for (int p = 0; p < 52; ++p) EXPECT_EQ(form->Tableau[p], Code(p / 13, p % 13)) << strength;
    for (int p = 44; p < 52; ++p) EXPECT_EQ(form->Tableau[p], Code(3, p - 39)) << strength;
    EXPECT_EQ(MoveCount, 0);
    EXPECT_EQ(GameStart, platform::VbDate::FromDateTime(clock));
  }
}

TEST_F(Deal, ADealOverAPlayedBoardClearsEverythingOfTheLastGame) {
  DealStrength = 3;
  form->NewGame();
  // A game in progress: cards in free and home cells, long columns, an empty
  // column, a move history, and the upper card brought to the front.
  form->Cell[1] = "37";
  form->Image2(1).setPicture(form->ImageList2.ListImages(47).Picture());
  form->Cell[6] = "25";
  form->Image2(6).setPicture(form->ImageList2.ListImages(32).Picture());
  for (int p : {52, 60, 100, 151}) {
    form->Tableau[p] = "110";
    form->Image1(p).setVisible(true);
  }
  form->Tableau[2] = "";
  form->Image1(2).setVisible(false);
  form->Image3(2).setVisible(true);
  form->Image1(0).ZOrder();
  form->FirstIndex = 51;
  form->SecondIndex = 4;
  form->RecordMove(4);
  form->PressButton = 1;
  form->CardCovered = 1;
  MoveCancelled = 1;

  form->NewGame();

  ExpectDealtAs(OrderedDeck());
  EXPECT_EQ(MoveCount, 0);
  EXPECT_EQ(form->PressButton, 0);
  EXPECT_EQ(form->CardCovered, 0);
  EXPECT_EQ(MoveCancelled, 0);
  EXPECT_EQ(form->UndoLevel, -1);
  EXPECT_EQ(form->UndoKind[0], -1);
  EXPECT_TRUE(form->UndoData[0].isEmpty());
  // Each dealt card lies on the card above it: the strip of row 1 in column 0
  // is the card of position 8, not the slot that was in front before.
  const QPoint inRowOne(platform::Px(BoardLeft) + 20, platform::Px(RowZeroTop + RowStep) + 10);
  EXPECT_EQ(form->ControlAt(inRowOne), &form->Image1(8));
}

class Secretary : public Deal {
 protected:
  static QString PromptFor(int minutes) {
    return QStringLiteral("わたし秘書ですが・・・\r\rもう ") + QString::number(minutes) +
           QStringLiteral(" 分も遊んじゃってますが・・ \r続けますかぁ？");
  }
};

TEST_F(Secretary, AsksOnlyOnceMoreThanTenClockMinutesHavePassed) {
  SecretaryOn = 1;
  DealStrength = 3;
  ModalAnswerer answerer(QStringLiteral("はい"));

  clock = StartClock.addSecs(10 * 60);
  form->NewGame();
  EXPECT_TRUE(answerer.prompts.isEmpty());
  EXPECT_EQ(form->Tableau[51], "312");

  clock = StartClock.addSecs(11 * 60);
  form->Tableau[51] = "";
  form->NewGame();
  ASSERT_EQ(answerer.prompts, QStringList{PromptFor(11)});
  EXPECT_EQ(answerer.titles, QStringList{"ちょっと失礼！"});
  EXPECT_EQ(form->Tableau[51], "312");  // Yes goes on and deals
  EXPECT_TRUE(form->Image1(51).Visible());
  EXPECT_EQ(GameStart, platform::VbDate::FromDateTime(clock));

  // The start-up time is never reset: every later deal asks again.
  clock = StartClock.addSecs(45 * 60);
  form->NewGame();
  EXPECT_EQ(answerer.prompts.size(), 2);
  EXPECT_EQ(answerer.prompts.value(1), PromptFor(45));
}

TEST_F(Secretary, CountsTheMinuteBoundariesPassed) {
  // Started at 9:00:59; at 9:11:00 only ten minutes and a second have passed,
  // but eleven minute boundaries.
  form->StartupTime = platform::VbDate::FromDateTime(QDateTime(QDate(2026, 12, 7), QTime(9, 0, 59)));
  SecretaryOn = 1;
  DealStrength = 3;
  ModalAnswerer answerer(QStringLiteral("はい"));
  clock = QDateTime(QDate(2026, 12, 7), QTime(9, 11, 0));
  form->NewGame();
  EXPECT_EQ(answerer.prompts, QStringList{PromptFor(11)});
}

TEST_F(Secretary, StaysSilentWhenSwitchedOff) {
  DealStrength = 3;
  ModalAnswerer answerer(QStringLiteral("いいえ"));
  EndRecorder end;
  clock = StartClock.addSecs(3 * 3600);
  for (Long setting : {0, 2, -1}) {
    SecretaryOn = setting;
    form->NewGame();
  }
  EXPECT_TRUE(answerer.prompts.isEmpty());
  EXPECT_EQ(end.ends, 0);
  EXPECT_EQ(form->Tableau[51], "312");
}

TEST_F(Secretary, NoEndsTheProgramWithTheLastGameStillOnTheTable) {
  DealStrength = 2;
  platform::SetRandomSeedForTesting(5);
  form->NewGame();
  const std::array<QString, 152> lastGame = form->Tableau;
  form->Cell[0] = "00";
  form->setTop(1500);
  form->setLeft(-30);
  SecretaryOn = 1;
  clock = StartClock.addSecs(12 * 60);

  EndRecorder end;
  ModalAnswerer answerer(QStringLiteral("いいえ"));
  platform::ResetRandomDrawCount();
  form->NewGame();

  EXPECT_EQ(answerer.prompts, QStringList{PromptFor(12)});
  EXPECT_EQ(end.ends, 1);
  EXPECT_EQ(form->WorkA, platform::vbNo);
  EXPECT_EQ(form->Tableau, lastGame);
  EXPECT_EQ(form->Cell[0], "00");
  for (int p = 0; p < 52; ++p) EXPECT_TRUE(form->Image1(p).Visible()) << p;
  EXPECT_EQ(platform::RandomDrawCount(), 0);

  const QByteArray file = folder.Read("tarnvole.cfg");
  EXPECT_EQ(RecordOf(file, 23), QByteArray(" 1500   "));
  EXPECT_EQ(RecordOf(file, 24), QByteArray("-30     "));
  EXPECT_EQ(RecordOf(file, 25), QByteArray(" 7980   "));
  EXPECT_EQ(RecordOf(file, 26), QByteArray(" 9705   "));
  EXPECT_EQ(file.left(22 * 8), DefaultCfgBytes().left(22 * 8));
}

}  // namespace
