#include "settings_records/module1.h"

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
    platform::MsgBox(message.isEmpty() ? FileProblemMessage(writing) : message, platform::vbOKOnly);
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
}

}  // namespace tarnvole
