// The options dialog: start-up puts the settings on it, its handlers change
// them at once, and its button writes records 1 to 6.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QLineEdit>
#include <QStyle>
#include <QTest>
#include <cstdlib>
#include <memory>

#include "card_table/form1.h"
#include "platform/controls.h"
#include "platform/forms.h"
#include "settings_records/form2.h"
#include "settings_records/module1.h"
#include "support/test_support.h"

using namespace tarnvole;
using namespace testing_support;

namespace {

// A settings file with the six given setting texts and the default rest.
QByteArray SettingsFile(const std::array<QByteArray, 6>& settings) {
  QByteArray file = DefaultCfgBytes();
  for (int n = 1; n <= 6; ++n) file = WithRecord(file, n, settings[static_cast<size_t>(n - 1)]);
  return file;
}

class OptionsDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetModule1ForTesting();
    UnloadDialog();
  }
  void TearDown() override {
    UnloadDialog();
    form.reset();
    ResetModule1ForTesting();
  }
  static void UnloadDialog() {
    platform::Unload<Form2>();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  // Starts a fresh main window on the file; its start-up loads the dialog
  // hidden and puts the settings on it.
  Form2& StartWith(const QByteArray& cfg) {
    UnloadDialog();
    form.reset();
    ResetModule1ForTesting();
    folder.Write("tarnvole.cfg", cfg);
    form = std::make_unique<Form1>();
    form->Form_Load();
    EXPECT_TRUE(platform::IsLoaded<Form2>());
    return platform::Load<Form2>();
  }

  // Shows the loaded dialog without a modal loop, as the player would see it.
  static Form2& Shown() {
    platform::Show<Form2>(platform::Modeless);
    return platform::Load<Form2>();
  }

  // A pick from the drop-down list: open it, move to the item, press Enter.
  static void Pick(platform::ComboBox& combo, const QString& item) {
    combo.showPopup();
    QAbstractItemView* list = combo.view();
    const int row = combo.findText(item);
    ASSERT_GE(row, 0) << item.toStdString();
    list->setCurrentIndex(combo.model()->index(row, 0));
    QTest::keyClick(list, Qt::Key_Return);
  }

  ScratchFolder folder;
  std::unique_ptr<Form1> form;
};

// ---- Start-up puts the stored settings on the dialog --------------------------

TEST_F(OptionsDialog, StartupLeavesTheDialogLoadedButHidden) {
  Form2& dialog = StartWith(DefaultCfgBytes());
  EXPECT_TRUE(dialog.isHidden());
  EXPECT_EQ(&platform::Load<Form2>(), &dialog);  // a later touch finds the same dialog
}

TEST_F(OptionsDialog, StartupShowsFullAutoAndLeavesAnUnknownValueAlone) {
  Form2* dialog = &StartWith(SettingsFile({" 0", " 0", " 2", " 2", " 1", " 1"}));
  EXPECT_TRUE(dialog->Option1(0).Value());
  EXPECT_FALSE(dialog->Option1(1).Value());
  EXPECT_EQ(FullAuto, 0);

  dialog = &StartWith(SettingsFile({" 1", " 0", " 2", " 2", " 1", " 1"}));
  EXPECT_FALSE(dialog->Option1(0).Value());
  EXPECT_TRUE(dialog->Option1(1).Value());
  EXPECT_EQ(FullAuto, 1);

  // A damaged but readable value: neither button, and the value stays.
  dialog = &StartWith(SettingsFile({" 2", " 0", " 2", " 2", " 1", " 1"}));
  EXPECT_FALSE(dialog->Option1(0).Value());
  EXPECT_FALSE(dialog->Option1(1).Value());
  EXPECT_EQ(FullAuto, 2);
  // ... until the player picks one.
  Shown().Option1(0).click();
  EXPECT_EQ(FullAuto, 0);
  EXPECT_TRUE(dialog->Option1(0).Value());
}

