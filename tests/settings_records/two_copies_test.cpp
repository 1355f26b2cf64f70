// Two copies of the game in one folder share one settings file: the game
// ends and records resets of both add up instead of overwriting each other.
// The two copies are simulated in this process by swapping what each keeps
// in memory.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <tuple>
#include <vector>

#include "card_table/form1.h"
#include "platform/forms.h"
#include "platform/widgets.h"
#include "settings_records/form2.h"
#include "settings_records/form3.h"
#include "settings_records/form4.h"
#include "settings_records/form6.h"
#include "settings_records/game_end_fixture.h"

using namespace tarnvole;
using namespace testing_support;
using namespace game_end_testing;

namespace {

// Everything one copy keeps in memory about the records.
auto Memory() {
  return std::tie(Wins, Losses, BestWinStreak, BestWinStreakDate, LastGameWon, BestLossStreak,
                  BestLossStreakDate, LastGameLost, ShortestTime, ShortestTimeDate, LongestTime,
                  LongestTimeDate, FewestMoves, FewestMovesDate, MostMoves, MostMovesDate,
                  WinStreak, LossStreak, LossBooked);
}
auto SavedMemory() {
  return std::apply([](const auto&... value) { return std::make_tuple(value...); }, Memory());
}
using CopyMemory = decltype(SavedMemory());

enum class GameEnd { Win, Loss, ResetGames };

class TwoCopies : public GameEndDialog {
 protected:
  void TearDown() override {
    platform::Unload<Form3>();
    platform::Unload<Form4>();
    platform::Unload<Form6>();
    game.reset();
    platform::Unload<Form2>();
    GameEndDialog::TearDown();
  }
  // This copy as the game starts it on the default file (after any copy
  // before it), and the game's own quit.
  void StartGame() {
    game.reset();
    platform::Unload<Form2>();
    ResetModule1ForTesting();
    folder.Write("tarnvole.cfg", DefaultCfgBytes());
    game = std::make_unique<Form1>();
    game->Form_Load();
  }
  void QuitGame() {
    EndRecorder ended;
    game->SaveWindowAndQuit();
    EXPECT_EQ(ended.ends, 1);
  }
  // A folder in the file's place makes every write fail; the file comes
  // back with the given bytes.
  QByteArray MakeFileAFolder() {
    const QByteArray bytes = File();
    QFile::remove("tarnvole.cfg");
    EXPECT_TRUE(QDir().mkdir("tarnvole.cfg"));
    return bytes;
  }
  void PutFileBack(const QByteArray& bytes) {
    EXPECT_TRUE(QDir().rmdir("tarnvole.cfg"));
    folder.Write("tarnvole.cfg", bytes);
  }
  std::unique_ptr<Form1> game;
  // A copy starting up: the full read of the file.
  CopyMemory StartCopy() {
    ReadAllRecords();
    WinStreak = LastGameWon == 1 ? BestWinStreak : 0;
    LossStreak = LastGameLost == 1 ? BestLossStreak : 0;
    return SavedMemory();
  }
  // One copy ends a game (or resets the games row) with its own memory.
  void Play(CopyMemory& copy, GameEnd end, qint64 seconds) {
    Memory() = copy;
    if (end == GameEnd::Win) {
      GameStart = SecondsFromNow(-seconds);
      MoveCount = 90;
      platform::Load<Form4>();
      platform::Unload<Form4>();
    } else if (end == GameEnd::Loss) {
      platform::Load<Form3>();
      platform::Unload<Form3>();
    } else {
      platform::Load<Form6>().Command1->click();
      platform::Unload<Form6>();
    }
    copy = SavedMemory();
  }
};

TEST_F(TwoCopies, GameEndsAndResetsInBothCopiesAddUp) {
  struct Case {
    const char* name;
    GameEnd first, second;  // by copy 1, then by copy 2
    const char *wins, *losses, *bestWin, *bestLoss, *lastWon, *lastLost, *shortest, *longest;
  };
  // Copy 1 wins in 300 seconds, copy 2 in 500; the file starts at 5 wins and 2 losses.
  const Case cases[] = {
      {"loss, loss", GameEnd::Loss, GameEnd::Loss, " 5", " 4", " 0", " 1", " 0", " 1", " 3600", " 0"},
      {"win, win", GameEnd::Win, GameEnd::Win, " 7", " 2", " 1", " 0", " 1", " 0", " 300", " 500"},
      {"win, loss", GameEnd::Win, GameEnd::Loss, " 6", " 3", " 1", " 1", " 0", " 1", " 300", " 300"},
      {"loss, win", GameEnd::Loss, GameEnd::Win, " 6", " 3", " 1", " 1", " 1", " 0", " 500", " 500"},
      {"reset, loss", GameEnd::ResetGames, GameEnd::Loss, " 0", " 1", " 0", " 1", " 0", " 1", " 3600", " 0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ResetModule1ForTesting();
    CfgFileName = QStringLiteral("tarnvole.cfg");
    folder.Write("tarnvole.cfg", WithRecord(WithRecord(DefaultCfgBytes(), 7, " 5"), 8, " 2"));
    CopyMemory copy1 = StartCopy();
    CopyMemory copy2 = StartCopy();

    Play(copy1, c.first, 300);
    Play(copy2, c.second, 500);

    const QByteArray file = File();
    EXPECT_EQ(RecordOf(file, 7).trimmed(), QByteArray(c.wins).trimmed());
    EXPECT_EQ(RecordOf(file, 8).trimmed(), QByteArray(c.losses).trimmed());
    EXPECT_EQ(RecordOf(file, 9).trimmed(), QByteArray(c.bestWin).trimmed());
    EXPECT_EQ(RecordOf(file, 12).trimmed(), QByteArray(c.bestLoss).trimmed());
    EXPECT_EQ(RecordOf(file, 11).trimmed(), QByteArray(c.lastWon).trimmed());
    EXPECT_EQ(RecordOf(file, 14).trimmed(), QByteArray(c.lastLost).trimmed());
    EXPECT_EQ(RecordOf(file, 15).trimmed(), QByteArray(c.shortest).trimmed());
    EXPECT_EQ(RecordOf(file, 17).trimmed(), QByteArray(c.longest).trimmed());
    // The copy that played last sees what the file holds.
    EXPECT_EQ(NumberText(Wins).toLatin1().trimmed(), QByteArray(c.wins).trimmed());
    EXPECT_EQ(NumberText(Losses).toLatin1().trimmed(), QByteArray(c.losses).trimmed());
  }
}

// Where the file cannot be trusted, a loss is booked on what this copy has
// in memory, as before, and no error escapes the dialog. (A loss whose own
// write failed is booked again with the next one: see below.)
TEST_F(TwoCopies, ALossIsBookedOnMemoryWhereTheFileCannotBeTrusted) {
  const std::pair<const char*, QByteArray> cases[] = {
      {"damaged date", WithRecord(WithRecord(DefaultCfgBytes(), 8, " 9"), 13, "junk")},
      {"number out of range", WithRecord(WithRecord(DefaultCfgBytes(), 8, " 9"), 17, "9e99")},
  };
  for (const auto& [name, file] : cases) {
    SCOPED_TRACE(name);
    ResetModule1ForTesting();
    CfgFileName = QStringLiteral("tarnvole.cfg");
    folder.Write("tarnvole.cfg", WithRecord(DefaultCfgBytes(), 8, " 3"));
    ReadAllRecords();
    ModalAnswerer answerer;
    folder.Write("tarnvole.cfg", file);

    EXPECT_NO_THROW({
      platform::Load<Form3>();
      platform::Unload<Form3>();
    });

    EXPECT_EQ(Losses, 4);
    EXPECT_EQ(Record(8).trimmed(), "4");
    EXPECT_EQ(answerer.prompts.size(), 0);
  }
}

// A loss that could not be written, because the write failed or another
// program kept the file's lock, is not lost: the next loss books it again
// on what the file holds then, another copy's loss included, and so does
// the quit, with the day it was lost on. Only a failed write is worth
// telling the player about; a lock held a little long is not.
TEST_F(TwoCopies, ALossThatCouldNotBeWrittenIsBookedWithTheNextWrite) {
  for (const bool lockHeld : {false, true}) {
    SCOPED_TRACE(lockHeld ? "lock held by another program" : "write failed");
    StartGame();
    ModalAnswerer answerer;
    QProcess holder;
    // This copy loses while its write cannot be made.
    const auto holdLock = [&] {
      holder.setWorkingDirectory(folder.Path());
      holder.start(QStringLiteral(TARNVOLE_RECORD_WRITER), {"hold", "2500"});
      ASSERT_TRUE(holder.waitForReadyRead(10000));
    };
    const auto loseUnwritten = [&] {
      const QByteArray file = File();
      if (lockHeld) {
        holdLock();
      } else {
        MakeFileAFolder();
      }
      LossBooked = 0;
      platform::Load<Form3>();
      platform::Unload<Form3>();
      if (lockHeld) {
        ASSERT_TRUE(holder.waitForFinished(10000));
        ASSERT_EQ(File(), file) << "written under another program's lock";
      } else {
        PutFileBack(file);
      }
    };
    const QStringList told = lockHeld ? QStringList() : QStringList{ResultsWaitMessage()};
    loseUnwritten();
    EXPECT_EQ(answerer.prompts, told);
    // Another copy loses meanwhile.
    folder.Write("tarnvole.cfg",
                 WithRecord(WithRecord(WithRecord(DefaultCfgBytes(), 8, " 1"), 12, " 1"), 14, " 1"));

    LossBooked = 0;
    platform::Load<Form3>();
    platform::Unload<Form3>();
    EXPECT_EQ(Record(8).trimmed(), "3");
    EXPECT_EQ(Record(12).trimmed(), "2");  // this copy's two losses in a row

    // A third loss in a row, just before midnight, still waits at the quit
    // just after it.
    now = QDateTime(QDate(2026, 12, 7), QTime(23, 59, 30));
    loseUnwritten();
    now = QDateTime(QDate(2026, 12, 8), QTime(0, 0, 30));
    // The quit waits longer than a game end for another program's lock.
    if (lockHeld) holdLock();
    QuitGame();
    EXPECT_EQ(Record(8).trimmed(), "4");
    EXPECT_EQ(Record(12).trimmed(), "3");
    EXPECT_EQ(Record(13), "26/12/07");
    EXPECT_EQ(answerer.prompts, told + told);
    if (lockHeld) {
      ASSERT_TRUE(holder.waitForFinished(10000));
    }
  }
}

// A win whose write failed keeps the day, the time and the moves it was won
// with, however late it is written and however often the records are read
// again meanwhile. A quit that cannot write it either tells the player that
// it is lost.
TEST_F(TwoCopies, AWinWaitingToBeWrittenKeepsItsDayTimeAndMoves) {
  for (const bool quitWrites : {true, false}) {
    SCOPED_TRACE(quitWrites ? "the quit writes it" : "the quit cannot write it");
    StartGame();
    ModalAnswerer answerer;
    const QByteArray before = MakeFileAFolder();
    now = QDateTime(QDate(2026, 12, 7), QTime(23, 59, 0));
    GameStart = SecondsFromNow(-300);
    MoveCount = 90;
    platform::Load<Form4>();
    platform::Unload<Form4>();
    ASSERT_EQ(answerer.prompts, QStringList{ResultsWaitMessage()});

    // The next game is under way, the next day, and the records are looked at.
    now = QDateTime(QDate(2026, 12, 8), QTime(0, 10, 0));
    MoveCount = 150;
    if (quitWrites) PutFileBack(before);
    platform::Load<Form6>();
    platform::Unload<Form6>();
    answerer.prompts.clear();
    QuitGame();
    if (!quitWrites) {
      ASSERT_FALSE(answerer.prompts.isEmpty());
      EXPECT_EQ(answerer.prompts[0], ResultsLostMessage());
      continue;
    }
    EXPECT_EQ(answerer.prompts, QStringList());
    EXPECT_EQ(Record(7).trimmed(), "1");
    EXPECT_EQ(Record(10), "26/12/07");  // best win streak
    EXPECT_EQ(Record(15).trimmed(), "300");
    EXPECT_EQ(Record(16), "26/12/07");
    EXPECT_EQ(Record(19).trimmed(), "90");
    EXPECT_EQ(Record(20), "26/12/07");
    EXPECT_EQ(Record(21).trimmed(), "90");
  }
}

}  // namespace
