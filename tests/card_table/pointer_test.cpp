// The clock that a press of a non-left button on the bare board calls up,
// and the eyes that follow the pointer, driven by real mouse events on the
// shown window.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QPaintEvent>
#include <QTest>
#include <utility>
#include <vector>

#include "board_layout.h"
#include "card_table/form1.h"
#include "platform/clock.h"
#include "platform/forms.h"
#include "settings_records/form2.h"

using namespace tarnvole;
using namespace board_layout;

namespace {

// 0 K♣, 8 Q♦ | 1 J♠ | columns 2, 3 and 5 empty | 4 8♣, 12 6♦ |
// 6 2♣, 14 7♠ | 7 Q♠; free cells 1 J♦, 2 4♠; home 4 3♦, 5 3♠.
Board Standard() {
  Board b;
  b.columns = {QStringList{"312", "111"}, {"210"}, {}, {}, {"37", "15"}, {}, {"31", "26"}, {"211"}};
  b.cells = {"", "110", "23", "", "12", "22", "", ""};
  return b;
}

QPoint Pixel(int xTwips, int yTwips) { return QPoint(xTwips / 15, yTwips / 15); }
QPoint OnCard(int p, int down = 8) {
  return Pixel(BoardLeft + 1155 * (p % 8), RowZeroTop + RowStep * (p / 8)) + QPoint(35, down);
}
QPoint OnCell(int i, int right = 35) { return Pixel(CellLeft[i], CellTop) + QPoint(right, 48); }
QPoint OnMarker(int column) { return OnCard(column, 60); }
const QPoint BareBoard = Pixel(4700, 2000);  // between the cells and the columns
const QPoint OtherBareBoard = Pixel(2900, 6500);
const QPoint Eyes = Pixel(4515 + 270, 1050 + 200);
const QPoint ToolbarBareArea(500, 14);  // right of the last button

// The window's paint events that reach above the status bar (whose clock
// repaints it once a minute).
class PaintRecorder : public QObject {
 public:
  explicit PaintRecorder(Form1& form) : form_(form) { form.installEventFilter(this); }
  ~PaintRecorder() override { form_.removeEventFilter(this); }
  QRegion painted;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      const QRect board(0, 0, form_.width(), form_.StatusBar1->y());
      painted += static_cast<QPaintEvent*>(event)->region().intersected(board);
    }
    return false;
  }

 private:
  Form1& form_;
};

class Pointer : public StartedForm {
 protected:
  void SetUp() override {
    StartedForm::SetUp();
    ASSERT_EQ(EyesOn, 1);
    LayOut(*form, Standard());
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    SetTime(QTime(14, 5, 31));
  }
  void TearDown() override {
    platform::SetClockForTesting(nullptr);
    platform::Unload<Form2>();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    StartedForm::TearDown();
  }

  static void SetTime(QTime time) {
    platform::SetClockForTesting([time] { return QDateTime(QDate(2026, 1, 20), time); });
  }
  QWidget* ToolbarButton(int index) { return form->Toolbar1->Buttons(index).Widget(); }
  QWidget* Board() { return form.get(); }

  // Whether the window's pointer is the one that shows no pixel.
  bool PointerHidden() const {
    if (form->MousePointer() != 99 || form->cursor().shape() != Qt::BitmapCursor) return false;
    const QImage mask = form->cursor().mask().toImage();
    for (int y = 0; y < mask.height(); ++y)
      for (int x = 0; x < mask.width(); ++x)
        if (mask.pixelIndex(x, y) != 0) return false;
    return !mask.isNull();
  }
  bool PointerDefault() const {
    return form->MousePointer() == 0 && form->cursor().shape() == Qt::ArrowCursor;
  }

  void ExpectClockAt(QPoint pixel, const char* time) {
    EXPECT_TRUE(form->Label1.Visible());
    EXPECT_EQ(form->Label1.Caption().toStdString(), time);
    EXPECT_EQ(form->Label1.Left(), pixel.x() * 15);
    EXPECT_EQ(form->Label1.Top(), pixel.y() * 15);
    EXPECT_EQ(form->Label1.Width(), 855);
    EXPECT_EQ(form->Label1.Height(), 330);
    EXPECT_TRUE(PointerHidden());
  }
  // The blue time text is drawn whole inside the label's border.
  void ExpectTimeInsideTheBox() {
    const QImage box = form->grab(form->Label1.PixelRect()).toImage();
    QRect ink;
    for (int y = 0; y < box.height(); ++y)
      for (int x = 0; x < box.width(); ++x)
        if (box.pixelColor(x, y) == QColor(0, 0, 255)) ink |= QRect(x, y, 1, 1);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_TRUE(box.rect().adjusted(2, 2, -2, -2).contains(ink)) << ink.x() << "," << ink.y() << " "
                                                                  << ink.width() << "x" << ink.height();
    EXPECT_GE(ink.width(), 25);  // five characters, not one
  }
  void ExpectNoClock() {
    EXPECT_FALSE(form->Label1.Visible());
    EXPECT_TRUE(PointerDefault());
  }