TEST_F(OptionsDialog, StartupShowsTheInvertedSecondRow) {
  Form2* dialog = &StartWith(SettingsFile({" 0", " 1", " 2", " 2", " 1", " 1"}));
  EXPECT_TRUE(dialog->Option2(0).Value());  // "しない"
  EXPECT_FALSE(dialog->Option2(1).Value());
  EXPECT_EQ(SkipCountChoice, 1);

  dialog = &StartWith(SettingsFile({" 0", " 0", " 2", " 2", " 1", " 1"}));
  EXPECT_FALSE(dialog->Option2(0).Value());
  EXPECT_TRUE(dialog->Option2(1).Value());  // "する"
  EXPECT_EQ(SkipCountChoice, 0);
}

TEST_F(OptionsDialog, StartupShowsTheUndoDepthAndTheDealStrength) {
  Form2* dialog = &StartWith(SettingsFile({" 0", " 0", " 2", " 1", " 1", " 1"}));
  EXPECT_EQ(dialog->Combo1->Text(), "3");
  EXPECT_EQ(MaxUndoLevel, 2);
  EXPECT_EQ(dialog->Slider1->Value(), 1);
  EXPECT_EQ(DealStrength, 1);

  dialog = &StartWith(SettingsFile({" 0", " 0", " 9", " 2", " 1", " 1"}));
  EXPECT_EQ(dialog->Combo1->Text(), "10");
  EXPECT_EQ(MaxUndoLevel, 9);
  EXPECT_EQ(dialog->Slider1->Value(), 2);
  EXPECT_EQ(DealStrength, 2);

  // A stored strength of 0 is taken as easy; a depth not in the list is shown as it is.
  dialog = &StartWith(SettingsFile({" 0", " 0", " 11", " 0", " 1", " 1"}));
  EXPECT_EQ(DealStrength, 1);
  EXPECT_EQ(dialog->Slider1->Value(), 1);
  EXPECT_EQ(dialog->Combo1->Text(), "12");
  EXPECT_EQ(MaxUndoLevel, 11);
}

TEST_F(OptionsDialog, StartupShowsTheSecretaryAndTheEyes) {
  Form2* dialog = &StartWith(SettingsFile({" 0", " 0", " 2", " 2", " 0", " 0"}));
  EXPECT_TRUE(dialog->Option3(0).Value());
  EXPECT_FALSE(dialog->Option3(1).Value());
  EXPECT_EQ(SecretaryOn, 0);
  EXPECT_TRUE(dialog->Option4(0).Value());
  EXPECT_FALSE(dialog->Option4(1).Value());
  EXPECT_EQ(EyesOn, 0);
  EXPECT_FALSE(form->Image4.Visible());

  dialog = &StartWith(SettingsFile({" 0", " 0", " 2", " 2", " 1", " 1"}));
  EXPECT_FALSE(dialog->Option3(0).Value());
  EXPECT_TRUE(dialog->Option3(1).Value());
  EXPECT_EQ(SecretaryOn, 1);
  EXPECT_FALSE(dialog->Option4(0).Value());
  EXPECT_TRUE(dialog->Option4(1).Value());
  EXPECT_EQ(EyesOn, 1);
  EXPECT_TRUE(form->Image4.Visible());
}

// ---- The handlers ---------------------------------------------------------------

TEST_F(OptionsDialog, PickingFromTheListSetsTheUndoLevelOneBelowTheDepth) {
  StartWith(DefaultCfgBytes());
  Form2& dialog = Shown();
  const std::pair<const char*, Long> picks[] = {{"10", 9}, {"1", 0}, {"2", 1},
                                                {"5", 4},  {"7", 6}, {"3", 2}};
  for (const auto& [item, level] : picks) {
    Pick(*dialog.Combo1, QString::fromLatin1(item));
    EXPECT_EQ(MaxUndoLevel, level) << item;
    EXPECT_EQ(dialog.Combo1->Text(), item);
  }
}

