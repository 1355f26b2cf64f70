// Writing the settings file: a write lands whole or not at all, whatever
// happens to the program in the middle of it, and keeps what the file is.
#include <gtest/gtest.h>

#include <grp.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>
#include <random>

#include "platform/vb.h"
#include "settings_records/module1.h"
#include "support/test_support.h"

using namespace tarnvole;
using namespace testing_support;

namespace {

// The permission bits of owner, group and others, without Qt's bits for the
// current user.
constexpr QFileDevice::Permissions OwnerGroupOther = QFileDevice::Permissions::fromInt(0x7077);

class CfgWrite : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetModule1ForTesting();
    CfgFileName = QStringLiteral("tarnvole.cfg");
  }
  void TearDown() override { ResetModule1ForTesting(); }

  // Starts the writer in the scratch folder.
  void Start(QProcess& writer, const QStringList& arguments) const {
    writer.setWorkingDirectory(folder.Path());
    writer.start(QStringLiteral(TARNVOLE_RECORD_WRITER), arguments);
    ASSERT_TRUE(writer.waitForStarted(10000));
  }
  QStringList Entries() const {
    return QDir(folder.Path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
  }

  ScratchFolder folder;
};

// The file after a writer of records first..last was killed: every other
// record as before, and the written ones all from one and the same write.
void ExpectOneWholeWrite(const QByteArray& file, const QByteArray& before, int first, int last) {
  ASSERT_EQ(file.size(), 208);
  for (int n = 1; n <= 26; ++n) {
    if (n < first || n > last) {
      EXPECT_EQ(RecordOf(file, n), RecordOf(before, n)) << "record " << n;
    }
  }
  const QByteArray written = RecordOf(file, first);
  bool isNumber = false;
  EXPECT_GE(written.trimmed().toInt(&isNumber), 1) << written.constData();
  EXPECT_TRUE(isNumber) << written.constData();
  for (int n = first + 1; n <= last; ++n)
    EXPECT_EQ(RecordOf(file, n), written) << "record " << n << " of a write of " << first << ".." << last;
}

// A game end, the damaged-file reset and the quit, each killed at random
// moments many times over.
TEST_F(CfgWrite, AWriterKilledAtAnyMomentLeavesTheOldRecordsOrTheNew) {
  struct Case {
    int first, last;
  };
  const Case cases[] = {{7, 22}, {1, 26}, {23, 26}};
  constexpr int KillsPerCase = 30;
  // A slow machine ends each case early, well inside the suite's time limit
  // of a minute per test, but not before a few writers have been killed.
  constexpr qint64 CaseTimeBudgetMs = 12000;
  constexpr int FewestKillsPerCase = 5;
  std::mt19937 random(2026);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "records " << c.first << ".." << c.last);
    const QByteArray before = DefaultCfgBytes();
    folder.Write("tarnvole.cfg", before);
    QElapsedTimer elapsed;
    elapsed.start();
    int kills = 0;
    for (; kills < KillsPerCase && (kills < FewestKillsPerCase || elapsed.elapsed() < CaseTimeBudgetMs);
         ++kills) {
      QProcess writer;
      Start(writer, {QString::number(c.first), QString::number(c.last)});
      ASSERT_TRUE(writer.waitForReadyRead(10000))
          << "the writer never wrote: " << writer.readAllStandardError().toStdString();
      QThread::usleep(random() % 20000);
      ::kill(static_cast<pid_t>(writer.processId()), SIGKILL);
      ASSERT_TRUE(writer.waitForFinished(10000));
      ASSERT_EQ(writer.exitStatus(), QProcess::CrashExit) << "the writer ended before the kill";
      ExpectOneWholeWrite(folder.Read("tarnvole.cfg"), before, c.first, c.last);
      if (HasFailure()) return;
    }
    EXPECT_GE(kills, FewestKillsPerCase);
    // The temporary files of killed writers are gone after the next write;
    // a file of the player's that merely looks alike is not touched.
    folder.Write("tarnvole.cfg.backup", before);
    CfgText[7] = NumberText(1);
    WriteStagedRecords(7, 7, 0);
    EXPECT_EQ(Entries(), (QStringList{"tarnvole.cfg", "tarnvole.cfg.backup"}));
    QFile::remove(folder.Path("tarnvole.cfg.backup"));
  }
}