  void ExpectEyes(int picture) {
    EXPECT_EQ(form->EyePicture, picture);
    EXPECT_EQ(form->Image4.Picture(), form->ImageList3.ListImages(picture).Picture());
  }
};

TEST_F(Pointer, TheLeftButtonNeitherShowsNorHidesTheClock) {
  QTest::mousePress(Board(), Qt::LeftButton, {}, BareBoard);
  ExpectNoClock();
  EXPECT_TRUE(form->Label1.Caption().isEmpty());
  QTest::mouseRelease(Board(), Qt::LeftButton, {}, BareBoard);

  QTest::mousePress(Board(), Qt::RightButton, {}, BareBoard);
  QTest::mousePress(Board(), Qt::LeftButton, {}, BareBoard);
  QTest::mouseRelease(Board(), Qt::LeftButton, {}, BareBoard);
  ExpectClockAt(BareBoard, "14:05");
  QTest::mouseRelease(Board(), Qt::RightButton, {}, BareBoard);
  ExpectNoClock();
}

TEST_F(Pointer, ARightOrMiddlePressOnTheBareBoardShowsTheTimeAtThePointerUntilReleased) {
  for (auto [button, at] : {std::pair{Qt::RightButton, BareBoard}, {Qt::MiddleButton, OtherBareBoard}}) {
    SCOPED_TRACE(button);
    QTest::mousePress(Board(), button, {}, at);
    ExpectClockAt(at, "14:05");
    // The label is drawn over the cards and the pointer's place.
    EXPECT_EQ(form->ControlAt(at), &form->Label1);
    ExpectTimeInsideTheBox();
    QTest::mouseRelease(Board(), button, {}, at);
    ExpectNoClock();
  }
}

TEST_F(Pointer, APressOnAnyControlShowsNoClock) {
  const std::pair<QWidget*, QPoint> places[] = {
      {Board(), OnCard(14)},         {Board(), OnCard(8, 60)},        {Board(), OnCell(0)},
      {Board(), OnCell(6)},          {Board(), OnMarker(2)},          {Board(), Eyes},
      {form->Toolbar1, ToolbarBareArea}, {ToolbarButton(1), QPoint(10, 10)},
      {ToolbarButton(6), QPoint(10, 10)}, {form->StatusBar1, QPoint(60, 8)}};
  for (Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton}) {
    for (const auto& [widget, at] : places) {
      SCOPED_TRACE(testing::Message() << button << " " << widget->metaObject()->className() << " "
                                      << at.x() << "," << at.y());
      QTest::mousePress(widget, button, {}, at);
      ExpectNoClock();
      EXPECT_TRUE(form->Label1.Caption().isEmpty());
      QTest::mouseRelease(widget, button, {}, at);
    }
  }
  EXPECT_EQ(BoardOf(*form), Standard());
}

TEST_F(Pointer, ASecondPressReadsTheTimeAgainAndTheFirstReleaseTakesTheClockAway) {
  QTest::mousePress(Board(), Qt::RightButton, {}, BareBoard);
  SetTime(QTime(9, 58, 2));
  QTest::mousePress(Board(), Qt::MiddleButton, {}, OtherBareBoard);
  ExpectClockAt(OtherBareBoard, "09:58");
  QTest::mouseRelease(Board(), Qt::RightButton, {}, OtherBareBoard);
  ExpectNoClock();
  QTest::mouseRelease(Board(), Qt::MiddleButton, {}, OtherBareBoard);
  ExpectNoClock();
}

