// The move-count chooser Form5, shown modally as the empty-column drop shows
// it, and answered by pressing its real buttons.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QStyle>
#include <QStyleOptionButton>
#include <cstdlib>
#include <functional>

#include "card_table/form5.h"
#include "platform/controls.h"
#include "platform/forms.h"
#include "settings_records/module1.h"
#include "support/test_support.h"

using namespace tarnvole;
using testing_support::ModalAnswerer;

namespace {

class Chooser : public ::testing::Test {
 protected:
  void SetUp() override { ResetModule1ForTesting(); }
  void TearDown() override {
    platform::Unload<Form5>();
    ResetModule1ForTesting();
  }
  // Shows the chooser for n cards; `answer` looks at it and closes it.
  void Show(Long n, const std::function<void(Form5&)>& answer) {
    CardsToMove = n;
    MoveCancelled = 0;
    ModalAnswerer answerer;
    bool answered = false;
    answerer.onOtherWindow = [&](QWidget* window) {
      auto* chooser = qobject_cast<Form5*>(window);
      ASSERT_NE(chooser, nullptr);
      answered = true;
      answer(*chooser);
    };
    platform::Show<Form5>(platform::Modal);
    EXPECT_TRUE(answered);
    EXPECT_FALSE(platform::IsLoaded<Form5>());
  }
  void ShowAndPress(Long n, int button) {
    Show(n, [button](Form5& f) { f.Command1(button).click(); });
  }
};

QStringList Captions(const Form5& f) {
  QStringList captions;
  for (int i = 0; i < f.Command1Count(); ++i) captions << f.Command1(i).text();
  return captions;
}

QList<int> Tops(const Form5& f) {
  QList<int> tops;
  for (int i = 0; i < f.Command1Count(); ++i) tops << f.Command1Twips(i).top();
  return tops;
}

// Every button shown where its twips say, and its caption inside it on one line.
void ExpectButtonsPlacedAndReadable(const Form5& f) {
  for (int i = 0; i < f.Command1Count(); ++i) {
    const platform::CommandButton& b = f.Command1(i);
    SCOPED_TRACE(b.text().toStdString());
    EXPECT_TRUE(b.isVisible());
    const QRect twips = f.Command1Twips(i);
    EXPECT_EQ(b.geometry(), QRect(platform::Px(twips.left()), platform::Px(twips.top()),
                                  platform::Px(twips.width()), platform::Px(twips.height())));
    QStyleOptionButton option;
    option.initFrom(&b);
    const QRect contents = b.style()->subElementRect(QStyle::SE_PushButtonContents, &option, &b);
    const QFontMetrics metrics(b.font());
    EXPECT_LE(metrics.horizontalAdvance(b.text()), contents.width());
    EXPECT_LE(metrics.height(), contents.height());
    EXPECT_LE(b.geometry().bottom(), f.height() - 1);
  }
  EXPECT_TRUE(f.Label1->CaptionFits()) << f.Label1->Caption().toStdString();
}

TEST_F(Chooser, ForTwoCardsItOffersAllOneAndCancelAndEachButtonAnswers) {
  Show(2, [](Form5& f) {
    EXPECT_EQ(f.windowTitle(), "何枚移動する？");
    EXPECT_EQ(f.Label1->Caption(), "2枚移動出来ます・・がっ！");
    EXPECT_EQ(Captions(f), (QStringList{"全　部　移　動　す　る", "1 枚 移 動 す る",
                                        "キ　ャ　ン　セ　ル"}));
    EXPECT_EQ(Tops(f), (QList<int>{1000, 1800, 2300}));
    EXPECT_EQ(f.Height(), 3500);
    EXPECT_EQ(f.width(), platform::Px(4185));
    EXPECT_EQ(f.height(), platform::Px(3500 - 405));
    ExpectButtonsPlacedAndReadable(f);
    f.close();
  });

  const struct { int button; Long cards, cancelled; } answers[] = {{0, 2, 0}, {1, 1, 0}, {2, 0, 1}};
  for (const auto& a : answers) {
    SCOPED_TRACE(a.button);
    ShowAndPress(2, a.button);
    EXPECT_EQ(CardsToMove, a.cards);
    EXPECT_EQ(MoveCancelled, a.cancelled);
  }
}

TEST_F(Chooser, ForSixCardsSevenButtonsStandDownToTheCancelButtonAt4300) {
  Show(6, [](Form5& f) {
    EXPECT_EQ(f.Label1->Caption(), "6枚移動出来ます・・がっ！");
    EXPECT_EQ(Captions(f), (QStringList{"全　部　移　動　す　る", "5 枚 移 動 す る", "4 枚 移 動 す る",
                                        "3 枚 移 動 す る", "2 枚 移 動 す る", "1 枚 移 動 す る",
                                        "キ　ャ　ン　セ　ル"}));
    EXPECT_EQ(Tops(f), (QList<int>{1000, 1800, 2300, 2800, 3300, 3800, 4300}));
    EXPECT_EQ(f.Height(), 5500);
    EXPECT_EQ(f.height(), platform::Px(5500 - 405));
    ExpectButtonsPlacedAndReadable(f);
    f.Command1(3).click();
  });
  EXPECT_EQ(CardsToMove, 3);
  EXPECT_EQ(MoveCancelled, 0);

  ShowAndPress(6, 6);
  EXPECT_EQ(CardsToMove, 0);
  EXPECT_EQ(MoveCancelled, 1);
}

TEST_F(Chooser, MoveAllAndTheCloseBoxLeaveTheNumberAsItCame) {
  ShowAndPress(4, 0);
  EXPECT_EQ(CardsToMove, 4);
  EXPECT_EQ(MoveCancelled, 0);

  Show(4, [](Form5& f) { f.close(); });
  EXPECT_EQ(CardsToMove, 4);
  EXPECT_EQ(MoveCancelled, 0);
}

TEST_F(Chooser, EachShowingBuildsItsButtonsAnewAndTheLongestLabelStillFits) {
  ShowAndPress(6, 0);
  Show(11, [](Form5& f) {
    EXPECT_EQ(f.Command1Count(), 12);
    EXPECT_EQ(f.Command1(11).text(), "キ　ャ　ン　セ　ル");
    EXPECT_EQ(f.Command1(1).text(), "10 枚 移 動 す る");
    ExpectButtonsPlacedAndReadable(f);
    f.close();
  });
  Show(2, [](Form5& f) {
    EXPECT_EQ(f.Command1Count(), 3);
    f.close();
  });
}

TEST_F(Chooser, OpensCentredOnTheMainWindow) {
  QWidget main;
  main.setGeometry(100, 80, 640, 500);
  main.show();
  platform::SetMainWindow(&main);
  Show(3, [&main](Form5& f) {
    const QPoint offset = f.frameGeometry().center() - main.frameGeometry().center();
    EXPECT_LE(std::abs(offset.x()), 2) << offset.x() << "," << offset.y();
    EXPECT_LE(std::abs(offset.y()), 2) << offset.x() << "," << offset.y();
    f.close();
  });
  platform::SetMainWindow(nullptr);
}

}  // namespace