// Three programs book losses on one file at the same time: every one of
// them is counted, none overwritten by another program's write.
TEST_F(CfgWrite, LossesBookedByThreeProgramsAtOnceAllCount) {
  constexpr int Programs = 3;
  constexpr int LossesEach = 300;
  folder.Write("tarnvole.cfg", DefaultCfgBytes());
  QProcess writers[Programs];
  for (QProcess& writer : writers) Start(writer, {"book", QString::number(LossesEach)});
  for (QProcess& writer : writers) {
    ASSERT_TRUE(writer.waitForFinished(40000));
    // A writer kept waiting too long on a loaded machine shows the message
    // and writes its losses later: they count all the same.
    EXPECT_EQ(writer.exitStatus(), QProcess::NormalExit);
    EXPECT_TRUE(writer.readAllStandardOutput().startsWith("messages "));
  }
  EXPECT_EQ(RecordOf(folder.Read("tarnvole.cfg"), 8).trimmed(),
            QByteArray::number(Programs * LossesEach));
}

// Under a file-size limit the write fails like any other: the file stays as
// it was (or absent), no temporary file is left, and the program lives on.
TEST_F(CfgWrite, AFileSizeLimitMakesTheWriteFailWithoutEndingTheProgram) {
  for (const bool fileBefore : {true, false}) {
    SCOPED_TRACE(fileBefore ? "existing file" : "no file");
    QFile::remove(folder.Path("tarnvole.cfg"));
    if (fileBefore) folder.Write("tarnvole.cfg", DefaultCfgBytes());
    QProcess writer;
    Start(writer, {"7", "22", "100"});
    ASSERT_TRUE(writer.waitForFinished(10000));
    EXPECT_EQ(writer.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(writer.readAllStandardOutput().trimmed(), "failed");
    if (fileBefore) {
      EXPECT_EQ(folder.Read("tarnvole.cfg"), DefaultCfgBytes());
      EXPECT_EQ(Entries(), QStringList{"tarnvole.cfg"});
    } else {
      EXPECT_EQ(Entries(), QStringList());
    }
  }
}

TEST_F(CfgWrite, AWriteKeepsThePermissionsAndWritesThroughASymbolicLink) {
  folder.Write("tarnvole.cfg", DefaultCfgBytes());
  const auto mode = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
  ASSERT_TRUE(QFile::setPermissions("tarnvole.cfg", mode));
  CfgText[7] = NumberText(5);
  WriteStagedRecords(7, 7, 0);
  EXPECT_EQ(RecordOf(folder.Read("tarnvole.cfg"), 7), " 5      ");
  EXPECT_EQ(QFile::permissions("tarnvole.cfg") & OwnerGroupOther, mode);

  // The link stays a link, and the file it names gets the records.
  ASSERT_TRUE(QDir().mkdir("kept"));
  ASSERT_TRUE(QFile::rename("tarnvole.cfg", "kept/real.cfg"));
  ASSERT_TRUE(QFile::link("kept/real.cfg", "tarnvole.cfg"));
  CfgText[8] = NumberText(9);
  WriteStagedRecords(8, 8, 0);
  EXPECT_TRUE(QFileInfo("tarnvole.cfg").isSymLink());
  const QByteArray real = folder.Read("kept/real.cfg");
  EXPECT_EQ(RecordOf(real, 7), " 5      ");
  EXPECT_EQ(RecordOf(real, 8), " 9      ");
  EXPECT_EQ(QFile::permissions("kept/real.cfg") & OwnerGroupOther, mode);
}

// Whoever writes the file, it stays the player's file: the same owner,
// group and permissions, every name of it showing the new records, and a
// folder that takes no new file is no reason to refuse a file that may be
// written. Changing owners and writing as another user needs root.
TEST_F(CfgWrite, AWriteKeepsTheFilesOwnerGroupAndLinks) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to give files to other users";
  constexpr uid_t Nobody = 65534;
  constexpr gid_t NoGroup = 65534;
  constexpr gid_t Users = 100;
  struct Case {
    const char* name;
    uid_t owner;
    gid_t group;
    mode_t mode;
    bool writtenByNobody;  // else by root
    bool hardLink;
    mode_t folderMode;
    bool written;
  };
  const Case cases[] = {
      {"another user's file, written by root", Nobody, Users, 0664, false, false, 0755, true},
      {"a group the writer is not in", Nobody, Users, 0664, true, false, 0777, true},
      {"a second name (hard link)", 0, 0, 0644, false, true, 0755, true},
      {"a folder that takes no new file", Nobody, NoGroup, 0644, true, false, 0555, true},
      {"a file the writer may not write", 0, 0, 0644, true, false, 0777, false},
  };
  // The writer runs from a copy that every user may start.
  QTemporaryDir programFolder;
  ASSERT_TRUE(programFolder.isValid());
  const QString program = programFolder.filePath("record_writer");
  ASSERT_TRUE(QFile::copy(QStringLiteral(TARNVOLE_RECORD_WRITER), program));
  ASSERT_EQ(::chmod(QFile::encodeName(programFolder.path()).constData(), 0755), 0);
  const QByteArray folderPath = QFile::encodeName(folder.Path());
  const QByteArray filePath = QFile::encodeName(folder.Path("tarnvole.cfg"));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(::chmod(folderPath.constData(), 0755), 0);
    for (const QString& entry : Entries()) QFile::remove(folder.Path(entry));
    folder.Write("tarnvole.cfg", DefaultCfgBytes());
    ASSERT_EQ(::chown(filePath.constData(), c.owner, c.group), 0);
    ASSERT_EQ(::chmod(filePath.constData(), c.mode), 0);
    if (c.hardLink) {
      ASSERT_EQ(::link(filePath.constData(), "other.cfg"), 0);
    }
    ASSERT_EQ(::chmod(folderPath.constData(), c.folderMode), 0);

    QProcess writer;
    writer.setWorkingDirectory(folder.Path());
    if (c.writtenByNobody)
      writer.setChildProcessModifier([] {
        if (::setgroups(0, nullptr) != 0 || ::setgid(NoGroup) != 0 || ::setuid(Nobody) != 0)
          ::_exit(9);
      });
    writer.start(program, {"7", "7", "100000"});
    ASSERT_TRUE(writer.waitForFinished(10000));
    ASSERT_EQ(writer.exitCode(), 0) << writer.readAllStandardError().toStdString();
    EXPECT_EQ(writer.readAllStandardOutput().trimmed(), c.written ? "written" : "failed");

    ASSERT_EQ(::chmod(folderPath.constData(), 0755), 0);
    struct stat after {};
    ASSERT_EQ(::stat(filePath.constData(), &after), 0);
    EXPECT_EQ(after.st_uid, c.owner);
    EXPECT_EQ(after.st_gid, c.group);
    EXPECT_EQ(after.st_mode & 07777, c.mode);
    const QByteArray expected = c.written ? WithRecord(DefaultCfgBytes(), 7, " 1") : DefaultCfgBytes();
    EXPECT_EQ(folder.Read("tarnvole.cfg"), expected);
    if (c.hardLink) {
      EXPECT_EQ(after.st_nlink, 2u);
      EXPECT_EQ(folder.Read("other.cfg"), expected);
    }
  }
}

TEST_F(CfgWrite, AShortFileKeepsItsBytesAndItsMissingRecordsBecomeBlanks) {
  const QByteArray shortFile = DefaultCfgBytes().left(100);
  folder.Write("tarnvole.cfg", shortFile);
  CfgText[23] = NumberText(1500);
  WriteStagedRecords(23, 23, 0);
  const QByteArray after = folder.Read("tarnvole.cfg");
  ASSERT_EQ(after.size(), 184);
  EXPECT_EQ(after.left(100), shortFile);
  EXPECT_EQ(after.mid(100, 76), QByteArray(76, ' '));
  EXPECT_EQ(RecordOf(after, 23), " 1500   ");
}

TEST_F(CfgWrite, AReadOfAMissingFileCreatesNothing) {
  EXPECT_THROW(ReadAllRecords(), platform::VbError);
  EXPECT_EQ(Entries(), QStringList());
}

}  // namespace