TEST_F(OptionsDialog, TypingIntoTheComboBoxIsPutStraightBack) {
  StartWith(DefaultCfgBytes());
  Form2& dialog = Shown();
  QLineEdit* field = dialog.Combo1->lineEdit();
  QTest::keyClicks(field, "7");
  EXPECT_EQ(dialog.Combo1->Text(), "3");
  EXPECT_EQ(MaxUndoLevel, 2);

  Pick(*dialog.Combo1, QStringLiteral("5"));
  field->selectAll();
  QTest::keyClick(field, Qt::Key_Backspace);
  EXPECT_EQ(dialog.Combo1->Text(), "5");
  QTest::keyClicks(field, "x");
  EXPECT_EQ(dialog.Combo1->Text(), "5");
  EXPECT_EQ(MaxUndoLevel, 4);
}

TEST_F(OptionsDialog, EachRowSwitchesItsButtonsAndSetsItsSetting) {
  StartWith(DefaultCfgBytes());
  Form2& dialog = Shown();

  dialog.Option1(1).click();
  EXPECT_EQ(FullAuto, 1);
  EXPECT_FALSE(dialog.Option1(0).Value());
  dialog.Option1(0).click();
  EXPECT_EQ(FullAuto, 0);
  EXPECT_FALSE(dialog.Option1(1).Value());

  // Row 2 is inverted: "する" (do choose) stores 0, "しない" stores 1.
  dialog.Option2(0).click();
  EXPECT_EQ(SkipCountChoice, 1);
  EXPECT_FALSE(dialog.Option2(1).Value());
  dialog.Option2(1).click();
  EXPECT_EQ(SkipCountChoice, 0);
  EXPECT_FALSE(dialog.Option2(0).Value());

  dialog.Option3(0).click();
  EXPECT_EQ(SecretaryOn, 0);
  EXPECT_FALSE(dialog.Option3(1).Value());
  dialog.Option3(1).click();
  EXPECT_EQ(SecretaryOn, 1);
  EXPECT_FALSE(dialog.Option3(0).Value());

  // Any index but 0 and 1 does nothing.
  dialog.Option1_Click(2);
  EXPECT_EQ(FullAuto, 0);
  EXPECT_TRUE(dialog.Option1(0).Value());
}

TEST_F(OptionsDialog, TheEyesRowShowsAndHidesTheEyesWhileTheDialogIsOpen) {
  StartWith(DefaultCfgBytes());
  Form2& dialog = Shown();
  ASSERT_TRUE(form->Image4.Visible());

  dialog.Option4(0).click();
  EXPECT_EQ(EyesOn, 0);
  EXPECT_FALSE(dialog.Option4(1).Value());
  EXPECT_FALSE(form->Image4.Visible());
  EXPECT_TRUE(dialog.isVisible());

  dialog.Option4(1).click();
  EXPECT_EQ(EyesOn, 1);
  EXPECT_FALSE(dialog.Option4(0).Value());
  EXPECT_TRUE(form->Image4.Visible());
}

TEST_F(OptionsDialog, TheEyesRowWorksWithoutAMainWindow) {
  EyesOn = 1;
  Form2& dialog = platform::Load<Form2>();
  ASSERT_EQ(TheForm1(), nullptr);
  dialog.Option4(0).click();
  EXPECT_EQ(EyesOn, 0);
}

TEST_F(OptionsDialog, TheSliderSetsTheDealStrengthAndZeroCountsAsEasy) {
  StartWith(DefaultCfgBytes());
  Form2& dialog = Shown();
  QTest::keyClick(dialog.Slider1, Qt::Key_Left);
  EXPECT_EQ(dialog.Slider1->Value(), 1);
  EXPECT_EQ(DealStrength, 1);
  QTest::keyClick(dialog.Slider1, Qt::Key_Right);
  EXPECT_EQ(DealStrength, 2);
  dialog.Slider1->setValue(0);
  EXPECT_EQ(DealStrength, 1);
}

// ---- The button -------------------------------------------------------------------

