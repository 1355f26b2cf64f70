// The two pause windows: how long a pause lasts, that each pause loads its
// window anew, and that the main window repaints but takes no input meanwhile.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <functional>
#include <vector>

#include "card_table/board_layout.h"
#include "card_table/form7.h"
#include "card_table/form8.h"
#include "platform/forms.h"
#include "support/test_support.h"

using namespace tarnvole;
using namespace board_layout;

namespace {

// Generous: a loaded test machine may be slow to come back, never early.
constexpr qint64 Slack = 400;

// Records each showing and hiding of a pause window of type T, and runs an
// optional action a little after each showing, inside the pause.
template <class T>
class PauseWatcher : public QObject {
 public:
  PauseWatcher() { qApp->installEventFilter(this); }
  ~PauseWatcher() override { qApp->removeEventFilter(this); }

  struct Showing {
    Long tickCountAtShow = -1;
    Long tickCountAtHide = -1;
    qint64 shownAt = 0;
    qint64 hiddenAt = 0;
    int geometryWidth = 0;
    QPoint position;
  };
  std::vector<Showing> showings;
  std::function<void()> duringPause;
  QElapsedTimer clock;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    T* window = qobject_cast<T*>(watched);
    if (!window) return false;
    if (event->type() == QEvent::Show) {
      if (!clock.isValid()) clock.start();
      showings.push_back({window->TickCount, -1, clock.elapsed(), 0, window->width(), window->pos()});
      if (duringPause) QTimer::singleShot(40, duringPause);
    } else if (event->type() == QEvent::Hide && !showings.empty()) {
      showings.back().tickCountAtHide = window->TickCount;
      showings.back().hiddenAt = clock.elapsed();
    }
    return false;
  }
};

class Pauses : public StartedForm {
 protected:
  void TearDown() override {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    StartedForm::TearDown();
  }
  void ShowBoard() {
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
  }
};

TEST_F(Pauses, PauseLastsOneTickOfForm7WhateverItsArgument) {
  PauseWatcher<Form7> watcher;
  for (float argument : {1.0f, 0.0f}) {
    QElapsedTimer timer;
    timer.start();
    form->Pause(argument);
    const qint64 elapsed = timer.elapsed();
    EXPECT_GE(elapsed, 600) << argument;
    EXPECT_LT(elapsed, 600 + Slack) << argument;
    EXPECT_FALSE(platform::IsLoaded<Form7>());
  }
  // Loaded anew each time: TickCount starts at 0 and the window unloads at
  // its first tick. A one-pixel window at the screen's corner.
  ASSERT_EQ(watcher.showings.size(), 2u);
  for (const auto& showing : watcher.showings) {
    EXPECT_EQ(showing.tickCountAtShow, 0);
    EXPECT_EQ(showing.tickCountAtHide, 1);
    EXPECT_EQ(showing.geometryWidth, 1);
    EXPECT_EQ(showing.position, QPoint(0, 0));
  }
}

TEST_F(Pauses, Form8PausesLast70msEachAndLoadAnew) {
  PauseWatcher<Form8> watcher;
  for (int i = 0; i < 2; ++i) {
    QElapsedTimer timer;
    timer.start();
    platform::Show<Form8>(platform::Modal);
    EXPECT_GE(timer.elapsed(), 70);
    EXPECT_LT(timer.elapsed(), 70 + Slack);
    EXPECT_FALSE(platform::IsLoaded<Form8>());
  }
  ASSERT_EQ(watcher.showings.size(), 2u);
  for (const auto& showing : watcher.showings) {
    EXPECT_EQ(showing.tickCountAtShow, 0);
    EXPECT_EQ(showing.tickCountAtHide, 1);
  }
}

// Clicks on a card, on the toolbar and on the close box reach nothing during
// a pause; the same input right after it does.
TEST_F(Pauses, TheMainWindowTakesNoInputDuringAPauseButKeepsTheFocus) {
  Board board;
  board.columns[0] = {"25"};
  board.columns[1] = {"38"};
  LayOut(*form, board);
  ShowBoard();
  form->activateWindow();
  QTest::qWait(20);
  QWidget* activeBefore = QApplication::activeWindow();

  int doubleClicks = 0;
  auto original = form->Image1(0).DblClick;
  form->Image1(0).DblClick = [&](int index) {
    ++doubleClicks;
    original(index);
  };
  QList<int> toolbarClicks;
  form->Toolbar1->ButtonClick = [&](int index) { toolbarClicks << index; };
  testing_support::EndRecorder ends;

  const QPoint card = form->Image1(0).PixelRect().center();
  QWidget* newGameButton = form->Toolbar1->Buttons(1).Widget();
  const auto input = [&] {
    QTest::mouseDClick(form.get(), Qt::LeftButton, {}, card);
    QTest::mouseDClick(form->windowHandle(), Qt::LeftButton, {}, card);
    QTest::mouseClick(newGameButton, Qt::LeftButton);
    form->close();
  };
  PauseWatcher<Form7> watcher;
  QWidget* activeDuring = nullptr;
  watcher.duringPause = [&] {
    activeDuring = QApplication::activeWindow();
    input();
  };
  form->Pause(1);

  ASSERT_EQ(watcher.showings.size(), 1u);
  EXPECT_EQ(doubleClicks, 0);
  EXPECT_TRUE(toolbarClicks.isEmpty());
  EXPECT_EQ(ends.ends, 0);
  EXPECT_EQ(BoardOf(*form), board);
  EXPECT_EQ(activeDuring, activeBefore);
  EXPECT_EQ(QApplication::activeWindow(), activeBefore);

  input();
  EXPECT_GE(doubleClicks, 1);
  EXPECT_EQ(form->Cell[0], "25");
  EXPECT_EQ(toolbarClicks, QList<int>({1}));
  EXPECT_EQ(ends.ends, 1);
}

