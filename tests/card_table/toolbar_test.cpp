// The toolbar: its buttons as the window defines them, their enabled state
// through deals and moves, and the commands behind them.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QToolButton>
#include <array>
#include <memory>

#include "card_table/form1.h"
#include "platform/clock.h"
#include "platform/forms.h"
#include "settings_records/form2.h"
#include "settings_records/form6.h"
#include "settings_records/module1.h"
#include "support/test_support.h"

using namespace tarnvole;
using namespace testing_support;

namespace {

class Toolbar : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetModule1ForTesting();
    folder.Write("tarnvole.cfg", DefaultCfgBytes());
    form = std::make_unique<Form1>();
    form->Form_Load();
  }
  void TearDown() override {
    form.reset();
    platform::Unload<Form2>();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ResetModule1ForTesting();
  }

  platform::ToolbarButton& Button(int index) { return form->Toolbar1->Buttons(index); }
  void Click(int index) { Button(index).Widget()->click(); }

  ScratchFolder folder;
  std::unique_ptr<Form1> form;
};

// Whether a button's icon is the toolbar picture with its silver made
// transparent.
bool ShowsPicture(const QToolButton* button, const platform::Picture& picture) {
  const QImage expected = picture.Pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
  const QImage shown =
      button->icon().pixmap(expected.size()).toImage().convertToFormat(QImage::Format_ARGB32);
  if (shown.size() != expected.size()) return false;
  for (int y = 0; y < expected.height(); ++y) {
    for (int x = 0; x < expected.width(); ++x) {
      const QRgb want = expected.pixel(x, y);
      const QRgb got = shown.pixel(x, y);
      if (QColor(want) == QColor(192, 192, 192)) {
        if (qAlpha(got) != 0) return false;
      } else if (qAlpha(got) != 255 || qRgb(qRed(got), qGreen(got), qBlue(got)) != (want | 0xff000000u)) {
        return false;
      }
    }
  }
  return true;
}

TEST_F(Toolbar, ThirteenButtonsWithTheirPicturesAndToolTips) {
  ASSERT_EQ(form->Toolbar1->Count(), 13);
  struct Command {
    int index;
    int picture;
    const char* tip;
  };
  const Command commands[] = {{1, 1, "開始"},   {2, 2, "終了"},   {4, 3, "オプション"},
                              {6, 4, "一手戻す"}, {8, 6, "ヒント"}, {13, 5, "成績結果"}};
  for (const Command& c : commands) {
    ASSERT_FALSE(Button(c.index).IsSeparator()) << c.index;
    EXPECT_EQ(Button(c.index).ToolTipText(), QString::fromUtf8(c.tip)) << c.index;
    EXPECT_TRUE(Button(c.index).Widget()->text().isEmpty()) << c.index;
    for (int k = 1; k <= 6; ++k)
      EXPECT_EQ(ShowsPicture(Button(c.index).Widget(), form->ImageList1.ListImages(k).Picture()),
                k == c.picture)
          << "button " << c.index << " picture " << k;
  }
  for (int index : {3, 5, 7, 9, 10, 11, 12}) {
    EXPECT_TRUE(Button(index).IsSeparator()) << index;
    EXPECT_TRUE(Button(index).ToolTipText().isEmpty()) << index;
  }
}

TEST_F(Toolbar, TakeBackAndHintFollowTheDealsAndMoves) {
  for (int index : {1, 2, 4, 13}) EXPECT_TRUE(Button(index).Enabled()) << index;
  EXPECT_FALSE(Button(6).Enabled());
  EXPECT_FALSE(Button(8).Enabled());

  DealStrength = 3;
  Click(1);
  EXPECT_EQ(form->Tableau[51], "312");
  EXPECT_TRUE(form->Image1(51).Visible());
  EXPECT_FALSE(Button(6).Enabled());
  EXPECT_FALSE(Button(8).Enabled());

  form->FirstIndex = 51;
  form->SecondIndex = 0;
  form->RecordMove(7);
  EXPECT_TRUE(Button(6).Enabled());
  EXPECT_TRUE(Button(8).Enabled());

  Click(1);
  EXPECT_FALSE(Button(6).Enabled());
  EXPECT_TRUE(Button(8).Enabled());
  EXPECT_EQ(MoveCount, 0);
}

