#include "settings_records/module1.h"

#include <QStringList>
#include <bitset>
#include <vector>

#include "platform/forms.h"
#include "platform/recordfile.h"
#include "platform/vb.h"

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

// A game end or records reset that has not reached the file yet.
struct Booking {
  int first = 0;
  int last = 0;
  std::function<void()> book;
  std::function<void()> stage;
};
std::vector<Booking> pendingBookings;
// The streaks kept in memory only, as they were before the first pending
// booking: booking the pending ones again starts from there.
Long winStreakBeforePending = 0;
Long lossStreakBeforePending = 0;

// After a read of records 7 to 22, memory holds the file's records plus
// this copy's results that have not reached it.
void BookPendingAgain() {
  if (pendingBookings.empty()) return;
  WinStreak = winStreakBeforePending;
  LossStreak = lossStreakBeforePending;
  for (const Booking& booking : pendingBookings) booking.book();
}

// While a booking holds the file's lock, the messages of the file problems
// it meets are kept here and shown after the lock is released, so that no
// other copy waits on a message box.
QStringList* heldMessages = nullptr;

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

// Writes the records of every pending booking, each staged in booking
// order; once they are in the file none is pending any more.
void WritePendingRecords() {
  std::bitset<CfgRecordCount + 1> records;
  for (const Booking& booking : pendingBookings) {
    booking.stage();
    for (int n = booking.first; n <= booking.last; ++n) records[n] = true;
  }
  const bool written = GuardFileAccess(
      [&records] {
        platform::RecordFile file(CfgFileName, CfgRecordLength);
        for (int n = 1; n <= CfgRecordCount; ++n) {
          if (!records[n]) continue;
          CfgRecord.Set(CfgText[n]);
          file.Put(n, CfgRecord.RecordText);
        }
        file.Close();
      },
      true);
  if (written) pendingBookings.clear();
}

// Runs `work` under the file's lock after records 7 to 22 were read afresh;
// the file problems it meets are shown once the lock is released, so that
// no other copy waits on a message box.
void UnderLockReadAfresh(const std::function<void()>& work) {
  QStringList messages;
  {
    platform::RecordFileLock lock(CfgFileName);
    // Without the lock another copy could write between the read and the
    // write: memory is used as it is, and the write is refused.
    if (!lock.Refused()) ReadRecords7To22OrKeepMemory();
    QStringList* const outer = heldMessages;
    heldMessages = &messages;
    try {
      work();
    } catch (...) {
      heldMessages = outer;
      throw;
    }
    heldMessages = outer;
  }
  for (const QString& message : messages) platform::MsgBox(message, platform::vbOKOnly);
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
  for (int n = first; n <= last; ++n) {
    const RecordSlot slot = Slot(n);
    CfgText[n] = slot.date ? DateRecordText(*slot.date) : NumberText(*slot.number);
  }
}

void WriteStagedRecords(int firstRecord, int lastRecord, int elementOffset) {
  platform::RecordFile file(CfgFileName, CfgRecordLength);
  for (int n = firstRecord; n <= lastRecord; ++n) {
    CfgRecord.Set(CfgText[n + elementOffset]);
    file.Put(n, CfgRecord.RecordText);
  }
  file.Close();
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

void BookRecordsAfresh(int firstRecord, int lastRecord, std::function<void()> book,
                       std::function<void()> stage) {
  UnderLockReadAfresh([&] {
    if (pendingBookings.empty()) {
      winStreakBeforePending = WinStreak;
      lossStreakBeforePending = LossStreak;
    }
    book();
    pendingBookings.push_back({firstRecord, lastRecord, std::move(book), std::move(stage)});
    WritePendingRecords();
  });
}

void WritePendingBookings() {
  if (pendingBookings.empty()) return;
  UnderLockReadAfresh(WritePendingRecords);
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

QString FileProblemMessage(bool writing) {
  const QString name = CfgFileName.isEmpty() ? QStringLiteral("tarnvole.cfg") : CfgFileName;
  return writing ? QStringLiteral("設定ファイル「%1」に書き込めませんでした。\r"
                                  "設定と成績はこのまま遊べますが、ファイルには残りません。")
                       .arg(name)
                 : QStringLiteral("設定ファイル「%1」を読み込めませんでした。\r"
                                  "初期値のまま続けます。")
                       .arg(name);
}

bool GuardFileAccess(const std::function<void()>& access, bool writing, const QString& message) {
  try {
    access();
    return true;
  } catch (const VbError& e) {
    if (e.Number() != platform::ErrFileAccess) throw;
    const QString text = message.isEmpty() ? FileProblemMessage(writing) : message;
    if (heldMessages) {
      heldMessages->append(text);
    } else {
      platform::MsgBox(text, platform::vbOKOnly);
    }
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
  pendingBookings.clear();
  winStreakBeforePending = lossStreakBeforePending = 0;
}

}  // namespace tarnvole