TEST_F(OptionsDialog, ConfirmingWritesRecordsOneToSixAndNothingElse) {
  QByteArray cfg = WithRecord(DefaultCfgBytes(), 7, " 12");
  cfg = WithRecord(cfg, 10, "26/11/30");
  cfg = WithRecord(cfg, 26, " 9000");
  StartWith(cfg);
  Form2& dialog = Shown();
  dialog.Option1(1).click();
  dialog.Option2(1).click();  // "する"
  Pick(*dialog.Combo1, QStringLiteral("10"));
  QTest::keyClick(dialog.Slider1, Qt::Key_Left);
  dialog.Option3(0).click();
  dialog.Option4(0).click();

  dialog.Command1->click();

  const QByteArray file = folder.Read("tarnvole.cfg");
  ASSERT_EQ(file.size(), 208);
  EXPECT_EQ(file.left(48), QByteArray(" 1      "
                                      " 0      "
                                      " 9      "
                                      " 1      "
                                      " 0      "
                                      " 0      "));
  EXPECT_EQ(file.mid(48), cfg.mid(48));
  EXPECT_FALSE(platform::IsLoaded<Form2>());
}

TEST_F(OptionsDialog, ConfirmingWritesAllSixEvenWhenNothingChanged) {
  // Readable but untidy texts come back in the number rule's form.
  const QByteArray cfg = SettingsFile({"0", "1abc", "2.", "+2", " 1", "1"});
  StartWith(cfg);
  Shown().Command1->click();
  const QByteArray file = folder.Read("tarnvole.cfg");
  EXPECT_EQ(file.left(48), QByteArray(" 0      "
                                      " 1      "
                                      " 2      "
                                      " 2      "
                                      " 1      "
                                      " 1      "));
  EXPECT_EQ(file.mid(48), cfg.mid(48));
}

TEST_F(OptionsDialog, AfterConfirmingTheNextLoadShowsTheCurrentSettings) {
  StartWith(DefaultCfgBytes());
  Shown().Command1->click();
  ASSERT_FALSE(platform::IsLoaded<Form2>());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

  FullAuto = 1;
  SkipCountChoice = 0;
  MaxUndoLevel = 6;
  DealStrength = 1;
  SecretaryOn = 0;
  EyesOn = 0;
  Form2& dialog = platform::Load<Form2>();
  EXPECT_TRUE(dialog.Option1(1).Value());
  EXPECT_FALSE(dialog.Option1(0).Value());
  EXPECT_TRUE(dialog.Option2(1).Value());
  EXPECT_FALSE(dialog.Option2(0).Value());
  EXPECT_EQ(dialog.Combo1->Text(), "7");
  EXPECT_EQ(dialog.Slider1->Value(), 1);
  EXPECT_TRUE(dialog.Option3(0).Value());
  EXPECT_TRUE(dialog.Option4(0).Value());
  EXPECT_FALSE(form->Image4.Visible());
  EXPECT_EQ(MaxUndoLevel, 6);
  EXPECT_EQ(DealStrength, 1);
}

// Return presses the focused button once it goes down: the repeats of a
// held key, here one that went down before the button had the focus, press
// nothing.
TEST_F(OptionsDialog, AnAutorepeatedReturnDoesNotPressTheFocusedButton) {
  StartWith(DefaultCfgBytes());
  QPointer<Form2> dialog = &Shown();
  ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
  dialog->Option1(1).click();
  dialog->Command1->setFocus();
  const auto key = [&dialog](QEvent::Type type, bool autorepeat) {
    if (!platform::IsLoaded<Form2>()) return;
    qt_handleKeyEvent(dialog->windowHandle(), type, Qt::Key_Return, Qt::NoModifier,
                      QStringLiteral("\r"), autorepeat);
    QCoreApplication::processEvents();
  };
  for (int i = 0; i < 3; ++i) {
    key(QEvent::KeyPress, true);
    key(QEvent::KeyRelease, true);
  }
  EXPECT_TRUE(platform::IsLoaded<Form2>());
  EXPECT_EQ(folder.Read("tarnvole.cfg"), DefaultCfgBytes());
  key(QEvent::KeyPress, false);
  EXPECT_FALSE(platform::IsLoaded<Form2>());
  EXPECT_EQ(RecordOf(folder.Read("tarnvole.cfg"), 1), " 1      ");
}

