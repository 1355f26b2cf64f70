// Message boxes: the answers they give, and a Yes/No question that Esc or the
// close box cannot answer.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "platform/forms.h"

namespace {

// Polls for the modal box and hands it to `act` each time it is up anew.
class BoxDriver {
 public:
  explicit BoxDriver(std::function<void(QMessageBox*, int showing)> act) : act_(std::move(act)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box || !box->isVisible()) {
        handled_ = false;
        return;
      }
      if (handled_) return;
      handled_ = true;
      act_(box, ++showings);
    });
    timer_.start(5);
  }
  int showings = 0;

 private:
  std::function<void(QMessageBox*, int)> act_;
  QTimer timer_;
  bool handled_ = false;
};

QAbstractButton* ButtonStartingWith(QMessageBox* box, const QString& text) {
  for (QAbstractButton* b : box->buttons())
    if (b->text().startsWith(text)) return b;
  return nullptr;
}

TEST(MessageBox, YesAndNoAnswerSixAndSevenAndOkAnswersOne) {
  BoxDriver yes([](QMessageBox* box, int) { ButtonStartingWith(box, "はい")->click(); });
  EXPECT_EQ(platform::MsgBox("q", platform::vbYesNo, "t"), platform::vbYes);
  BoxDriver no([](QMessageBox* box, int) { ButtonStartingWith(box, "いいえ")->click(); });
  EXPECT_EQ(platform::MsgBox("q", platform::vbYesNo, "t"), platform::vbNo);
}

TEST(MessageBox, EscapeDoesNotAnswerAYesNoQuestion) {
  QString title, text;
  bool upAfterEscape = false;
  BoxDriver driver([&](QMessageBox* box, int) {
    title = box->windowTitle();
    text = box->text();
    QTest::keyClick(box, Qt::Key_Escape);
    QTimer::singleShot(50, box, [&, box] {
      upAfterEscape = box->isVisible();
      ButtonStartingWith(box, "はい")->click();
    });
  });
  EXPECT_EQ(platform::MsgBox("line one\rline two", platform::vbYesNo, "ちょっと失礼！"),
            platform::vbYes);
  EXPECT_TRUE(upAfterEscape);  // Esc left the question open
  EXPECT_EQ(title, "ちょっと失礼！");
  EXPECT_EQ(text, "line one\nline two");
}

TEST(MessageBox, AnOkBoxWithoutTitleShowsTheProgramsTitle) {
  QString title;
  BoxDriver driver([&](QMessageBox* box, int) {
    title = box->windowTitle();
    QTest::keyClick(box, Qt::Key_Escape);
  });
  EXPECT_EQ(platform::MsgBox("message"), platform::vbOK);
  EXPECT_EQ(title, platform::ProgramTitle());
}

}  // namespace
