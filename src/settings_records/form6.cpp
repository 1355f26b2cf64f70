#include "settings_records/form6.h"

#include <cmath>
#include <cstdint>

#include "platform/clock.h"
#include "platform/vb.h"
#include "platform/widgets.h"
#include "settings_records/module1.h"

namespace tarnvole {

namespace {

constexpr int ClientWidth = 5100;
constexpr int ClientHeight = 3480;

// The rows, top to bottom; every row is the same height.
constexpr int RowHeight = 225;
constexpr int GamesTop = 420;
constexpr int WinStreakTop = 735;
constexpr int LossStreakTop = 1050;
constexpr int ShortestTimeTop = 1365;
constexpr int LongestTimeTop = 1680;
constexpr int FewestMovesTop = 1995;
constexpr int MostMovesTop = 2310;

// The columns.
constexpr int TitleLeft = 210;
constexpr int TitleWidth = 1275;
constexpr int ColonLeft = 1335;
constexpr int ColonWidth = 120;
constexpr int ValueLeft = 1575;
constexpr int ValueWidth = 2745;
constexpr int GamesWidth = 1485;
constexpr int RateTitleLeft = 3150;
constexpr int RateTitleWidth = 540;
constexpr int RateLeft = 3675;
constexpr int RateWidth = 645;
constexpr int ResetLeft = 4410;
constexpr int ResetWidth = 540;

constexpr unsigned GamesColor = 0x000000FF;
constexpr unsigned ValueColor = 0x00FF0000;
constexpr unsigned LastGameColor = 0xFF00FF;
constexpr unsigned TitleColor = 0x000000;

const QString DialogFont = QStringLiteral("ＭＳ Ｐゴシック");
constexpr double DialogPoints = 9;
// The value boxes hold counts of a few digits; a longer caption gets a
// smaller font, down to this, rather than losing its end.
constexpr double SmallestValuePoints = 7.5;
const QString TitleFont = QStringLiteral("ＭＳ ゴシック");

const QString NoRate = QStringLiteral("  ---");
const QString NoStreak = QStringLiteral("   ----------");

QString Number(std::int64_t n) { return platform::PlainText(n); }

QString WinRateText() {
  const double games = static_cast<double>(Wins) + Losses;
  // Counts edited by hand may cancel out to no games at all: no rate either.
  if (games == 0) return NoRate;
  // Multiplied before dividing, so that a whole percentage stays whole
  // (29 of 100 divided first comes to 28.999...).
  const double rate = std::floor(static_cast<double>(Wins) * 100 / games);
  return QStringLiteral("  ") + Number(static_cast<std::int64_t>(rate)) + QStringLiteral(" %");
}

QString StreakText(Long best, const QString& streakWord, const VbDate& date) {
  if (best < 2) return NoStreak;
  return QStringLiteral("   ") + Number(best) + streakWord + DateRecordText(date) +
         QStringLiteral(" )");
}

QString TimeText(Long seconds, const VbDate& date) {
  const auto minutes = static_cast<std::int64_t>(std::floor(static_cast<double>(seconds) / 60));
  const std::int64_t rest = seconds - minutes * 60;
  return QStringLiteral("   ") + Number(minutes) + QStringLiteral(" 分 ") + Number(rest) +
         QStringLiteral(" 秒 ( ") + DateRecordText(date) + QStringLiteral(" )");
}

QString MovesText(Long moves, const VbDate& date) {
  return QStringLiteral("   ") + Number(moves) + QStringLiteral(" 手 ( ") + DateRecordText(date) +
         QStringLiteral(" )");
}

QColor StreakTitleColor(Long lastGameFlag) {
  return platform::VbColor(lastGameFlag == 1 ? LastGameColor : TitleColor);
}

QString KeptRecordsNote() { return QStringLiteral("\rこれまでの成績をそのまま表示します。"); }

QString UnreadableFileMessage() {
  return QStringLiteral("設定ファイル「%1」を読み込めませんでした。").arg(CfgFileName) +
         KeptRecordsNote();
}

QString DamagedRecordsMessage() {
  return QStringLiteral("設定ファイル「%1」の成績の記録が壊れています。").arg(CfgFileName) +
         KeptRecordsNote();
}

}  // namespace

Form6::Form6() {
  setClientSize(ClientWidth, ClientHeight);
  setCaption(QStringLiteral("成績表"));
  setCenterOnOwner(true);
  setFont(platform::VbFont(DialogFont, DialogPoints));

  CreateTitles();
  CreateValues();
  CreateButtons();
}

void Form6::CreateTitles() {
  Label1 = NewTitle(QStringLiteral("対戦成績　　："), TitleLeft, GamesTop, TitleWidth);
  label4_[0] = NewTitle(QStringLiteral("連勝記録"), TitleLeft, WinStreakTop, 825);
  label14_[0] = NewTitle(QStringLiteral("："), ColonLeft, WinStreakTop, ColonWidth);
  label4_[1] = NewTitle(QStringLiteral("連敗記録"), TitleLeft, LossStreakTop, 795);
  label14_[1] = NewTitle(QStringLiteral("："), ColonLeft, LossStreakTop, ColonWidth);
  label2_[1] = NewTitle(QStringLiteral("最短時間記録："), TitleLeft, ShortestTimeTop, TitleWidth);
  label2_[0] = NewTitle(QStringLiteral("最長時間記録："), TitleLeft, LongestTimeTop, TitleWidth);
  label3_[1] = NewTitle(QStringLiteral("最少手数記録："), TitleLeft, FewestMovesTop, TitleWidth);
  label3_[0] = NewTitle(QStringLiteral("最多手数記録："), TitleLeft, MostMovesTop, TitleWidth);
}

void Form6::CreateValues() {
  Label6 = NewValue(GamesColor, ValueLeft, GamesTop, GamesWidth);
  Label13 = new platform::DialogLabel(this, QStringLiteral("勝率："));
  platform::Place(Label13, RateTitleLeft, GamesTop, RateTitleWidth, RowHeight);
  Label7 = NewValue(GamesColor, RateLeft, GamesTop, RateWidth);
  Label8 = NewValue(ValueColor, ValueLeft, WinStreakTop, ValueWidth);
  Label9 = NewValue(ValueColor, ValueLeft, LossStreakTop, ValueWidth);
  Label10 = NewValue(ValueColor, ValueLeft, ShortestTimeTop, ValueWidth);
  Label5 = NewValue(ValueColor, ValueLeft, LongestTimeTop, ValueWidth);
  Label11 = NewValue(ValueColor, ValueLeft, FewestMovesTop, ValueWidth);
  Label12 = NewValue(ValueColor, ValueLeft, MostMovesTop, ValueWidth);
}

void Form6::CreateButtons() {
  Command1 = NewResetButton(GamesTop, &Form6::Command1_Click);
  Command2 = NewResetButton(WinStreakTop, &Form6::Command2_Click);
  Command3 = NewResetButton(LossStreakTop, &Form6::Command3_Click);
  Command4 = NewResetButton(ShortestTimeTop, &Form6::Command4_Click);
  Command5 = NewResetButton(LongestTimeTop, &Form6::Command5_Click);
  Command7 = NewResetButton(FewestMovesTop, &Form6::Command7_Click);
  Command8 = NewResetButton(MostMovesTop, &Form6::Command8_Click);

  Command6 = new platform::CommandButton(this, QStringLiteral("Ｏ　　　Ｋ"));
  platform::Place(Command6, 210, 2835, 4740, 540);
  Command6->Click = [this] { Command6_Click(); };
  // The dialog opens on the harmless button: a key press closes it rather
  // than resetting a record.
  Command6->setFocus();
}

platform::DialogLabel* Form6::NewTitle(const QString& caption, int left, int top, int width) {
  auto* label = new platform::DialogLabel(this, caption);
  label->setFont(platform::VbFont(TitleFont, 9));
  platform::Place(label, left, top, width, RowHeight);
  return label;
}

platform::DialogLabel* Form6::NewValue(unsigned foreColor, int left, int top, int width) {
  auto* label = new platform::DialogLabel(this, QString());
  label->setBorder(true);
  platform::SetForeColor(label, platform::VbColor(foreColor));
  platform::Place(label, left, top, width, RowHeight);
  return label;
}

platform::CommandButton* Form6::NewResetButton(int top, void (Form6::*handler)()) {
  auto* button = new platform::CommandButton(this, QStringLiteral("ｸﾘｱ"));
  platform::Place(button, ResetLeft, top, ResetWidth, RowHeight);
  button->Click = [this, handler] { (this->*handler)(); };
  return button;
}

// The shortest time and the fewest moves go back to values any won game
// beats, everything else to 0.
Long Form6::ResetValue(int record) {
  if (record == 15) return 3600;
  if (record == 19) return 999;
  return 0;
}

void Form6::Form_Load() { LoadAndShowRecords(); }

void Form6::LoadAndShowRecords() {
  ReadRecordsAgain();
  ShowRecords();
}

// Records 7 to 22 from the file into the variables. A file that cannot be
// read, or that holds a record that no longer converts, changes none of
// them: the player is told and the dialog shows what the program had.
void Form6::ReadRecordsAgain() {
  try {
    GuardFileAccess(ReadRecords7To22, false, UnreadableFileMessage());
  } catch (const platform::VbError& e) {
    if (e.Number() != platform::ErrTypeMismatch && e.Number() != platform::ErrOverflow) throw;
    platform::MsgBox(DamagedRecordsMessage(), platform::vbOKOnly);
  }
}

void Form6::ShowRecords() {
  ShowValue(Label6, QStringLiteral("   ") + Number(Wins) + QStringLiteral(" 勝 ") + Number(Losses) +
                        QStringLiteral(" 敗"));
  ShowValue(Label7, WinRateText());
  platform::SetForeColor(&Label4(0), StreakTitleColor(LastGameWon));
  ShowValue(Label8, StreakText(BestWinStreak, QStringLiteral(" 連勝 ( "), BestWinStreakDate));
  platform::SetForeColor(&Label4(1), StreakTitleColor(LastGameLost));
  ShowValue(Label9, StreakText(BestLossStreak, QStringLiteral(" 連敗 ( "), BestLossStreakDate));
  ShowValue(Label10, TimeText(ShortestTime, ShortestTimeDate));
  ShowValue(Label5, TimeText(LongestTime, LongestTimeDate));
  ShowValue(Label11, MovesText(FewestMoves, FewestMovesDate));
  ShowValue(Label12, MovesText(MostMoves, MostMovesDate));
}

void Form6::ShowValue(platform::DialogLabel* label, const QString& caption) {
  label->setFont(platform::VbFont(DialogFont, DialogPoints));
  label->setCaption(caption);
  label->ShrinkFontToFit(SmallestValuePoints);
}

// Writes the reset values of records firstRecord..lastRecord at once, with
// no question asked, then shows everything as the file now holds it (with
// this copy's results that still wait to be written).
void Form6::ResetRecords(int firstRecord, int lastRecord) {
  // Under the file's lock, like a game end in another copy of the program.
  BookRecordsAfresh(GameEnd::RecordsReset(firstRecord, lastRecord));
  LoadAndShowRecords();
}

void Form6::Command1_Click() { ResetRecords(7, 8); }

// The best win streak and its date, and the last-game flag that would turn
// the title magenta.
void Form6::Command2_Click() { ResetRecords(9, 11); }

void Form6::Command3_Click() { ResetRecords(12, 14); }

void Form6::Command4_Click() { ResetRecords(15, 16); }

void Form6::Command5_Click() { ResetRecords(17, 18); }

void Form6::Command6_Click() { platform::Unload<Form6>(); }

void Form6::Command7_Click() { ResetRecords(19, 20); }

void Form6::Command8_Click() { ResetRecords(21, 22); }

}  // namespace tarnvole
