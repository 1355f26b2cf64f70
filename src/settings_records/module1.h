// Module1: the project-wide variables shared by every window, and the
// settings/records file "tarnvole.cfg" that keeps them across runs.
//
// The file holds 26 records of 8 characters, record n at byte (n - 1) * 8:
//   1 FullAuto         2 SkipCountChoice   3 MaxUndoLevel     4 DealStrength
//   5 SecretaryOn      6 EyesOn            7 Wins             8 Losses
//   9 BestWinStreak   10 BestWinStreakDate 11 LastGameWon     12 BestLossStreak
//  13 BestLossStreakDate 14 LastGameLost   15 ShortestTime    16 ShortestTimeDate
//  17 LongestTime     18 LongestTimeDate  19 FewestMoves      20 FewestMovesDate
//  21 MostMoves       22 MostMovesDate    23 WindowTop        24 WindowLeft
//  25 WindowHeight    26 WindowWidth
// Numbers are written with a blank before a non-negative value (" 3600"),
// dates as "yy/MM/dd" (the zero date as "0:00:00"); every text is
// left-justified and blank-padded to 8 characters.
#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <functional>

#include "platform/clock.h"

namespace tarnvole {

using platform::VbDate;
using Long = std::int32_t;

constexpr int CfgRecordLength = 8;
constexpr int CfgRecordCount = 26;

// The record buffer of every file access: a text assigned to it is
// left-justified, blank-padded and cut to 8 characters.
struct CfgRecordType {
  QString RecordText = QString(CfgRecordLength, u' ');
  void Set(const QString& text);
};

inline QString CfgFileName;

// The six settings (records 1 to 6).
inline Long FullAuto = 0;
inline Long SkipCountChoice = 0;
inline Long MaxUndoLevel = 0;
inline Long DealStrength = 0;
inline Long SecretaryOn = 0;
inline Long EyesOn = 0;

// The sixteen record values (records 7 to 22).
inline Long Wins = 0;
inline Long Losses = 0;
inline Long BestWinStreak = 0;
inline VbDate BestWinStreakDate;
inline Long LastGameWon = 0;
inline Long BestLossStreak = 0;
inline VbDate BestLossStreakDate;
inline Long LastGameLost = 0;
inline Long ShortestTime = 0;
inline VbDate ShortestTimeDate;
inline Long LongestTime = 0;
inline VbDate LongestTimeDate;
inline Long FewestMoves = 0;
inline VbDate FewestMovesDate;
inline Long MostMoves = 0;
inline VbDate MostMovesDate;

// The window geometry (records 23 to 26), in twips.
inline Long WindowTop = 0;
inline Long WindowLeft = 0;
inline Long WindowHeight = 0;
inline Long WindowWidth = 0;

// Kept in memory only.
inline Long WinStreak = 0;
inline Long LossStreak = 0;
inline Long MoveCount = 0;
inline VbDate GameStart;
inline Long CardsToMove = 0;
inline Long MoveCancelled = 0;
inline Long KeepLostBoard = 0;
// 1 once the stalemate dialog has booked the loss of the deal on the table;
// a new deal sets it back to 0.
inline Long LossBooked = 0;

inline CfgRecordType CfgRecord;
inline std::array<QString, 27> CfgText;

// The default text of each record, 1 to 26 (index 0 unused).
extern const std::array<Long, 27> CfgDefaultValue;
// Whether record n holds a date.
bool IsDateRecord(int record);

// The number rule and the date rule: the text a value is written as.
QString NumberText(Long value);
QString DateRecordText(const VbDate& date);
// Reading back: the lenient number taken to the nearest 32-bit integer
// (VbError 6 outside the range), and the date (VbError 13 when it does not
// convert).
Long NumberFromText(const QString& text);
VbDate DateFromText(const QString& text);

// The full read of records 1 to 26 into the variables, converting in record
// order; a conversion that fails stops there and throws.
void ReadAllRecords();
// The re-read of records 7 to 22. When it fails, it throws having changed
// none of the variables.
void ReadRecords7To22();
// Stages the current value of records first..last in CfgText[first..last]
// (element n for record n), numbers by the number rule, dates by the date rule.
void StageRecordTexts(int first, int last);
// Writes CfgText[firstRecord + offset .. lastRecord + offset] as records
// firstRecord .. lastRecord, in ascending order.
void WriteStagedRecords(int firstRecord, int lastRecord, int elementOffset);
// The default reset: the damaged-file message, then all 26 default texts.
void WriteDefaultRecords();
// The variables of records first..last take the values that the texts in
// CfgText[first..last] read as (the number rule, the date rule).
void TakeRecordTexts(int first, int last);
// Books a game end or a records reset on the records as the file holds them
// now, so that copies of the program sharing the file add their results up
// instead of overwriting each other's. `book` changes the variables as the
// game end or reset does; `stage` stages the texts of records
// firstRecord..lastRecord (within 7 to 22). Both may run again later, so
// they capture values, never a window.
// Under the file's lock, records 7 to 22 are read afresh into the variables
// (values in memory are kept when the file cannot be read or converted); the
// bookings of this copy that have not reached the file yet are booked again
// on them, in order, then this one; then the records of all of them are
// written. A booking whose write fails, or whose lock cannot be had, waits
// in this copy for the next booking or the quit. A file problem met
// meanwhile is shown once the lock is released.
void BookRecordsAfresh(int firstRecord, int lastRecord, std::function<void()> book,
                       std::function<void()> stage);
// Writes the bookings still waiting, the way a booking does (the quit).
void WritePendingBookings();
// The 26 default values put straight into the variables (used when the file
// cannot be read at all).
void SetDefaultValues();

inline const QString DamagedFileMessage =
    QStringLiteral("データファイルが壊れています。初期値に戻します。");

// Runs one file access. When the file cannot be opened, read or written the
// player is told so in a message naming the file, and false is returned;
// the values in memory are kept and the program goes on. A caller whose
// situation the usual message does not describe gives its own.
bool GuardFileAccess(const std::function<void()>& access, bool writing,
                     const QString& message = QString());
QString FileProblemMessage(bool writing);

// Puts every variable back to its state before start-up (tests).
void ResetModule1ForTesting();

}  // namespace tarnvole
