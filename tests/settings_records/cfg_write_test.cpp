// Writing the settings file: a write lands whole or not at all, whatever
// happens to the program in the middle of it, and keeps what the file is.
#include <gtest/gtest.h>

#include <grp.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>
#include <random>

#include "platform/clock.h"
#include "platform/recordfile.h"
#include "platform/vb.h"
#include "settings_records/module1.h"
#include "support/test_support.h"

using namespace tarnvole;
using namespace testing_support;

namespace {

// The permission bits of owner, group and others, without Qt's bits for the
// current user.
constexpr QFileDevice::Permissions OwnerGroupOther = QFileDevice::Permissions::fromInt(0x7077);

// Another user, for the tests that run the writer as someone else.
constexpr uid_t Nobody = 65534;
constexpr gid_t NoGroup = 65534;

// Makes the child process, started by root, run as nobody.
void BecomeNobody() {
  if (::setgroups(0, nullptr) != 0 || ::setgid(NoGroup) != 0 || ::setuid(Nobody) != 0) ::_exit(9);
}

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
  // The writer, copied where every user may start it.
  QString ProgramForEveryone() {
    if (!programFolder.isValid()) return QString();
    const QString program = programFolder.filePath("record_writer");
    if (!QFile::exists(program)) {
      QFile::copy(QStringLiteral(TARNVOLE_RECORD_WRITER), program);
      ::chmod(QFile::encodeName(programFolder.path()).constData(), 0755);
    }
    return program;
  }

  ScratchFolder folder;
  QTemporaryDir programFolder;
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

// Programs book losses on one file at the same time: every one of them is
// counted, none overwritten by another program's write, also where they
// reach the file through links in different folders, and where the folder
// takes no lock file.
TEST_F(CfgWrite, LossesBookedByProgramsAtOnceAllCount) {
  struct Case {
    const char* name;
    QStringList folders;  // where each program runs
    int lossesEach;
    bool readOnlyFolder;
  };
  const Case cases[] = {
      {"one folder", {".", ".", "."}, 300, false},
      {"two folders linked to one file", {"a", "a", "b", "b"}, 100, false},
      {"a folder that takes no lock file", {".", ".", ".", "."}, 40, true},
  };
  const bool root = ::geteuid() == 0;
  const QString program = root ? ProgramForEveryone() : QStringLiteral(TARNVOLE_RECORD_WRITER);
  const QByteArray folderPath = QFile::encodeName(folder.Path());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(::chmod(folderPath.constData(), 0755), 0);
    QString file = "tarnvole.cfg";
    if (c.folders.contains("a")) {
      ASSERT_TRUE(QDir().mkpath("shared") && QDir().mkpath("a") && QDir().mkpath("b"));
      file = "shared/tarnvole.cfg";
      ASSERT_TRUE(QFile::link("../shared/tarnvole.cfg", "a/tarnvole.cfg"));
      ASSERT_TRUE(QFile::link("../shared/tarnvole.cfg", "b/tarnvole.cfg"));
    }
    QFile::remove(file);
    folder.Write(file, DefaultCfgBytes());
    // Root is let into any folder: the programs run as another user then.
    if (root && c.readOnlyFolder) {
      ASSERT_EQ(::chown(QFile::encodeName(folder.Path(file)).constData(), Nobody, NoGroup), 0);
    }
    if (c.readOnlyFolder) {
      ASSERT_EQ(::chmod(folderPath.constData(), 0555), 0);
    }
    std::vector<std::unique_ptr<QProcess>> writers;
    for (const QString& where : c.folders) {
      auto& writer = *writers.emplace_back(std::make_unique<QProcess>());
      if (root && c.readOnlyFolder) writer.setChildProcessModifier(BecomeNobody);
      writer.setWorkingDirectory(folder.Path(where));
      writer.start(program, {"book", QString::number(c.lossesEach)});
      ASSERT_TRUE(writer.waitForStarted(10000));
    }
    for (auto& writer : writers) {
      ASSERT_TRUE(writer->waitForFinished(40000));
      // A writer kept waiting too long on a loaded machine writes its losses
      // later: they count all the same.
      EXPECT_EQ(writer->exitStatus(), QProcess::NormalExit);
      EXPECT_EQ(writer->exitCode(), 0) << writer->readAllStandardError().toStdString();
      EXPECT_TRUE(writer->readAllStandardOutput().startsWith("messages 0"));
    }
    ASSERT_EQ(::chmod(folderPath.constData(), 0755), 0);
    EXPECT_EQ(RecordOf(folder.Read(file), 8).trimmed(),
              QByteArray::number(c.folders.size() * c.lossesEach));
  }
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
  constexpr gid_t Users = 100;
  struct Case {
    const char* name;
    uid_t owner;
    gid_t group;
    mode_t mode;
    bool writtenByNobody;  // else by root
    bool hardLink;
    mode_t folderMode;  // with the set-group-id bit, the folder's group is Users
    bool written;
  };
  const Case cases[] = {
      {"another user's file, written by root", Nobody, Users, 0664, false, false, 0755, true},
      {"a group the writer is not in", Nobody, Users, 0664, true, false, 0777, true},
      {"a second name (hard link)", 0, 0, 0644, false, true, 0755, true},
      {"a folder that takes no new file", Nobody, NoGroup, 0644, true, false, 0555, true},
      {"a file the writer may not write", 0, 0, 0644, true, false, 0777, false},
      {"a folder that gives new files its group", 0, 0, 0640, false, false, 02775, true},
  };
  const QString program = ProgramForEveryone();
  ASSERT_FALSE(program.isEmpty());
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
    ASSERT_EQ(::chown(folderPath.constData(), 0, (c.folderMode & S_ISGID) ? Users : 0), 0);
    ASSERT_EQ(::chmod(folderPath.constData(), c.folderMode), 0);

