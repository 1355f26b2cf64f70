// Message boxes: the answers they give, a Yes/No question that Esc or the
// close box cannot answer, and the one face all their text is drawn in.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFontInfo>
#include <QGlyphRun>
#include <QLabel>
#include <QMessageBox>
#include <QRawFont>
#include <QTextLayout>
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

// The families that draw each piece of a text in a font, after the font
// fallback has picked a face for every character.
QStringList FacesDrawing(const QString& text, const QFont& font) {
  QTextLayout layout(text, font);
  layout.beginLayout();
  while (layout.createLine().isValid()) {
  }
  layout.endLayout();
  QStringList faces;
  for (const QGlyphRun& run : layout.glyphRuns())
    if (!faces.contains(run.rawFont().familyName())) faces << run.rawFont().familyName();
  return faces;
}

// Digits and Japanese on one line come from the same IPA face, as in the
// dialogs, not the digits from a Latin face beside them; the buttons too.
TEST(MessageBox, DigitsAndJapaneseAreDrawnInTheIpaGothicFace) {
  const QString prompt = QStringLiteral("この位置には 12 枚までしか移動できません。(3 枚)");
  QStringList labelFaces, buttonFaces;
  QString labelFamily;
  BoxDriver driver([&](QMessageBox* box, int) {
    if (auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) {
      labelFamily = QFontInfo(label->font()).family();
      labelFaces = FacesDrawing(label->text(), label->font());
    }
    for (QAbstractButton* b : box->buttons()) buttonFaces << FacesDrawing(b->text(), b->font());
    ButtonStartingWith(box, "はい")->click();
  });
  EXPECT_EQ(platform::MsgBox(prompt, platform::vbYesNo), platform::vbYes);
  EXPECT_EQ(labelFamily.toStdString(), "IPAPGothic");
  EXPECT_EQ(labelFaces.join(u',').toStdString(), "IPAPGothic");
  buttonFaces.removeDuplicates();
  EXPECT_EQ(buttonFaces.join(u',').toStdString(), "IPAPGothic");
}

}  // namespace
