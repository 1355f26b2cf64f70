#include "settings_records/form2.h"

#include "card_table/form1.h"
#include "platform/vb.h"
#include "platform/widgets.h"
#include "settings_records/module1.h"

namespace tarnvole {

namespace {

// The value each option button of a row stands for, by Index.
constexpr std::array<Long, 2> FullAutoOfChoice = {0, 1};
constexpr std::array<Long, 2> SkipCountChoiceOfChoice = {1, 0};
constexpr std::array<Long, 2> SecretaryOnOfChoice = {0, 1};
constexpr std::array<Long, 2> EyesOnOfChoice = {0, 1};

const QColor TitleRed = platform::VbColor(0x000000FF);
const QColor ExplanationBlue = platform::VbColor(0x00FF0000);

// The labels were laid out for the fonts the window was designed with; the
// installed fonts may need a little less to fit the same boxes, down to this.
constexpr double SmallestLabelPoints = 7.5;

const QString DialogFont = QStringLiteral("ＭＳ Ｐゴシック");

// The choice of a row that stands for the stored value; -1 (no choice) for a
// value that none of them stands for.
int ChoiceOf(const std::array<Long, 2>& valueOfChoice, Long value) {
  if (value == valueOfChoice[0]) return 0;
  if (value == valueOfChoice[1]) return 1;
  return -1;
}

}  // namespace

Form2::Form2() { CreateControls(); }

void Form2::CreateControls() {
  setCaption(QStringLiteral("オプション"));
  setFont(platform::VbFont(DialogFont, 9));
  setClientSize(6750, 6585);
  setCenterOnOwner(true);

  CreateChoiceRows();
  CreateExplanations();
  for (platform::DialogLabel* label : {Label1, Label2, Label3, Label4, Label5, Label6, Label7, Label8})
    label->ShrinkFontToFit(SmallestLabelPoints);

  Command1 = new platform::CommandButton(this, QStringLiteral("これでいい！"));
  Command1->setFont(platform::VbFont(DialogFont, 18, true));
  platform::Place(Command1, 210, 5985, 6315, 480);
  Command1->Click = [this] { Command1_Click(); };
}

// The frames on the left of each row with their choices.
void Form2::CreateChoiceRows() {
  Frame1 = NewFrame(QStringLiteral("完全オートに"), 210, 105, 1275, 1065);
  NewOptionPair(option1_, Frame1, QStringLiteral("しない"), QStringLiteral("する"),
                &Form2::Option1_Click);
  platform::Place(option1_[0], 210, 315, 855, 180);
  platform::Place(option1_[1], 210, 675, 855, 180);

  Frame4 = NewFrame(QStringLiteral("移動数を選択"), 210, 1260, 1275, 1065);
  NewOptionPair(option2_, Frame4, QStringLiteral("しない"), QStringLiteral("する"),
                &Form2::Option2_Click);
  platform::Place(option2_[0], 210, 315, 855, 225);
  platform::Place(option2_[1], 210, 690, 855, 225);

  Frame3 = NewFrame(QStringLiteral("強さ（カードの置き方）"), 210, 2415, 2325, 1215);
  Slider1 = new platform::Slider(Frame3, 1, 2);
  platform::Place(Slider1, 525, 420, 1485, 330);
  Slider1->Change = [this] { Slider1_Change(); };
  Label2 = new platform::DialogLabel(Frame3, QStringLiteral("　やさしい　　　　　通常"));
  platform::Place(Label2, 315, 840, 1800, 225);

  Frame7 = NewFrame(QStringLiteral("アンドゥの回数"), 210, 3720, 2325, 855);
  Combo1 = new platform::ComboBox(Frame7);
  Combo1->setFont(platform::VbFont(DialogFont, 12, true));
  platform::Place(Combo1, 210, 315, 750, 360);
  for (const char* depth : {"1", "2", "3", "5", "7", "10"}) Combo1->AddItem(QString::fromLatin1(depth));
  Combo1->setText(QStringLiteral("3"));  // the design text, before the handlers listen
  Combo1->Click = [this] { Combo1_Click(); };
  Combo1->Change = [this] { Combo1_Change(); };
  Label5 = new platform::DialogLabel(Frame7, QStringLiteral("回分記憶する"));
  platform::Place(Label5, 1050, 420, 1170, 225);

  Frame9 = NewFrame(QStringLiteral("秘書なんか"), 210, 4680, 1380, 1065);
  NewOptionPair(option3_, Frame9, QStringLiteral("いらねぇ！"), QStringLiteral("いてっ！"),
                &Form2::Option3_Click);
  platform::Place(option3_[0], 105, 315, 1170, 225);
  platform::Place(option3_[1], 105, 690, 1170, 225);

  Frame11 = NewFrame(QStringLiteral("目なんか"), 4305, 4680, 1380, 1065);
  NewOptionPair(option4_, Frame11, QStringLiteral("いらねぇ！"), QStringLiteral("いてっ！"),
                &Form2::Option4_Click);
  platform::Place(option4_[0], 105, 315, 1170, 180);
  platform::Place(option4_[1], 105, 720, 1065, 180);
}

// The frames on the right of each row, red titles over blue explanations.
void Form2::CreateExplanations() {
  Frame2 = NewExplanationFrame(QStringLiteral("完全オートとは・・・"), 1575, 105, 4950, 1065);
  Label1 = NewExplanation(
      Frame2,
      QStringLiteral("ホームセルに置く事が出きるカードは無条件に置いてしまう動作。"
                     "移動できるかを考える必要がなく便利な反面，わざと残してフリーセルの空きを"
                     "利用するなどといった作戦を立てることが出来ない。"
                     "どちらかというと動作を把握したい初心者向け。"),
      210, 210, 4635, 750);

  Frame5 = NewExplanationFrame(QStringLiteral("移動数の選択とは・・・"), 1575, 1260, 4950, 1065);
  Label3 = NewExplanation(
      Frame5,
      QStringLiteral("カード置き場の列が空いたとき，その列に移動する際の枚数を選択するか否か。"
                     "選択しないと無条件で移動出来る枚数分を移動する。"
                     "通常は無条件移動がメインだが，一部を残してフリーセルを利用するなどといった"
                     "作戦を立てることが出来ない。"),
      105, 210, 4740, 750);

  Frame6 = NewExplanationFrame(QStringLiteral("強さとは・・・"), 2625, 2415, 3900, 1215);
  Label4 = NewExplanation(
      Frame6,
      QStringLiteral("カードの配列の組方。通常は完全なランダム配列で中には極めてまれに物理的に"
                     "不可能な配列も含まれる。その初期配列にちょっと手を加えて小さい数字を前面に"
                     "出やすくする機能。動作を把握したい初心者には絶好のオプションかも !?"),
      105, 210, 3690, 975);

  Frame8 = NewExplanationFrame(QStringLiteral("アンドゥとは・・・"), 2625, 3720, 3900, 855);
  Label6 = NewExplanation(
      Frame8,
      QStringLiteral("直前に行った移動を元に戻す事。誤操作した時や失敗に気付いたときに戻せる"
                     "操作の回数をここで決める。余り多くすると緊張感が無くなる !?"),
      105, 210, 3690, 540);

  Frame10 = NewExplanationFrame(QStringLiteral("秘書とは・・・"), 1680, 4680, 2430, 1065);
  Label7 = NewExplanation(
      Frame10,
      QStringLiteral("ほらほら！そんなに夢中になっていると・・・ってな訳で１０分経過後は"
                     "ゲームの最初に経過時間を教えてくれるぞ！"),
      105, 210, 2220, 750);

  Frame12 = NewExplanationFrame(QStringLiteral("目とは"), 5775, 4680, 750, 1065);
  Label8 = NewExplanation(Frame12, QStringLiteral("目です・・・・・眼です・・・・・"), 105, 210,
                          540, 750);
  // Three characters to a line: the dots must be free to start one.
  Label8->setBreakAnywhere(true);
}

platform::Frame* Form2::NewFrame(const QString& caption, int left, int top, int width,
                                 int height) {
  auto* frame = new platform::Frame(this, caption);
  frame->setTitleOnBorder(true);
  platform::Place(frame, left, top, width, height);
  return frame;
}

platform::Frame* Form2::NewExplanationFrame(const QString& caption, int left, int top, int width,
                                            int height) {
  platform::Frame* frame = NewFrame(caption, left, top, width, height);
  platform::SetForeColor(frame, TitleRed);
  return frame;
}

platform::DialogLabel* Form2::NewExplanation(platform::Frame* frame, const QString& caption,
                                             int left, int top, int width, int height) {
  auto* label = new platform::DialogLabel(frame, caption);
  platform::SetForeColor(label, ExplanationBlue);
  platform::Place(label, left, top, width, height);
  return label;
}

void Form2::NewOptionPair(OptionPair& pair, platform::Frame* frame, const QString& caption0,
                          const QString& caption1, void (Form2::*handler)(int)) {
  pair[0] = new platform::OptionButton(frame, caption0, 0);
  pair[1] = new platform::OptionButton(frame, caption1, 1);
  for (platform::OptionButton* button : pair)
    button->Click = [this, handler](int index) { (this->*handler)(index); };
}

bool Form2::SwitchRow(const OptionPair& pair, int Index) {
  if (Index != 0 && Index != 1) return false;
  pair[0]->setValue(Index == 0);
  pair[1]->setValue(Index == 1);
  return true;
}

void Form2::Form_Load() {
  SwitchRow(option1_, ChoiceOf(FullAutoOfChoice, FullAuto));
  SwitchRow(option2_, ChoiceOf(SkipCountChoiceOfChoice, SkipCountChoice));
  Combo1->setText(platform::PlainText(static_cast<std::int64_t>(MaxUndoLevel) + 1));
  Slider1->setValue(DealStrength);
  SwitchRow(option3_, ChoiceOf(SecretaryOnOfChoice, SecretaryOn));
  SwitchRow(option4_, ChoiceOf(EyesOnOfChoice, EyesOn));
}

void Form2::Option1_Click(int Index) {
  if (!SwitchRow(option1_, Index)) return;
  FullAuto = FullAutoOfChoice[static_cast<size_t>(Index)];
}

void Form2::Option2_Click(int Index) {
  if (!SwitchRow(option2_, Index)) return;
  SkipCountChoice = SkipCountChoiceOfChoice[static_cast<size_t>(Index)];
}

void Form2::Option3_Click(int Index) {
  if (!SwitchRow(option3_, Index)) return;
  SecretaryOn = SecretaryOnOfChoice[static_cast<size_t>(Index)];
}

void Form2::Option4_Click(int Index) {
  if (!SwitchRow(option4_, Index)) return;
  EyesOn = EyesOnOfChoice[static_cast<size_t>(Index)];
  // The dialog may outlive the main window at the end of the program.
  if (Form1* main = TheForm1()) main->Image4.setVisible(Index == 1);
}

void Form2::Combo1_Click() {
  MaxUndoLevel = platform::CLng(platform::Val(Combo1->Text()) - 1);
}

// Only a pick from the list changes the depth: typing is put straight back.
// Writing the text raises Change once more, which finds it unchanged.
void Form2::Combo1_Change() {
  Combo1->setText(platform::PlainText(static_cast<std::int64_t>(MaxUndoLevel) + 1));
}

void Form2::Slider1_Change() {
  DealStrength = Slider1->Value();
  if (DealStrength == 0) DealStrength = 1;
}

void Form2::Command1_Click() {
  CfgText[0] = NumberText(FullAuto);
  CfgText[1] = NumberText(SkipCountChoice);
  CfgText[2] = NumberText(MaxUndoLevel);
  CfgText[3] = NumberText(DealStrength);
  CfgText[4] = NumberText(SecretaryOn);
  CfgText[5] = NumberText(EyesOn);
  // A file that cannot be written costs the player the saved settings, not
  // the game: they are told, and the settings stay in effect for this run.
  GuardFileAccess([] { WriteStagedRecords(1, 6, -1); }, true);
  platform::Unload<Form2>();
}

}  // namespace tarnvole