TEST_F(OptionsDialog, AFileThatCannotBeWrittenIsReportedAndTheSettingsStay) {
  StartWith(DefaultCfgBytes());
  Form2& dialog = Shown();
  dialog.Option1(1).click();
  ASSERT_TRUE(QFile::remove(folder.Path("tarnvole.cfg")));
  ASSERT_TRUE(QDir(folder.Path()).mkdir("tarnvole.cfg"));

  ModalAnswerer answerer;
  dialog.Command1->click();

  ASSERT_EQ(answerer.prompts.size(), 1);
  EXPECT_EQ(answerer.prompts[0], FileProblemMessage(true));
  EXPECT_TRUE(answerer.prompts[0].contains(QStringLiteral("tarnvole.cfg")));
  EXPECT_TRUE(answerer.prompts[0].contains(QStringLiteral("書き込めませんでした")));
  EXPECT_EQ(FullAuto, 1);
  EXPECT_FALSE(platform::IsLoaded<Form2>());
}

TEST_F(OptionsDialog, ClosingTheWindowOtherwiseWritesNothing) {
  StartWith(DefaultCfgBytes());
  Form2& dialog = Shown();
  dialog.Option1(1).click();
  dialog.close();
  EXPECT_FALSE(platform::IsLoaded<Form2>());
  EXPECT_EQ(FullAuto, 1);
  EXPECT_EQ(folder.Read("tarnvole.cfg"), DefaultCfgBytes());
}

// ---- What the player sees ----------------------------------------------------------

TEST_F(OptionsDialog, EveryTextIsAsTheWindowDefinesIt) {
  Form2& d = platform::Load<Form2>();
  EXPECT_EQ(d.windowTitle(), "オプション");

  const std::pair<platform::Frame*, const char*> frames[] = {
      {d.Frame1, "完全オートに"},       {d.Frame2, "完全オートとは・・・"},
      {d.Frame3, "強さ（カードの置き方）"}, {d.Frame4, "移動数を選択"},
      {d.Frame5, "移動数の選択とは・・・"}, {d.Frame6, "強さとは・・・"},
      {d.Frame7, "アンドゥの回数"},     {d.Frame8, "アンドゥとは・・・"},
      {d.Frame9, "秘書なんか"},         {d.Frame10, "秘書とは・・・"},
      {d.Frame11, "目なんか"},          {d.Frame12, "目とは"}};
  for (const auto& [frame, title] : frames) EXPECT_EQ(frame->title(), QString::fromUtf8(title));

  EXPECT_EQ(d.Option1(0).text(), "しない");
  EXPECT_EQ(d.Option1(1).text(), "する");
  EXPECT_EQ(d.Option2(0).text(), "しない");
  EXPECT_EQ(d.Option2(1).text(), "する");
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(d.Option3(i).text(), i == 0 ? "いらねぇ！" : "いてっ！");
    EXPECT_EQ(d.Option4(i).text(), i == 0 ? "いらねぇ！" : "いてっ！");
  }
  EXPECT_EQ(d.Command1->text(), "これでいい！");
  EXPECT_EQ(d.Label2->Caption(), "　やさしい　　　　　通常");
  EXPECT_EQ(d.Label5->Caption(), "回分記憶する");

  EXPECT_EQ(d.Label1->Caption(),
            "ホームセルに置く事が出きるカードは無条件に置いてしまう動作。移動できるかを考える必要がなく"
            "便利な反面，わざと残してフリーセルの空きを利用するなどといった作戦を立てることが出来ない。"
            "どちらかというと動作を把握したい初心者向け。");
  EXPECT_EQ(d.Label3->Caption(),
            "カード置き場の列が空いたとき，その列に移動する際の枚数を選択するか否か。選択しないと"
            "無条件で移動出来る枚数分を移動する。通常は無条件移動がメインだが，一部を残して"
            "フリーセルを利用するなどといった作戦を立てることが出来ない。");
  EXPECT_EQ(d.Label4->Caption(),
            "カードの配列の組方。通常は完全なランダム配列で中には極めてまれに物理的に不可能な配列も"
            "含まれる。その初期配列にちょっと手を加えて小さい数字を前面に出やすくする機能。"
            "動作を把握したい初心者には絶好のオプションかも !?");
  EXPECT_EQ(d.Label6->Caption(),
            "直前に行った移動を元に戻す事。誤操作した時や失敗に気付いたときに戻せる操作の回数を"
            "ここで決める。余り多くすると緊張感が無くなる !?");
  EXPECT_EQ(d.Label7->Caption(),
            "ほらほら！そんなに夢中になっていると・・・ってな訳で１０分経過後はゲームの最初に"
            "経過時間を教えてくれるぞ！");
  EXPECT_EQ(d.Label8->Caption(), "目です・・・・・眼です・・・・・");

  QStringList list;
  for (int i = 0; i < d.Combo1->count(); ++i) list << d.Combo1->itemText(i);
  EXPECT_EQ(list, (QStringList{"1", "2", "3", "5", "7", "10"}));
}

