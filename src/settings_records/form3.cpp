#include "settings_records/form3.h"

#include <limits>

#include "platform/clock.h"
#include "platform/widgets.h"
#include "settings_records/module1.h"

namespace tarnvole {

namespace {

constexpr int ClientWidth = 3930;
constexpr int ClientHeight = 2535;
constexpr unsigned Command1BackColor = 0x00FFFF00;

// The file keeps 32-bit counts; a count already at the top stays there
// rather than overflowing.
Long OneMore(Long count) {
  return count == std::numeric_limits<Long>::max() ? count : count + 1;
}

}  // namespace

Form3::Form3() {
  setClientSize(ClientWidth, ClientHeight);
  setCaption(QStringLiteral("や～い！"));
  setCenterOnOwner(true);
  setFont(platform::VbFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));

  // Created in tab order.
  Command1 = new platform::CommandButton(
      this, QStringLiteral(" 手詰りです！ 残念でしたぁ！   ここ押して！"));
  platform::Place(Command1, 105, 0, 3690, 1590);
  Command1->setFont(platform::VbFont(QStringLiteral("ＭＳ 明朝"), 21.75, true, true));
  Command1->setWordWrap(true);
  platform::SetBackColor(Command1, platform::VbColor(Command1BackColor));
  Command1->Click = [this] { Command1_Click(); };

  Command2 = new platform::CommandButton(this, QStringLiteral("失敗をジ～っと見つめ直したい！"));
  platform::Place(Command2, 105, 1995, 3690, 435);
  Command2->setFont(platform::VbFont(QStringLiteral("ＭＳ 明朝"), 9.75, true, true));
  Command2->Click = [this] { Command2_Click(); };

  Label1 = new platform::DialogLabel(this, QStringLiteral("又は"));
  platform::Place(Label1, 1575, 1680, 645, 225);
  Label1->setFont(platform::VbFont(QStringLiteral("ＭＳ ゴシック"), 12, true));
}

void Form3::Form_Load() {
  // A deal is lost once: shown again for a kept lost board, the dialog
  // books and writes nothing.
  if (LossBooked == 1) return;
  LossBooked = 1;
  // Booked on the records as the file holds them, so that a loss in another
  // copy of the program since is not overwritten.
  // A file that cannot be written costs nothing yet: the player is told,
  // and the loss is written with the next game end or at the quit.
  BookRecordsAfresh(GameEnd::Loss(platform::Today()));
}

void Form3::BookLoss(const VbDate& day) {
  Losses = OneMore(Losses);
  WinStreak = 0;
  LastGameWon = 0;
  LossStreak = OneMore(LossStreak);
  LastGameLost = 1;
  // The best streak climbs one game at a time, so after the records dialog
  // has reset it during a running streak it starts again from one.
  if (LossStreak > BestLossStreak) {
    BestLossStreak = OneMore(BestLossStreak);
    BestLossStreakDate = day;
  }
}

void Form3::Command1_Click() { platform::Unload<Form3>(); }

void Form3::Command2_Click() {
  KeepLostBoard = 1;
  platform::Unload<Form3>();
}

}  // namespace tarnvole
