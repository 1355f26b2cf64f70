#include "settings_records/module1.h"

#include <QStringList>
#include <bitset>

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

// The records whose values in memory did not reach the file because their
// last write failed: memory is ahead of the file there.
std::bitset<CfgRecordCount + 1> recordsAheadOfFile;

void SetAheadOfFile(int first, int last, bool ahead) {
  for (int n = first; n <= last; ++n) recordsAheadOfFile[n] = ahead;
}

bool AnyAheadOfFile(int first, int last) {
  for (int n = first; n <= last; ++n)
    if (recordsAheadOfFile[n]) return true;
  return false;
}

// While a booking holds the file's lock, the file problems it meets are
// kept here and shown after the lock is released, so that no other copy
// waits on a message box.
struct HeldProblems {
  QStringList messages;
  bool writeFailed = false;
};
HeldProblems* heldProblems = nullptr;

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
  SetAheadOfFile(first, last, false);
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

// Records 7 to 22 from the file, unless memory is ahead of it. A file that
// cannot be read, or a record that does not convert, leaves every value as
// it was in memory.
void ReadRecords7To22UnlessAhead() {
  if (AnyAheadOfFile(7, 22)) return;
  const RecordValues before = ValuesOf(7, 22);
  try {
    ReadRecords7To22();
  } catch (const VbError& e) {
    if (e.Number() != platform::ErrFileAccess && e.Number() != platform::ErrTypeMismatch &&
        e.Number() != platform::ErrOverflow)
      throw;
    PutBack(before, 7, 22);
  }
}

}  // namespace

void ReadAllRecords() { ReadRecords(1, CfgRecordCount); }

void ReadRecords7To22() { ReadRecords(7, 22); }

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

void BookRecordsAfresh(int firstRecord, int lastRecord, const std::function<void()>& bookAndWrite) {
  HeldProblems problems;
  {
    platform::RecordFileLock lock(CfgFileName);
    // Without the lock another copy could write between the read and the
    // write; the booking then goes on from memory and its write is refused.
    if (!lock.Refused()) ReadRecords7To22UnlessAhead();
    HeldProblems* const outer = heldProblems;
    heldProblems = &problems;
    try {
      bookAndWrite();
    } catch (...) {
      heldProblems = outer;
      throw;
    }
    heldProblems = outer;
  }
  SetAheadOfFile(firstRecord, lastRecord, problems.writeFailed);
  for (const QString& message : problems.messages) platform::MsgBox(message, platform::vbOKOnly);
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
    if (heldProblems) {
      heldProblems->messages.append(text);
      heldProblems->writeFailed = heldProblems->writeFailed || writing;
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
  recordsAheadOfFile.reset();
}

}  // namespace tarnvole