TEST_F(OptionsDialog, ColoursAndFontsFollowTheWindowDefinition) {
  Form2& d = platform::Load<Form2>();
  const QColor red(255, 0, 0), blue(0, 0, 255);
  for (platform::Frame* f : {d.Frame2, d.Frame5, d.Frame6, d.Frame8, d.Frame10, d.Frame12})
    EXPECT_EQ(f->palette().color(QPalette::WindowText), red) << f->title().toStdString();
  for (platform::Frame* f : {d.Frame1, d.Frame3, d.Frame4, d.Frame7, d.Frame9, d.Frame11})
    EXPECT_NE(f->palette().color(QPalette::WindowText), red) << f->title().toStdString();
  for (platform::DialogLabel* l : {d.Label1, d.Label3, d.Label4, d.Label6, d.Label7, d.Label8})
    EXPECT_EQ(l->palette().color(QPalette::WindowText), blue) << l->Caption().toStdString();
  EXPECT_NE(d.Label2->palette().color(QPalette::WindowText), blue);

  EXPECT_EQ(d.Combo1->font().pointSizeF(), 12);
  EXPECT_TRUE(d.Combo1->font().bold());
  EXPECT_EQ(d.Command1->font().pointSizeF(), 18);
  EXPECT_TRUE(d.Command1->font().bold());
  EXPECT_EQ(d.font().pointSizeF(), 9);
  EXPECT_EQ(d.Option3(0).font().pointSizeF(), 9);
  EXPECT_EQ(d.Slider1->minimum(), 1);
  EXPECT_EQ(d.Slider1->maximum(), 2);
  EXPECT_TRUE(d.Combo1->isEditable());
}

