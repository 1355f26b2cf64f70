#include "settings_records/form4.h"

#include <cmath>
#include <limits>

#include "platform/clock.h"
#include "platform/vb.h"
#include "platform/widgets.h"
#include "settings_records/module1.h"

namespace tarnvole {

namespace {

constexpr int ClientWidth = 4680;
constexpr int ClientHeight = 3195;

// The file keeps 32-bit counts; a count already at the top stays there
// rather than overflowing.
Long OneMore(Long count) {
  return count == std::numeric_limits<Long>::max() ? count : count + 1;
}

platform::DialogLabel* NewLabel(QWidget* parent, const QString& caption, int left, int top,
                                int width, int height) {
  auto* label = new platform::DialogLabel(parent, caption);
  platform::Place(label, left, top, width, height);
  return label;
}

}  // namespace

Form4::Form4() {
  setClientSize(ClientWidth, ClientHeight);
  setCaption(QStringLiteral("やったぁ～！！"));
  setCenterOnOwner(true);
  setFont(platform::VbFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));

  // Created in tab order.
  Command1 = new platform::CommandButton(this, QStringLiteral("確認"));
  platform::Place(Command1, 630, 2415, 3270, 540);
  Command1->Click = [this] { Command1_Click(); };

  Label1 = NewLabel(this, QStringLiteral("完成時間："), 525, 1260, 960, 225);
  Label1->setFont(platform::VbFont(QStringLiteral("ＭＳ ゴシック"), 9));
  Label2 = NewLabel(this, QStringLiteral("完成！"), 1260, 105, 2220, 750);
  Label2->setFont(platform::VbFont(QStringLiteral("ＭＳ Ｐゴシック"), 36, true));
  Label3 = NewLabel(this, QString(), 1575, 1260, 1695, 225);
  Label3->setBorder(true);
  Label4 = NewLabel(this, QStringLiteral("完成手数："), 525, 1680, 1065, 225);
  Label4->setFont(platform::VbFont(QStringLiteral("ＭＳ ゴシック"), 9));
  Label5 = NewLabel(this, QString(), 1575, 1680, 1695, 225);
  Label5->setBorder(true);
}

void Form4::Form_Load() {
  const std::int64_t seconds = platform::DateDiffSeconds(GameStart, platform::Now());
  ShowTimeAndMoves(seconds);
  // Booked on the records as the file holds them, so that a game ended in
  // another copy of the program since is not overwritten.
  // A file that cannot be written costs nothing yet: the player is told,
  // and the win is written with the next game end or at the quit.
  BookRecordsAfresh(GameEnd::Win(platform::Today(), seconds, MoveCount));
}

void Form4::ShowTimeAndMoves(std::int64_t seconds) {
  // Minutes taken downward, so that the remainder is always 0 to 59, also
  // for a clock set back during the game.
  const auto minutes = static_cast<std::int64_t>(std::floor(static_cast<double>(seconds) / 60));
  const std::int64_t remainder = seconds - minutes * 60;
  Label3->setCaption(QStringLiteral(" ") + platform::PlainText(minutes) + QStringLiteral("分") +
                     platform::PlainText(remainder) + QStringLiteral("秒"));
  Label5->setCaption(QStringLiteral(" ") + platform::PlainText(MoveCount) + QStringLiteral("手"));
}

void Form4::KeepTimeRecords(std::int64_t seconds, const VbDate& day) {
  // A time below zero (the clock was set back) or beyond what the file can
  // hold was not measured truly: the win counts, the time records do not.
  if (seconds < 0 || seconds > std::numeric_limits<Long>::max()) return;
  const auto time = static_cast<Long>(seconds);
  if (time < ShortestTime) {
    ShortestTime = time;
    ShortestTimeDate = day;
  }
  if (time > LongestTime) {
    LongestTime = time;
    LongestTimeDate = day;
  }
}

void Form4::KeepMoveRecords(Long moves, const VbDate& day) {
  if (moves < FewestMoves) {
    FewestMoves = moves;
    FewestMovesDate = day;
  }
  if (moves > MostMoves) {
    MostMoves = moves;
    MostMovesDate = day;
  }
}

void Form4::BookWin(const VbDate& day) {
  LossStreak = 0;
  Wins = OneMore(Wins);
  LastGameLost = 0;
  LastGameWon = 1;
  WinStreak = OneMore(WinStreak);
  // The best streak climbs one game at a time, so after the records dialog
  // has reset it during a running streak it starts again from one.
  if (WinStreak > BestWinStreak) {
    BestWinStreak = OneMore(BestWinStreak);
    BestWinStreakDate = day;
  }
}

void Form4::Command1_Click() { platform::Unload<Form4>(); }

}  // namespace tarnvole