TEST_F(Toolbar, SeparatorsAndUnknownIndicesDoNothing) {
  DealStrength = 2;
  platform::SetRandomSeedForTesting(3);
  Click(1);
  platform::SetRandomSeedForTesting(-1);
  form->FirstIndex = 50;
  form->SecondIndex = 1;
  form->RecordMove(7);
  const std::array<QString, 152> board = form->Tableau;
  const std::array<QString, 10> history = form->UndoData;
  const Long moves = MoveCount;
  const QByteArray file = folder.Read("tarnvole.cfg");

  EndRecorder end;
  ModalAnswerer answerer;
  bool otherWindow = false;
  answerer.onOtherWindow = [&](QWidget* w) {
    otherWindow = true;
    w->close();
  };
  for (int index : {3, 5, 7, 9, 10, 11, 12, 0, 14, -1}) form->Toolbar1_ButtonClick(index);

  EXPECT_EQ(form->Tableau, board);
  EXPECT_EQ(form->UndoData, history);
  EXPECT_EQ(MoveCount, moves);
  EXPECT_EQ(end.ends, 0);
  EXPECT_TRUE(answerer.prompts.isEmpty());
  EXPECT_FALSE(otherWindow);
  EXPECT_EQ(folder.Read("tarnvole.cfg"), file);
}

TEST_F(Toolbar, QuitWritesTheGeometryAndEndsWithoutAsking) {
  form->setTop(2250);
  form->setLeft(-60);
  EndRecorder end;
  ModalAnswerer answerer;
  Click(2);
  EXPECT_EQ(end.ends, 1);
  EXPECT_TRUE(answerer.prompts.isEmpty());
  const QByteArray file = folder.Read("tarnvole.cfg");
  EXPECT_EQ(RecordOf(file, 23), QByteArray(" 2250   "));
  EXPECT_EQ(RecordOf(file, 24), QByteArray("-60     "));
  EXPECT_EQ(RecordOf(file, 25), QByteArray(" 7980   "));
  EXPECT_EQ(RecordOf(file, 26), QByteArray(" 9705   "));
  EXPECT_EQ(file.left(22 * 8), DefaultCfgBytes().left(22 * 8));
}

TEST_F(Toolbar, OptionsShowsTheDialogModallyAndWaitsUntilItUnloads) {
  DealStrength = 3;
  Click(1);
  const std::array<QString, 152> board = form->Tableau;

  ModalAnswerer answerer;
  bool answered = false;
  answerer.onOtherWindow = [&](QWidget* w) {
    answered = true;
    EXPECT_NE(qobject_cast<Form2*>(w), nullptr);
    EXPECT_EQ(w->windowModality(), Qt::ApplicationModal);
    EXPECT_TRUE(platform::IsLoaded<Form2>());
    platform::Unload<Form2>();
  };
  Click(4);
  // The click returns only after the dialog was answered inside it.
  EXPECT_TRUE(answered);
  EXPECT_FALSE(platform::IsLoaded<Form2>());
  EXPECT_EQ(form->Tableau, board);
}

TEST_F(Toolbar, RecordsShowsItsDialogModallyAndWaitsUntilItUnloads) {
  ModalAnswerer answerer;
  bool answered = false;
  answerer.onOtherWindow = [&](QWidget* w) {
    answered = true;
    auto* records = qobject_cast<Form6*>(w);
    ASSERT_NE(records, nullptr);
    EXPECT_EQ(w->windowModality(), Qt::ApplicationModal);
    records->Command6->click();
  };
  Click(13);
  EXPECT_TRUE(answered);
  EXPECT_FALSE(platform::IsLoaded<Form6>());
  EXPECT_EQ(folder.Read("tarnvole.cfg"), DefaultCfgBytes());
}

}  // namespace