TEST_F(OptionsDialog, NothingIsClippedOrOverlaps) {
  Form2& d = platform::Load<Form2>();
  // The labels fit their text to the installed fonts when they are first
  // shown, as the player sees them.
  d.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
  EXPECT_EQ(d.size(), QSize(platform::Px(6750), platform::Px(6585)));

  const QWidget* boxes[] = {d.Frame1, d.Frame2, d.Frame3,  d.Frame4,  d.Frame5,  d.Frame6,  d.Frame7,
                            d.Frame8, d.Frame9, d.Frame10, d.Frame11, d.Frame12, d.Command1};
  for (const QWidget* a : boxes) {
    EXPECT_TRUE(d.rect().contains(a->geometry())) << a->objectName().toStdString();
    for (const QWidget* b : boxes) {
      if (a == b) continue;
      EXPECT_FALSE(a->geometry().intersects(b->geometry()));
    }
  }

  for (platform::DialogLabel* l :
       {d.Label1, d.Label2, d.Label3, d.Label4, d.Label5, d.Label6, d.Label7, d.Label8}) {
    EXPECT_TRUE(l->CaptionFits()) << l->Caption().toStdString();
    EXPECT_GE(l->font().pointSizeF(), 7.5) << l->Caption().toStdString();
    EXPECT_TRUE(l->parentWidget()->rect().contains(l->geometry())) << l->Caption().toStdString();
  }

  // Each frame's title, drawn on its border, stays inside the frame.
  for (const QWidget* w : boxes) {
    const auto* frame = qobject_cast<const platform::Frame*>(w);
    if (!frame) continue;
    const int needed = 6 + 4 + QFontMetrics(frame->font()).horizontalAdvance(frame->title());
    EXPECT_LE(needed, frame->width()) << frame->title().toStdString();
  }

  // An option button's circle and caption fit its width.
  const int indicator = d.style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) +
                        d.style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing);
  for (int i = 0; i < 2; ++i)
    for (platform::OptionButton* b : {&d.Option1(i), &d.Option2(i), &d.Option3(i), &d.Option4(i)}) {
      EXPECT_LE(indicator + QFontMetrics(b->font()).horizontalAdvance(b->text()), b->width())
          << b->text().toStdString();
      EXPECT_TRUE(b->parentWidget()->rect().contains(b->geometry()));
    }

  // The widest depth fits the combo box's text field.
  EXPECT_LE(QFontMetrics(d.Combo1->font()).horizontalAdvance("10"), d.Combo1->lineEdit()->width());
}

// The dialog opens with the focus on an option button, and the player sees
// where it is before moving it by the keyboard.
TEST_F(OptionsDialog, TheFocusedButtonIsDrawnWithAFocusFrame) {
  Form2& d = platform::Load<Form2>();
  d.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
  EXPECT_TRUE(ShowsItsFocus(&d.Option1(0), d.Command1));
  EXPECT_TRUE(ShowsItsFocus(d.Command1, &d.Option1(0)));
}

// The focus enters a row of option buttons on the button that is on, as the
// dialog opens and by Tab or Backtab from outside the row, so that a stray
// Space changes no setting; within a row it goes where it is sent.
TEST_F(OptionsDialog, TheFocusEntersEachRowOfOptionButtonsOnTheButtonThatIsOn) {
  // Full auto on, choose the number, no secretary, the eyes.
  StartWith(SettingsFile({" 1", " 0", " 2", " 2", " 0", " 1"}));
  Form2& d = Shown();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
  EXPECT_EQ(QApplication::focusWidget(), &d.Option1(1));
  QTest::keyClick(d.windowHandle(), Qt::Key_Space);
  EXPECT_EQ(FullAuto, 1);

  const std::pair<Qt::Key, QWidget*> steps[] = {
      {Qt::Key_Tab, &d.Option2(1)},     {Qt::Key_Tab, d.Slider1},
      {Qt::Key_Tab, d.Combo1},          {Qt::Key_Tab, &d.Option3(0)},
      {Qt::Key_Tab, &d.Option3(1)},     {Qt::Key_Tab, &d.Option4(1)},
      {Qt::Key_Tab, d.Command1},        {Qt::Key_Tab, &d.Option1(1)},
      {Qt::Key_Backtab, &d.Option1(0)}, {Qt::Key_Backtab, d.Command1},
      {Qt::Key_Backtab, &d.Option4(1)}, {Qt::Key_Backtab, &d.Option4(0)},
      {Qt::Key_Backtab, &d.Option3(0)}};
  for (size_t i = 0; i < std::size(steps); ++i) {
    QTest::keyClick(d.windowHandle(), steps[i].first);
    EXPECT_EQ(QApplication::focusWidget(), steps[i].second) << "step " << i;
  }
}

TEST_F(OptionsDialog, TheDialogIsCentredOnTheMainWindow) {
  StartWith(DefaultCfgBytes());
  form->show();
  Form2& dialog = Shown();
  const QPoint offset = dialog.frameGeometry().center() - form->frameGeometry().center();
  // Within the rounding of halving odd sizes.
  EXPECT_LE(std::abs(offset.x()), 2);
  EXPECT_LE(std::abs(offset.y()), 2);
}

}  // namespace
