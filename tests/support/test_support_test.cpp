// The test support's handling of modal windows: a window that nobody expects
// or answers fails the running test by its title and is closed, so the test
// ends instead of waiting for a click.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>

#include "platform/forms.h"
#include "support/test_support.h"

using testing_support::ModalAnswerer;
using testing_support::ModalWatchdog;

namespace {

class ModalSupport : public ::testing::Test {
 protected:
  void SetUp() override { ModalWatchdog::SetGraceForTesting(300); }
  void TearDown() override {
    ModalWatchdog::SetGraceForTesting(0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  static void ShowModalForm(const QString& title) {
    auto* form = new platform::Form;
    form->setCaption(title);
    form->setClientSize(3000, 2000);
    form->ShowForm(platform::Modal);
  }
};

TEST_F(ModalSupport, AnAnswererFailsAFormItDoesNotExpectAndClosesIt) {
  ModalAnswerer answerer;
  EXPECT_NONFATAL_FAILURE(ShowModalForm(QStringLiteral("Stray form")), "\"Stray form\"");
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(ModalSupport, AMessageBoxNobodyAnswersFailsAfterTheGraceTime) {
  int answer = 0;
  EXPECT_NONFATAL_FAILURE(
      answer = platform::MsgBox(QStringLiteral("?"), platform::vbYesNo, QStringLiteral("Stray question")),
      "\"Stray question\"");
  EXPECT_NE(answer, 0);
}

TEST_F(ModalSupport, AFormTheAnswerLeavesOpenFailsAfterTheGraceTime) {
  ModalAnswerer answerer;
  int handed = 0;
  answerer.onOtherWindow = [&](QWidget*) { ++handed; };
  EXPECT_NONFATAL_FAILURE(ShowModalForm(QStringLiteral("Left open")), "\"Left open\"");
  EXPECT_EQ(handed, 1);
}

}  // namespace