    QProcess writer;
    writer.setWorkingDirectory(folder.Path());
    if (c.writtenByNobody) writer.setChildProcessModifier(BecomeNobody);
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

// A file that a write makes, or finds cut short (its first write failed on
// a full disk, say), gets every record: those not written now from memory,
// so that the next start does not find blank records and reset everything.
TEST_F(CfgWrite, AMissingOrShortFileIsWrittenWholeFromMemory) {
  const std::pair<const char*, QByteArray> cases[] = {
      {"no file", QByteArray()},
      {"an empty file", QByteArray("")},
      {"a file cut short", DefaultCfgBytes().left(100)},
  };
  for (const auto& [name, bytes] : cases) {
    SCOPED_TRACE(name);
    QFile::remove("tarnvole.cfg");
    if (!bytes.isNull()) folder.Write("tarnvole.cfg", bytes);
    SetDefaultValues();
    FullAuto = 1;
    Losses = 4;
    BestLossStreakDate = platform::VbDate::FromDate(QDate(2026, 12, 7));
    CfgText[23] = NumberText(1500);
    WriteStagedRecords(23, 23, 0);

    const QByteArray after = folder.Read("tarnvole.cfg");
    ASSERT_EQ(after.size(), 208);
    EXPECT_EQ(RecordOf(after, 1), " 1      ");
    EXPECT_EQ(RecordOf(after, 8), " 4      ");
    EXPECT_EQ(RecordOf(after, 13), "26/12/07");
    EXPECT_EQ(RecordOf(after, 19), " 999    ");
    EXPECT_EQ(RecordOf(after, 23), " 1500   ");
    EXPECT_EQ(RecordOf(after, 26), " 9705   ");
    ResetModule1ForTesting();
    CfgFileName = QStringLiteral("tarnvole.cfg");
    EXPECT_NO_THROW(ReadAllRecords());
    EXPECT_EQ(WindowTop, 1500);
  }
}

int FailingSync(int) {
  errno = EIO;
  return -1;
}

// Where the file must be written in place (it has a second name, extended
// attributes, or a folder that takes no new file), a write that stops
// partway puts the old bytes back, and one whose every byte is in the file
// counts as written even when the flush to disk fails: booking it again
// would count it twice. The file keeps what made it so. The player's own
// file, so no root is needed; root is held to the permissions.
TEST_F(CfgWrite, AWriteInPlaceIsWholeOrUndone) {
  enum class Kind { HardLink, ReadOnlyFolder, ExtendedAttribute };
  const std::pair<const char*, Kind> cases[] = {
      {"a second name (hard link)", Kind::HardLink},
      {"a folder that takes no new file", Kind::ReadOnlyFolder},
      {"an extended attribute", Kind::ExtendedAttribute},
  };
  const QByteArray folderPath = QFile::encodeName(folder.Path());
  const QByteArray filePath = QFile::encodeName(folder.Path("tarnvole.cfg"));
  for (const auto& [name, kind] : cases) {
    SCOPED_TRACE(name);
    ASSERT_EQ(::chmod(folderPath.constData(), 0755), 0);
    for (const QString& entry : Entries()) QFile::remove(folder.Path(entry));
    const QByteArray before = DefaultCfgBytes();
    folder.Write("tarnvole.cfg", before);
    if (kind == Kind::HardLink) {
      ASSERT_EQ(::link(filePath.constData(), "other.cfg"), 0);
    } else if (kind == Kind::ExtendedAttribute &&
               ::setxattr(filePath.constData(), "user.tarnvole", "kept", 4, 0) != 0) {
      GTEST_SKIP() << "this file system keeps no extended attributes";
    }
    if (kind == Kind::ReadOnlyFolder) {
      ASSERT_EQ(::chmod(folderPath.constData(), 0555), 0);
    }
    PermissionsEnforced enforced;
    ASSERT_TRUE(enforced.active);

    // Cut short by a file-size limit: the old file, byte for byte.
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit limited = saved;
    limited.rlim_cur = 100;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    for (int n = 7; n <= 22; ++n) CfgText[n] = NumberText(77);
    EXPECT_THROW(WriteStagedRecords(7, 22, 0), platform::VbError);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &saved), 0);
    EXPECT_EQ(folder.Read("tarnvole.cfg"), before);

    // Every byte in, the flush failing: two losses are two.
    ReadAllRecords();
    platform::SetFileSyncForTesting(FailingSync);
    {
      ModalAnswerer answerer;
      BookRecordsAfresh(GameEnd::Loss(platform::Today()));
      BookRecordsAfresh(GameEnd::Loss(platform::Today()));
      EXPECT_EQ(answerer.prompts, QStringList());
    }
    platform::SetFileSyncForTesting(nullptr);
    const QByteArray after = folder.Read("tarnvole.cfg");
    EXPECT_EQ(RecordOf(after, 8), " 2      ");

    // And the file is still what it was.
    if (kind == Kind::HardLink) {
      EXPECT_EQ(folder.Read("other.cfg"), after);
    } else if (kind == Kind::ExtendedAttribute) {
      char value[8] = {};
      EXPECT_EQ(::getxattr(filePath.constData(), "user.tarnvole", value, sizeof value), 4);
      EXPECT_STREQ(value, "kept");
    }
    ResetModule1ForTesting();
    CfgFileName = QStringLiteral("tarnvole.cfg");
  }
  ASSERT_EQ(::chmod(folderPath.constData(), 0755), 0);
}

TEST_F(CfgWrite, AReadOfAMissingFileCreatesNothing) {
  EXPECT_THROW(ReadAllRecords(), platform::VbError);
  EXPECT_EQ(Entries(), QStringList());
}

}  // namespace
