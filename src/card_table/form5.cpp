#include "card_table/form5.h"

#include "platform/vb.h"
#include "platform/widgets.h"
#include "settings_records/module1.h"

namespace tarnvole {

namespace {

constexpr int ClientWidth = 4185;
constexpr int DefinedClientHeight = 3225;
constexpr int LoadedButtonsTop = 1000 + 300;  // below the move-all button, with a gap
constexpr int HeightBelowCancel = 1200;

QFont ChooserFont() { return platform::VbFont(QStringLiteral("ＭＳ Ｐゴシック"), 14.25, true); }

}  // namespace

Form5::Form5() {
  setClientSize(ClientWidth, DefinedClientHeight);
  setCaption(QStringLiteral("何枚移動する？"));
  setCenterOnOwner(true);
  setFont(ChooserFont());

  Label1 = new platform::DialogLabel(this, QString());
  platform::Place(Label1, 210, 210, 3855, 390);
  Label1->setFont(ChooserFont());

  AddCommand1(QStringLiteral("全　部　移　動　す　る"), QRect(100, 1000, 4000, 500));
  Command1(0).setFont(ChooserFont());
}

platform::CommandButton& Form5::AddCommand1(const QString& caption, const QRect& twips) {
  const int index = static_cast<int>(command1_.size());
  auto* button = new platform::CommandButton(this, caption);
  button->Click = [this, index] { Command1_Click(index); };
  platform::Place(button, twips.left(), twips.top(), twips.width(), twips.height());
  command1_.push_back(button);
  command1Twips_.push_back(twips);
  return *button;
}

// A new element of the button array takes element 0's place, size, font and
// caption, and stays hidden until the code shows it.
void Form5::LoadCommand1() {
  platform::CommandButton& button = AddCommand1(Command1(0).text(), Command1Twips(0));
  button.setFont(Command1(0).font());
  button.setVisible(false);
}

void Form5::setCommand1Top(int i, int top) {
  QRect& place = command1Twips_.at(static_cast<size_t>(i));
  place.moveTop(top);
  platform::Place(&Command1(i), place.left(), place.top(), place.width(), place.height());
}

// The window is given by its outer height; the client area is that less the
// title bar and borders of the usual frame.
void Form5::setHeight(int twips) {
  height_ = twips;
  setClientSize(ClientWidth, twips - platform::MainSurface::FrameHeight);
}

void Form5::Form_Load() {
  const Long n = CardsToMove;
  Label1->setCaption(platform::PlainText(n) + QStringLiteral("枚移動出来ます・・がっ！"));
  for (int i = 1; i <= n; ++i) {
    LoadCommand1();
    setCommand1Top(i, Command1Twips(0).height() * i + LoadedButtonsTop);
    Command1(i).setVisible(true);
    Command1(i).setText(i == n ? QStringLiteral("キ　ャ　ン　セ　ル")
                               : platform::PlainText(n - i) + QStringLiteral(" 枚 移 動 す る"));
  }
  setHeight(Command1Twips(static_cast<int>(n)).top() + HeightBelowCancel);
}

// The last button is the cancel button: it moves no card.
void Form5::Command1_Click(int Index) {
  if (Index == CardsToMove) MoveCancelled = 1;
  CardsToMove = CardsToMove - Index;
  platform::Unload<Form5>();
}

}  // namespace tarnvole
