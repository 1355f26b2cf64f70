#include "settings_records/module1.h"

#include <algorithm>
#include <vector>

#include "platform/forms.h"
#include "platform/recordfile.h"
#include "platform/vb.h"
#include "settings_records/form3.h"
#include "settings_records/form4.h"
#include "settings_records/form6.h"

namespace tarnvole {

using platform::VbError;

void CfgRecordType::Set(const QString& text) { RecordText = platform::FixedLength(text, CfgRecordLength); }

const std::array<Long, 27> CfgDefaultValue = {
    0,                    // unused
    0, 0, 2, 2, 1, 1,     // settings
    0, 0, 0, 0, 0, 0, 0, 0,  // wins .. last game lost
    3600, 0, 0, 0, 999, 0, 0, 0,
    1000, 1000, 7980, 9705};

bool IsDateRecord(int record) {
  return record == 10 || record == 13 || record == 16 || record == 18 || record == 20 ||
         record == 22;
}

QString NumberText(Long value) { return platform::Str(value); }

QString DateRecordText(const VbDate& date) { return platform::DateText(date); }

Long NumberFromText(const QString& text) { return platform::ValLng(text); }

VbDate DateFromText(const QString& text) { return platform::CDate(text); }

namespace {

// Where each record's value lives.
struct RecordSlot {
  Long* number = nullptr;
  VbDate* date = nullptr;
};

RecordSlot Slot(int record) {
  switch (record) {
    case 1: return {&FullAuto};
    case 2: return {&SkipCountChoice};
    case 3: return {&MaxUndoLevel};
    case 4: return {&DealStrength};
    case 5: return {&SecretaryOn};
    case 6: return {&EyesOn};
    case 7: return {&Wins};
    case 8: return {&Losses};
    case 9: return {&BestWinStreak};
    case 10: return {nullptr, &BestWinStreakDate};
    case 11: return {&LastGameWon};
    case 12: return {&BestLossStreak};
    case 13: return {nullptr, &BestLossStreakDate};
    case 14: return {&LastGameLost};
    case 15: return {&ShortestTime};
    case 16: return {nullptr, &ShortestTimeDate};
    case 17: return {&LongestTime};
    case 18: return {nullptr, &LongestTimeDate};
    case 19: return {&FewestMoves};
    case 20: return {nullptr, &FewestMovesDate};
    case 21: return {&MostMoves};
    case 22: return {nullptr, &MostMovesDate};
    case 23: return {&WindowTop};
    case 24: return {&WindowLeft};
    case 25: return {&WindowHeight};
    case 26: return {&WindowWidth};
    default: return {};
  }
}

// A game end that has not reached the file yet, with the streaks kept in
// memory only as they were before it: booking the waiting ones again
// starts from the first one's.
struct PendingGameEnd {
  GameEnd end;
  Long winStreakBefore = 0;
  Long lossStreakBefore = 0;
};
std::vector<PendingGameEnd> pendingGameEnds;

// After a read of records 7 to 22, memory holds the file's records plus
// this copy's results that have not reached it.
void BookPendingAgain() {
  if (pendingGameEnds.empty()) return;
  WinStreak = pendingGameEnds.front().winStreakBefore;
  LossStreak = pendingGameEnds.front().lossStreakBefore;
  for (const PendingGameEnd& pending : pendingGameEnds) ApplyGameEnd(pending.end);
}

// Reads records first..last into CfgText[n - 1], then converts them in order.
void ReadRecords(int first, int last) {
  platform::RecordFile file(CfgFileName, CfgRecordLength);
  for (int n = first; n <= last; ++n) {
    CfgRecord.RecordText = file.Get(n);
    CfgText[n - 1] = CfgRecord.RecordText;
  }
  file.Close();
  for (int n = first; n <= last; ++n) {
    const RecordSlot slot = Slot(n);
    if (slot.date)
      *slot.date = DateFromText(CfgText[n - 1]);
    else
      *slot.number = NumberFromText(CfgText[n - 1]);
  }
  if (first <= 7 && last >= 22) BookPendingAgain();
}

// The values of records first..last, to be put back when a read fails halfway.
struct RecordValues {
  std::array<Long, CfgRecordCount + 1> numbers{};
  std::array<VbDate, CfgRecordCount + 1> dates{};
};

RecordValues ValuesOf(int first, int last) {
  RecordValues values;
  for (int n = first; n <= last; ++n) {
    const RecordSlot slot = Slot(n);
    if (slot.date)
      values.dates[n] = *slot.date;
    else
      values.numbers[n] = *slot.number;
  }
  return values;
}

void PutBack(const RecordValues& values, int first, int last) {
  for (int n = first; n <= last; ++n) {
    const RecordSlot slot = Slot(n);
    if (slot.date)
      *slot.date = values.dates[n];
    else
      *slot.number = values.numbers[n];
  }
}

// Records 7 to 22 from the file. A file that cannot be read, or a record
// that does not convert, leaves every value as it was in memory.
void ReadRecords7To22OrKeepMemory() {
  try {
    ReadRecords7To22();
  } catch (const VbError& e) {
    if (e.Number() != platform::ErrFileAccess && e.Number() != platform::ErrTypeMismatch &&
        e.Number() != platform::ErrOverflow)
      throw;
  }
}

// The text of record n from the value in memory.
QString MemoryText(int record) {
  const RecordSlot slot = Slot(record);
  return slot.date ? DateRecordText(*slot.date) : NumberText(*slot.number);
}

enum class WriteOutcome { Written, LockRefused, WriteFailed };

// Under the file's lock: records 7 to 22 afresh with the waiting game ends
// booked again, then `end` (when there is one) booked and added to them;
// then the records of all of them, each staged in booking order, written in
// one write. Once they are in the file none waits any more.
WriteOutcome BookAndWritePending(const GameEnd* end, int lockWaitMs) {
  platform::RecordFileLock lock(CfgFileName, lockWaitMs);
  // Without the lock another copy could write between the read and the
  // write: memory is used as it is, and nothing is written.
  if (!lock.Refused()) ReadRecords7To22OrKeepMemory();
  if (end) {
    pendingGameEnds.push_back({*end, WinStreak, LossStreak});
    ApplyGameEnd(*end);
  }
  if (lock.Refused()) return WriteOutcome::LockRefused;
  RecordTexts texts;
  for (const PendingGameEnd& pending : pendingGameEnds) {
    StageGameEnd(pending.end);
    for (int n = pending.end.firstRecord; n <= pending.end.lastRecord; ++n) texts[n] = CfgText[n];
  }
  try {
    WriteRecords(texts, lockWaitMs);
  } catch (const VbError& e) {
    if (e.Number() != platform::ErrFileAccess) throw;
    return WriteOutcome::WriteFailed;
  }
  pendingGameEnds.clear();
  return WriteOutcome::Written;
}

}  // namespace

void ReadAllRecords() { ReadRecords(1, CfgRecordCount); }

void ReadRecords7To22() {
  const RecordValues before = ValuesOf(7, 22);
  try {
    ReadRecords(7, 22);
  } catch (...) {
    PutBack(before, 7, 22);
    throw;
  }
}

void StageRecordTexts(int first, int last) {
  for (int n = first; n <= last; ++n) CfgText[n] = MemoryText(n);
}

void WriteRecords(const RecordTexts& texts, int lockWaitMs) {
  if (std::none_of(texts.begin(), texts.end(), [](const auto& text) { return text.has_value(); }))
    return;
  platform::RecordFile file(CfgFileName, CfgRecordLength, lockWaitMs);
  for (int n = 1; n <= CfgRecordCount; ++n) {
    if (!texts[n]) continue;
    CfgRecord.Set(*texts[n]);
    file.Put(n, CfgRecord.RecordText);
  }
  if (file.RecordsHeld() < CfgRecordCount) {
    for (int n = 1; n <= CfgRecordCount; ++n) {
      if (texts[n]) continue;
      CfgRecord.Set(MemoryText(n));
      file.Put(n, CfgRecord.RecordText);
    }
  }
  file.Close();
}

void WriteStagedRecords(int firstRecord, int lastRecord, int elementOffset) {
  RecordTexts texts;
  for (int n = firstRecord; n <= lastRecord; ++n) texts[n] = CfgText[n + elementOffset];
  WriteRecords(texts);
}

void WriteDefaultRecords() {
  platform::MsgBox(DamagedFileMessage, platform::vbOKOnly);
  for (int n = 1; n <= CfgRecordCount; ++n) CfgText[n] = NumberText(CfgDefaultValue[n]);
  WriteStagedRecords(1, CfgRecordCount, 0);
}

void TakeRecordTexts(int first, int last) {
  for (int n = first; n <= last; ++n) {
    const RecordSlot slot = Slot(n);
    if (slot.date)
      *slot.date = DateFromText(CfgText[n]);
    else
      *slot.number = NumberFromText(CfgText[n]);
  }
}

void ApplyGameEnd(const GameEnd& end) {
  switch (end.kind) {
    case GameEnd::Kind::Loss:
      Form3::BookLoss(end.day);
      break;
    case GameEnd::Kind::Win:
      Form4::KeepTimeRecords(end.seconds, end.day);
      Form4::KeepMoveRecords(end.moves, end.day);
      Form4::BookWin(end.day);
      break;
    case GameEnd::Kind::RecordsReset:
      StageGameEnd(end);
      TakeRecordTexts(end.firstRecord, end.lastRecord);
      break;
  }
}

void StageGameEnd(const GameEnd& end) {
  if (end.kind == GameEnd::Kind::RecordsReset) {
    // The reset texts themselves (" 0", not the zero date's text).
    for (int n = end.firstRecord; n <= end.lastRecord; ++n)
      CfgText[n] = NumberText(Form6::ResetValue(n));
  } else {
    StageRecordTexts(end.firstRecord, end.lastRecord);
  }
}

void BookRecordsAfresh(const GameEnd& end) {
  if (BookAndWritePending(&end, platform::DefaultLockWaitMs) == WriteOutcome::WriteFailed)
    platform::MsgBox(ResultsWaitMessage(), platform::vbOKOnly);
}

void WritePendingBookings() {
  if (pendingGameEnds.empty()) return;
  if (BookAndWritePending(nullptr, QuitLockWaitMs) != WriteOutcome::Written)
    platform::MsgBox(ResultsLostMessage(), platform::vbOKOnly);
}

void SetDefaultValues() {
  for (int n = 1; n <= CfgRecordCount; ++n) {
    const RecordSlot slot = Slot(n);
    if (slot.date)
      *slot.date = VbDate();
    else
      *slot.number = CfgDefaultValue[n];
  }
}

namespace {
QString CfgFileNameForMessages() {
  return CfgFileName.isEmpty() ? QStringLiteral("tarnvole.cfg") : CfgFileName;
}
}  // namespace

QString FileProblemMessage(bool writing) {
  if (writing)
    return WriteProblemMessage(QStringLiteral("今の設定はこのまま使えますが、ファイルには残りません。"));
  return QStringLiteral("設定ファイル「%1」を読み込めませんでした。\r初期値のまま続けます。")
      .arg(CfgFileNameForMessages());
}

QString WriteProblemMessage(const QString& consequence) {
  return QStringLiteral("設定ファイル「%1」に書き込めませんでした。\r").arg(CfgFileNameForMessages()) +
         consequence;
}

QString ResultsWaitMessage() {
  return WriteProblemMessage(
      QStringLiteral("成績は次のゲームが終わったときか、終了するときに書き込みます。"));
}

QString ResultsLostMessage() {
  return WriteProblemMessage(QStringLiteral("まだ書き込めていない成績は保存されません。"));
}

bool GuardFileAccess(const std::function<void()>& access, bool writing, const QString& message) {
  try {
    access();
    return true;
  } catch (const VbError& e) {
    if (e.Number() != platform::ErrFileAccess) throw;
    const QString text = message.isEmpty() ? FileProblemMessage(writing) : message;
    platform::MsgBox(text, platform::vbOKOnly);
    return false;
  }
}

void ResetModule1ForTesting() {
  CfgFileName.clear();
  for (int n = 1; n <= CfgRecordCount; ++n) {
    const RecordSlot slot = Slot(n);
    if (slot.date)
      *slot.date = VbDate();
    else
      *slot.number = 0;
  }
  WinStreak = LossStreak = MoveCount = CardsToMove = MoveCancelled = KeepLostBoard = LossBooked = 0;
  GameStart = VbDate();
  CfgRecord = CfgRecordType();
  CfgText.fill(QString());
  pendingGameEnds.clear();
}

}  // namespace tarnvole