TEST_F(Pointer, TheClockStaysWhereThePressWasAndKeepsItsTime) {
  QTest::mousePress(Board(), Qt::RightButton, {}, BareBoard);
  SetTime(QTime(14, 6, 0));
  for (QPoint to : {OtherBareBoard, OnCard(12), OnCell(1), Pixel(6000, 200)}) {
    QTest::mouseMove(Board(), to);
    ExpectClockAt(BareBoard, "14:05");
  }
  QTest::mouseRelease(Board(), Qt::RightButton, {}, Pixel(6000, 200));
  ExpectNoClock();
}

TEST_F(Pointer, TheEyesLookTowardWhatLiesUnderThePointer) {
  ExpectEyes(2);
  const struct {
    QWidget* widget;
    QPoint at;
    int picture;
  } steps[] = {{Board(), OnCard(14), 5},          {Board(), OnCell(3), 1},
               {Board(), OnCell(7), 3},           {Board(), BareBoard, 2},
               {ToolbarButton(4), QPoint(8, 8), 4}, {Board(), OnCard(8, 60), 5},
               {form->Toolbar1, ToolbarBareArea, 4}, {Board(), OnCell(0), 1},
               {Board(), OtherBareBoard, 2}};
  for (const auto& step : steps) {
    SCOPED_TRACE(step.picture);
    QTest::mouseMove(step.widget, step.at);
    ExpectEyes(step.picture);
  }
}

TEST_F(Pointer, OverTheMarkersTheEyesThemselvesAndTheStatusBarTheEyesStayPut) {
  for (QPoint start : {OnCard(1), OnCell(2)}) {
    QTest::mouseMove(Board(), start);
    const int picture = static_cast<int>(form->EyePicture);
    ASSERT_NE(picture, 2);
    QTest::mouseMove(Board(), OnMarker(2));
    ExpectEyes(picture);
    QTest::mouseMove(Board(), Eyes);
    ExpectEyes(picture);
    QTest::mouseMove(form->StatusBar1, QPoint(60, 8));
    ExpectEyes(picture);
  }
}

TEST_F(Pointer, MovingWithinOnePlaceDrawsNothingAndANewPlaceRedrawsTheEyes) {
  const QRect eyes = form->Image4.PixelRect();
  PaintRecorder recorder(*form);
  const struct {
    int picture;
    std::vector<QPoint> points;  // all within one place
  } places[] = {{1, {OnCell(2), OnCell(2, 10), OnCell(3), OnCell(0, 60)}},
                {3, {OnCell(4), OnCell(7, 20), OnCell(5)}},
                {5, {OnCard(0, 10), OnCard(8, 60), OnCard(1), OnCard(14, 90)}},
                {2, {BareBoard, OtherBareBoard, BareBoard + QPoint(5, 5)}}};
  for (const auto& place : places) {
    SCOPED_TRACE(place.picture);
    recorder.painted = QRegion();
    QTest::mouseMove(Board(), place.points.front());
    ExpectEyes(place.picture);
    EXPECT_TRUE(QTest::qWaitFor([&] { return recorder.painted.intersects(eyes); }));
    QTest::qWait(50);

    recorder.painted = QRegion();
    for (size_t i = 1; i < place.points.size(); ++i) QTest::mouseMove(Board(), place.points[i]);
    QTest::qWait(50);
    EXPECT_TRUE(recorder.painted.isEmpty()) << recorder.painted.boundingRect().x();
    ExpectEyes(place.picture);
  }
}

TEST_F(Pointer, WithTheEyesOffThePointerChangesNothing) {
  EyesOn = 0;
  QTest::mouseMove(Board(), OnCard(14));
  QTest::mouseMove(Board(), OnCell(1));
  QTest::mouseMove(Board(), OnCell(5));
  QTest::mouseMove(ToolbarButton(1), QPoint(8, 8));
  ExpectEyes(2);
}

TEST_F(Pointer, TheEyesTurnedOffAndOnInTheOptionsKeepTheirLastPicture) {
  Form2& options = platform::Load<Form2>();
  QTest::mouseMove(Board(), OnCard(14));
  ExpectEyes(5);
  options.Option4(0).click();
  ASSERT_EQ(EyesOn, 0);
  EXPECT_FALSE(form->Image4.Visible());
  QTest::mouseMove(Board(), OnCell(1));
  QTest::mouseMove(form->Toolbar1, ToolbarBareArea);
  ExpectEyes(5);

  options.Option4(1).click();
  ASSERT_EQ(EyesOn, 1);
  EXPECT_TRUE(form->Image4.Visible());
  ExpectEyes(5);
  QTest::mouseMove(Board(), OnCell(1));
  ExpectEyes(1);
}

}  // namespace
