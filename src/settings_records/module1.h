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
#include <optional>

#include "platform/clock.h"
#include "platform/recordfile.h"

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
// The texts of the records one write puts, element n for record n; records
// without a text are not put.
using RecordTexts = std::array<std::optional<QString>, CfgRecordCount + 1>;
// Writes the records that have a text, in ascending order, each left-
// justified, blank-padded and cut to 8 characters. A file that is made by
// this write, or that holds fewer than 26 records (its first write failed,
// say), gets every other record from the values in memory as well, so that
// it never holds a blank record that would read as a damaged file.
void WriteRecords(const RecordTexts& texts, int lockWaitMs = platform::DefaultLockWaitMs);
// Writes CfgText[firstRecord + offset .. lastRecord + offset] as records
// firstRecord .. lastRecord, in ascending order.
void WriteStagedRecords(int firstRecord, int lastRecord, int elementOffset);
// The default reset: the damaged-file message, then all 26 default texts.
void WriteDefaultRecords();
// The variables of records first..last take the values that the texts in
// CfgText[first..last] read as (the number rule, the date rule).
void TakeRecordTexts(int first, int last);

// A game end or a reset of the records dialog, as the values it was booked
// with, so that booking it again later gives the same records: a loss or a
// win keeps its day, a win its time and moves.
struct GameEnd {
  enum class Kind { Loss, Win, RecordsReset };
  Kind kind = Kind::Loss;
  VbDate day;                // the day it happened
  std::int64_t seconds = 0;  // a win's time
  Long moves = 0;            // a win's moves
  int firstRecord = 0;       // the records it writes
  int lastRecord = 0;

  static GameEnd Loss(const VbDate& day) { return {Kind::Loss, day, 0, 0, 8, 14}; }
  static GameEnd Win(const VbDate& day, std::int64_t seconds, Long moves) {
    return {Kind::Win, day, seconds, moves, 7, 22};
  }
  static GameEnd RecordsReset(int firstRecord, int lastRecord) {
    return {Kind::RecordsReset, VbDate(), 0, 0, firstRecord, lastRecord};
  }
};
// Books a game end on the record variables.
void ApplyGameEnd(const GameEnd& end);
// Stages the texts of the records the game end writes in CfgText.
void StageGameEnd(const GameEnd& end);

// Books a game end or records reset on the records as the file holds them
// now, so that copies of the program sharing the file add their results up
// instead of overwriting each other's. Under the file's lock, records 7 to
// 22 are read afresh into the variables (values in memory are kept when
// the file cannot be read or converted); the game ends of this copy that
// have not reached the file yet are booked again on them, in order, then
// this one; then the records of all of them are written. A game end that
// could not be written waits in this copy for the next one or the quit:
// the player is told when the write failed, not when another copy only
// kept the lock a little longer.
void BookRecordsAfresh(const GameEnd& end);
// The quit: writes the game ends still waiting, the way a booking does but
// waiting longer for the lock. Those that cannot be written even then are
// lost, and the player is told.
void WritePendingBookings();
// How long the quit waits for another copy's lock.
constexpr int QuitLockWaitMs = 10000;
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
// A write that failed: the file named, then what that means for the player.
QString WriteProblemMessage(const QString& consequence);
// A game end that could not be written now and waits for a later write.
QString ResultsWaitMessage();
// Game ends that could not be written at the quit.
QString ResultsLostMessage();

// Puts every variable back to its state before start-up (tests).
void ResetModule1ForTesting();

}  // namespace tarnvole