TEST_F(Pauses, AChangeMadeJustBeforeAPauseIsPaintedDuringIt) {
  ShowBoard();
  QTest::qWait(20);
  int paints = 0;
  bool pausing = false;
  struct PaintCounter : QObject {
    std::function<void()> onPaint;
    bool eventFilter(QObject*, QEvent* event) override {
      if (event->type() == QEvent::Paint) onPaint();
      return false;
    }
  } counter;
  counter.onPaint = [&] { paints += pausing ? 1 : 0; };
  form->installEventFilter(&counter);
  form->Image1(0).setPicture(FacePicture(*form, "00"));
  form->Image1(0).setVisible(true);
  pausing = true;
  platform::Show<Form8>(platform::Modal);
  pausing = false;
  form->removeEventFilter(&counter);
  EXPECT_GE(paints, 1);
}

TEST_F(Pauses, EightCardsSentHomeTakeEightPausesEachDrawnBeforeTheNext) {
  FullAuto = 1;
  Board board;
  board.columns[0] = {"01", "00"};
  board.columns[1] = {"11", "10"};
  board.columns[2] = {"21", "20"};
  board.columns[3] = {"31", "30"};
  LayOut(*form, board);
  PauseWatcher<Form8> watcher;
  QStringList drawn;
  watcher.duringPause = [&] {
    // The newest history entry names the home cell; its picture is the card.
    const QStringList parts = form->UndoData[static_cast<size_t>(History(*form).size() - 1)].split(u'/');
    const int home = parts.value(1).trimmed().toInt();
    drawn << (form->Image2(home).Picture() == FacePicture(*form, form->Cell[home]) ? form->Cell[home]
                                                                                     : QString("?"));
  };
  form->AutoMoveToHome();

  ASSERT_EQ(watcher.showings.size(), 8u);
  EXPECT_EQ(drawn, QStringList({"00", "10", "20", "30", "01", "11", "21", "31"}));
  for (size_t i = 1; i < watcher.showings.size(); ++i)
    EXPECT_GE(watcher.showings[i].shownAt - watcher.showings[i - 1].shownAt, 70) << i;
  for (const auto& showing : watcher.showings) EXPECT_EQ(showing.tickCountAtShow, 0);
  EXPECT_EQ(MoveCount, 8);
}

}  // namespace

// A press and its release on either side of a pause leave no button held:
// afterwards the pointer reaches the toolbar (the eyes look up, a button
// answers) instead of staying with the board that had the press. The events
// go through the window, as the player's do.
class InputAfterAPause : public Pauses {
 protected:
  // Runs `inside` once, at the start of the next pause of Form8.
  struct DuringNextPause : QObject {
    std::function<void()> inside;
    DuringNextPause() { qApp->installEventFilter(this); }
    ~DuringNextPause() override { qApp->removeEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override {
      if (inside && qobject_cast<Form8*>(watched) && event->type() == QEvent::Show)
        QTimer::singleShot(0, std::exchange(inside, nullptr));
      return false;
    }
  };
};

TEST_F(InputAfterAPause, APressOrReleaseRefusedByAPauseLeavesNoButtonHeld) {
  Board board;
  board.columns[0] = {"25"};
  board.columns[1] = {"38"};
  const struct {
    const char* name;
    bool pressBeforePause;  // else the press falls inside the pause
  } cases[] = {{"second click of a double-click starts the pause", true},
               {"press inside the pause, release after it", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    LayOut(*form, board);
    if (!form->isVisible()) ShowBoard();
    QWindow* window = form->windowHandle();
    const QPoint card = form->Image1(0).PixelRect().center();
    const QPoint cell = form->Image2(1).PixelRect().center();
    const QPoint toolbarBare(500, 14);
    QWidget* newGame = form->Toolbar1->Buttons(1).Widget();
    const QPoint newGameAt = newGame->mapTo(form.get(), newGame->rect().center());
    QTest::mouseMove(window, cell);
    ASSERT_EQ(form->EyePicture, 1);

    int cardReleases = 0;
    form->Image1(0).MouseUp = [&](int, int, int, float, float) { ++cardReleases; };
    form->Image1(0).DblClick = [](int) { platform::Show<Form8>(platform::Modal); };
    QList<int> toolbarClicks;
    form->Toolbar1->ButtonClick = [&](int index) { toolbarClicks << index; };

    DuringNextPause pause;
    if (c.pressBeforePause) {
      pause.inside = [&] { QTest::mouseRelease(window, Qt::LeftButton, {}, card); };
      QTest::mouseClick(window, Qt::LeftButton, {}, card);
      cardReleases = 0;
      // QTest spaces clicks apart so that they make no double-click; this
      // second click follows the first at once, as a player's does.
      QTest::lastMouseTimestamp -= QTest::mouseDoubleClickInterval;
      QTest::mousePress(window, Qt::LeftButton, {}, card);
    } else {
      pause.inside = [&] { QTest::mousePress(window, Qt::LeftButton, {}, cell); };
      platform::Show<Form8>(platform::Modal);
      QTest::mouseRelease(window, Qt::LeftButton, {}, cell);
    }
    ASSERT_FALSE(pause.inside) << "the pause never came";
    EXPECT_EQ(cardReleases, 0);  // refused, not delivered late

    QTest::mouseMove(window, toolbarBare);
    EXPECT_EQ(form->EyePicture, 4);
    QTest::mouseMove(window, card);
    EXPECT_EQ(form->EyePicture, 5);
    QTest::mouseClick(window, Qt::LeftButton, {}, newGameAt);
    EXPECT_EQ(toolbarClicks, QList<int>({1}));
  }
}
