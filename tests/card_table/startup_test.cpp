// Start-up and shutdown of the main window on a real Form1.
#include <gtest/gtest.h>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <unistd.h>

#include "card_table/form1.h"
#include "platform/clock.h"
#include "platform/forms.h"
#include "platform/widgets.h"
#include "settings_records/form2.h"
#include "support/test_support.h"

using namespace tarnvole;
using namespace testing_support;

namespace {

const QString Damaged = QStringLiteral("データファイルが壊れています。初期値に戻します。");

class Startup : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetModule1ForTesting();
    platform::SetClockForTesting([] { return QDateTime(QDate(2026, 12, 7), QTime(9, 15, 30)); });
  }
  void TearDown() override {
    platform::Unload<Form2>();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    platform::SetClockForTesting(nullptr);
    platform::SetScreenAreasForTesting({});
    ResetModule1ForTesting();
  }
  ScratchFolder folder;
};

TEST_F(Startup, AValidFilePlacesTheWindowAndLeavesTheBoardEmpty) {
  QByteArray f = WithRecord(DefaultCfgBytes(), 23, " 1500");
  f = WithRecord(f, 24, "-15");
  folder.Write("tarnvole.cfg", f);
  platform::ResetRandomDrawCount();
  ModalAnswerer answerer;
  Form1 form;
  form.Form_Load();

  EXPECT_TRUE(answerer.prompts.isEmpty());
  EXPECT_EQ(CfgFileName, "tarnvole.cfg");
  EXPECT_EQ(form.Top(), 1500);
  EXPECT_EQ(form.Left(), -15);
  EXPECT_EQ(form.Height(), 7980);
  EXPECT_EQ(form.Width(), 9705);
  EXPECT_EQ(form.width(), 639);   // the client area, 9585 x 7575 twips
  EXPECT_EQ(form.height(), 505);
  EXPECT_EQ(form.windowTitle(), "TarnVole v1.1.4");
  EXPECT_EQ(platform::RandomDrawCount(), 0);  // nothing is dealt
  EXPECT_EQ(form.MaxPos, 151);
  EXPECT_EQ(form.UndoLevel, -1);
  EXPECT_FALSE(form.Toolbar1->Buttons(6).Enabled());
  EXPECT_FALSE(form.Toolbar1->Buttons(8).Enabled());
  for (int i : {1, 2, 4, 13}) EXPECT_TRUE(form.Toolbar1->Buttons(i).Enabled()) << i;
  for (const QString& t : form.Tableau) EXPECT_TRUE(t.isEmpty());
  for (int k = 0; k < 8; ++k) {
    EXPECT_TRUE(form.Cell[k].isEmpty());
    EXPECT_EQ(form.Image2(k).Picture().Index(), EmptySlotMark);
    EXPECT_TRUE(form.Image2(k).Visible());
  }
  EXPECT_FALSE(form.Label1.Visible());
  EXPECT_EQ(form.FreeSpaces(), 4);  // four free cells, no marker shown
  EXPECT_EQ(form.StartupTime, platform::Now());
}

TEST_F(Startup, SlotsAndMarkersStandAtTheBoardGeometryAllHidden) {
  folder.Write("tarnvole.cfg", DefaultCfgBytes());
  Form1 form;
  form.Form_Load();
  ASSERT_EQ(form.Image1.Count(), 152);
  ASSERT_EQ(form.Image3.Count(), 8);
  for (int p = 0; p <= 151; ++p) {
    const int column = p % 8, row = p / 8;
    EXPECT_EQ(form.Image1(p).Left(), 210 + 1155 * column) << p;
    EXPECT_EQ(form.Image1(p).Top(), 2310 + 270 * row) << p;
    EXPECT_EQ(form.Image1(p).Width(), 1065);
    EXPECT_EQ(form.Image1(p).Height(), 1440);
    EXPECT_FALSE(form.Image1(p).Visible()) << p;
  }
  EXPECT_EQ(form.Image1(151).Left(), 8295);
  EXPECT_EQ(form.Image1(151).Top(), 7170);
  EXPECT_EQ(form.Image1(8).Top(), 2580);
  for (int k = 0; k < 8; ++k) {
    EXPECT_EQ(form.Image3(k).Left(), 210 + 1155 * k);
    EXPECT_EQ(form.Image3(k).Top(), 2310);
    EXPECT_FALSE(form.Image3(k).Visible());
    EXPECT_EQ(form.Image3(k).Picture().Index(), EmptySlotMark);
  }
  const int cellLeft[] = {105, 1155, 2205, 3255, 5250, 6300, 7350, 8400};
  for (int k = 0; k < 8; ++k) {
    EXPECT_EQ(form.Image2(k).Left(), cellLeft[k]);
    EXPECT_EQ(form.Image2(k).Top(), 525);
  }
  EXPECT_EQ(form.Image4.Left(), 4515);
  EXPECT_EQ(form.Image4.Top(), 1050);
  EXPECT_EQ(form.Image4.Width(), 540);
  EXPECT_EQ(form.Image4.Height(), 405);
  EXPECT_EQ(form.Toolbar1->geometry(), QRect(0, 0, 639, 28));
  EXPECT_EQ(form.StatusBar1->geometry(), QRect(0, 488, 639, 17));
}

TEST_F(Startup, StreaksComeBackFromTheLastGameFlags) {
  QByteArray f = WithRecord(DefaultCfgBytes(), 11, " 1");
  f = WithRecord(f, 9, " 5");
  f = WithRecord(f, 12, " 3");
  folder.Write("tarnvole.cfg", f);
  {
    Form1 form;
    form.Form_Load();
    EXPECT_EQ(WinStreak, 5);
    EXPECT_EQ(LossStreak, 0);
  }
  platform::Unload<Form2>();
  folder.Write("tarnvole.cfg", WithRecord(f, 14, " 1"));
  Form1 both;
  both.Form_Load();
  EXPECT_EQ(WinStreak, 5);
  EXPECT_EQ(LossStreak, 3);
}

TEST_F(Startup, TheEyesLookAheadAndFollowTheSetting) {
  folder.Write("tarnvole.cfg", DefaultCfgBytes());
  {
    Form1 form;
    form.Form_Load();
    EXPECT_EQ(form.EyePicture, 2);
    EXPECT_EQ(form.Image4.Picture().Index(), 2);
    EXPECT_TRUE(form.Image4.Visible());
  }
  platform::Unload<Form2>();
  folder.Write("tarnvole.cfg", WithRecord(DefaultCfgBytes(), 6, " 0"));
  Form1 form;
  form.Form_Load();
  EXPECT_FALSE(form.Image4.Visible());
  EXPECT_EQ(form.Image4.Picture().Index(), 2);
}

TEST_F(Startup, AFirstRunInAnEmptyFolderWritesTheDefaultsAfterOneMessage) {
  ModalAnswerer answerer;
  Form1 form;
  form.Form_Load();
  EXPECT_EQ(answerer.prompts, QStringList{Damaged});
  EXPECT_EQ(folder.Read("tarnvole.cfg"), DefaultCfgBytes());
  EXPECT_EQ(MaxUndoLevel, 2);
  EXPECT_EQ(DealStrength, 2);
  EXPECT_EQ(ShortestTime, 3600);
  EXPECT_EQ(form.Height(), 7980);
  // The repeated load created no second set of slots.
  EXPECT_EQ(form.Image1.Count(), 152);
  EXPECT_EQ(form.Image3.Count(), 8);
}

TEST_F(Startup, ADamagedDateRecordResetsTheWholeFile) {
  QByteArray f = WithRecord(DefaultCfgBytes(), 1, " 1");
  f = WithRecord(f, 7, " 42");
  f = WithRecord(f, 16, "yesterday");
  folder.Write("tarnvole.cfg", f);
  ModalAnswerer answerer;
  Form1 form;
  form.Form_Load();
  EXPECT_EQ(answerer.prompts, QStringList{Damaged});
  EXPECT_EQ(folder.Read("tarnvole.cfg"), DefaultCfgBytes());
  EXPECT_EQ(FullAuto, 0);
  EXPECT_EQ(Wins, 0);
}

TEST_F(Startup, ANumberThatKeepsOverflowingIsTreatedAsDamageAfterBoundedRetries) {
  folder.Write("tarnvole.cfg", WithRecord(DefaultCfgBytes(), 3, "9e99"));
  ModalAnswerer answerer;
  Form1 form;
  form.Form_Load();
  EXPECT_EQ(answerer.prompts, QStringList{Damaged});
  EXPECT_EQ(folder.Read("tarnvole.cfg"), DefaultCfgBytes());
  EXPECT_EQ(MaxUndoLevel, 2);
  EXPECT_EQ(form.Image1.Count(), 152);
}

TEST_F(Startup, AFileThatIsAFolderIsReportedAndNothingOnDiskChanges) {
  QDir().mkdir("tarnvole.cfg");
  ModalAnswerer answerer;
  Form1 form;
  form.Form_Load();
  ASSERT_EQ(answerer.prompts.size(), 1);
  EXPECT_TRUE(answerer.prompts[0].contains("tarnvole.cfg"));
  EXPECT_NE(answerer.prompts[0], Damaged);
  EXPECT_TRUE(QFileInfo("tarnvole.cfg").isDir());
  // The game goes on with the defaults in memory.
  EXPECT_EQ(MaxUndoLevel, 2);
  EXPECT_EQ(form.Width(), 9705);
  // Quitting reports the file once more and still ends the program.
  EndRecorder ended;
  form.SaveWindowAndQuit();
  EXPECT_EQ(ended.ends, 1);
  EXPECT_EQ(answerer.prompts.size(), 2);
}

TEST_F(Startup, AFolderThatCannotBeWrittenKeepsTheDamagedFileAndPlays) {
  // A folder removed under the running program: nothing can be created there.
  QTemporaryDir gone;
  QDir::setCurrent(gone.path());
  gone.remove();
  ModalAnswerer answerer;
  Form1 form;
  form.Form_Load();
  ASSERT_EQ(answerer.prompts.size(), 1);
  EXPECT_TRUE(answerer.prompts[0].contains("tarnvole.cfg"));
  EXPECT_EQ(DealStrength, 2);
  EXPECT_EQ(form.Image1.Count(), 152);
  QDir::setCurrent(folder.Path());
}

TEST_F(Startup, AReadOnlyDamagedFileIsNotOverwritten) {
  const QByteArray damaged = WithRecord(DefaultCfgBytes(), 10, "junk");
  folder.Write("tarnvole.cfg", damaged);
  QFile::setPermissions(folder.Path("tarnvole.cfg"), QFile::ReadOwner);
  PermissionsEnforced enforced;
  if (!enforced.active) GTEST_SKIP() << "file permissions cannot be enforced for this user";
  ModalAnswerer answerer;
  Form1 form;
  form.Form_Load();
  ASSERT_EQ(answerer.prompts.size(), 2);  // damaged, then cannot be written
  EXPECT_EQ(answerer.prompts[0], Damaged);
  EXPECT_TRUE(answerer.prompts[1].contains(QStringLiteral("tarnvole.cfg")));
  EXPECT_EQ(folder.Read("tarnvole.cfg"), damaged);
  EXPECT_EQ(MaxUndoLevel, 2);
}

TEST_F(Startup, AFirstRunInAReadOnlyFolderPlaysWithTheDefaultsAndCreatesNothing) {
  QFile::setPermissions(folder.Path(), QFile::ReadOwner | QFile::ExeOwner);
  PermissionsEnforced enforced;
  if (!enforced.active) GTEST_SKIP() << "file permissions cannot be enforced for this user";
  ModalAnswerer answerer;
  Form1 form;
  form.Form_Load();
  // The file cannot even be created: one message naming it, no reset.
  ASSERT_EQ(answerer.prompts.size(), 1);
  EXPECT_NE(answerer.prompts[0], Damaged);
  EXPECT_TRUE(answerer.prompts[0].contains(QStringLiteral("「tarnvole.cfg」"))) << answerer.prompts[0].toStdString();
  EXPECT_FALSE(QFile::exists(folder.Path("tarnvole.cfg")));
  EXPECT_EQ(MaxUndoLevel, 2);
  EXPECT_EQ(SecretaryOn, 1);
  EXPECT_EQ(form.Image1.Count(), 152);
  QFile::setPermissions(folder.Path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST_F(Startup, QuittingWritesOnlyTheGeometryRecords) {
  QByteArray f = WithRecord(DefaultCfgBytes(), 7, " 9");
  folder.Write("tarnvole.cfg", f);
  Form1 form;
  form.Form_Load();
  FullAuto = 1;   // changed in memory but not confirmed: not saved
  Wins = 100;
  form.setTop(-15);
  form.setLeft(3000);
  EndRecorder ended;
  form.SaveWindowAndQuit();
  EXPECT_EQ(ended.ends, 1);
  const QByteArray after = folder.Read("tarnvole.cfg");
  EXPECT_EQ(RecordOf(after, 23), "-15     ");
  EXPECT_EQ(RecordOf(after, 24), " 3000   ");
  EXPECT_EQ(RecordOf(after, 25), " 7980   ");
  EXPECT_EQ(RecordOf(after, 26), " 9705   ");
  EXPECT_EQ(after.left(176), f.left(176));
  EXPECT_EQ(form.LoopIndex, 27);
}

TEST_F(Startup, AFileThatCannotBeWrittenAtQuitSaysTheWindowPlaceIsNotSaved) {
  folder.Write("tarnvole.cfg", DefaultCfgBytes());
  ModalAnswerer answerer;
  Form1 form;
  form.Form_Load();
  QFile::remove(folder.Path("tarnvole.cfg"));
  QDir().mkdir("tarnvole.cfg");
  EndRecorder ended;
  form.SaveWindowAndQuit();
  EXPECT_EQ(answerer.prompts,
            QStringList{QStringLiteral("設定ファイル「tarnvole.cfg」に書き込めませんでした。\r"
                                       "ウィンドウの位置と大きさは保存されません。")});
  EXPECT_EQ(ended.ends, 1);
}

TEST_F(Startup, TheCloseBoxSavesTheGeometryAndKeepsTheWindowOpen) {
  folder.Write("tarnvole.cfg", WithRecord(DefaultCfgBytes(), 24, " 2010"));
  Form1 form;
  form.Form_Load();
  form.show();
  EndRecorder ended;
  EXPECT_FALSE(form.close());  // the window does not close first
  EXPECT_EQ(ended.ends, 1);
  EXPECT_EQ(RecordOf(folder.Read("tarnvole.cfg"), 24), " 2010   ");
  EXPECT_TRUE(form.isVisible());
}

TEST_F(Startup, AMovedWindowIsStoredInTwipsOfItsNewPlace) {
  folder.Write("tarnvole.cfg", DefaultCfgBytes());
  Form1 form;
  form.Form_Load();
  form.move(-100, 40);
  EXPECT_EQ(form.Left(), -1500);
  EXPECT_EQ(form.Top(), 600);
  EndRecorder ended;
  form.SaveWindowAndQuit();
  EXPECT_EQ(RecordOf(folder.Read("tarnvole.cfg"), 24), "-1500   ");
}

// A geometry that would give an unusable window on a 1280 x 1024 screen
// opens the window at the default place or size, quitting stores that window,
// and the variables keep what the file said. A window whose caption the
// player can still drag keeps its place.
struct GeometryCase {
  const char* what;
  QByteArray file;
  std::array<Long, 4> read;    // WindowTop, WindowLeft, WindowHeight, WindowWidth
  std::array<int, 4> placed;   // Top, Left, Height, Width of the window
};

QByteArray WithGeometry(int record, const QByteArray& text) {
  return WithRecord(DefaultCfgBytes(), record, text);
}

std::vector<GeometryCase> GeometryCases() {
  const std::array<int, 4> dflt = {1000, 1000, 7980, 9705};
  return {
      {"cut after record 22", DefaultCfgBytes().left(176), {0, 0, 0, 0}, dflt},
      {"cut inside record 24", DefaultCfgBytes().left(190), {1000, 1000, 0, 0}, dflt},
      {"cut after record 25", DefaultCfgBytes().left(200), {1000, 1000, 7980, 0}, dflt},
      {"cut inside record 26", DefaultCfgBytes().left(204), {1000, 1000, 7980, 970}, dflt},
      {"blank height", WithGeometry(25, ""), {1000, 1000, 0, 9705}, dflt},
      {"blank width", WithGeometry(26, ""), {1000, 1000, 7980, 0}, dflt},
      {"minus sign height", WithGeometry(25, "-"), {1000, 1000, 0, 9705}, dflt},
      {"minus sign width", WithGeometry(26, "-"), {1000, 1000, 7980, 0}, dflt},
      {"hex height", WithGeometry(25, "&H7FFF"), {1000, 1000, 0, 9705}, dflt},
      {"hex width", WithGeometry(26, "&H7FFF"), {1000, 1000, 7980, 0}, dflt},
      {"NUL height", WithGeometry(25, QByteArray(8, '\0')), {1000, 1000, 0, 9705}, dflt},
      {"NUL width", WithGeometry(26, QByteArray(8, '\0')), {1000, 1000, 7980, 0}, dflt},
      {"a little too narrow", WithGeometry(26, " 9000"), {1000, 1000, 7980, 9000}, dflt},
      {"title bar above the screen", WithGeometry(23, "-9999"), {-9999, 1000, 7980, 9705}, dflt},
      {"title bar only a sliver high", WithGeometry(23, "-300"), {-300, 1000, 7980, 9705}, dflt},
      {"far to the right", WithGeometry(24, " 99999"), {1000, 99999, 7980, 9705}, dflt},
      {"far to the left", WithGeometry(24, "-99999"), {1000, -99999, 7980, 9705}, dflt},
      {"below the screen", WithGeometry(23, " 99999"), {99999, 1000, 7980, 9705}, dflt},
      {"left a little off the screen", WithGeometry(24, "-450"), {1000, -450, 7980, 9705},
       {1000, -450, 7980, 9705}},
      {"top one pixel above the screen", WithGeometry(23, "-15"), {-15, 1000, 7980, 9705},
       {-15, 1000, 7980, 9705}},
      {"a normal place", WithRecord(WithGeometry(23, " 1500"), 24, " 2010"),
       {1500, 2010, 7980, 9705}, {1500, 2010, 7980, 9705}},
      {"larger than the screen", WithRecord(WithGeometry(25, " 9999999"), 26, " 9999999"),
       {1000, 1000, 9999999, 9999999}, dflt},
      // Only the caption strip counts: the rest of the window may lie off
      // the screen where the player left it.
      {"the End button off the left edge", WithRecord(WithGeometry(23, "-150"), 24, "-4500"),
       {-150, -4500, 7980, 9705}, {-150, -4500, 7980, 9705}},
      {"the Start button off the left edge", WithGeometry(24, "-1000"), {1000, -1000, 7980, 9705},
       {1000, -1000, 7980, 9705}},
      {"only the caption strip above the bottom edge", WithGeometry(23, " 14900"),
       {14900, 1000, 7980, 9705}, {14900, 1000, 7980, 9705}},
      {"the close box off the right edge", WithGeometry(24, " 18200"), {1000, 18200, 7980, 9705},
       {1000, 18200, 7980, 9705}},
      {"less than the grip's height above the bottom edge", WithGeometry(23, " 15300"),
       {15300, 1000, 7980, 9705}, dflt},
      {"less than the grip's width left of the right edge", WithGeometry(24, " 19050"),
       {1000, 19050, 7980, 9705}, dflt},
      {"a little past the top left corner", WithRecord(WithGeometry(23, "-15"), 24, "-450"),
       {-15, -450, 7980, 9705}, {-15, -450, 7980, 9705}},
      {"as large as the screen", WithRecord(WithRecord(WithRecord(WithGeometry(23, " 0"), 24, " 0"),
                                                       25, " 15360"), 26, " 19200"),
       {0, 0, 15360, 19200}, {0, 0, 15360, 19200}},
  };
}

TEST_F(Startup, AnUnusableStoredGeometryOpensTheDefaultWindowAndQuitStoresIt) {
  platform::SetScreenAreasForTesting({QRect(0, 0, 1280, 1024)});
  for (const GeometryCase& c : GeometryCases()) {
    SCOPED_TRACE(c.what);
    folder.Write("tarnvole.cfg", c.file);
    {
      ModalAnswerer answerer;
      Form1 form;
      form.Form_Load();
      EXPECT_TRUE(answerer.prompts.isEmpty());
      EXPECT_EQ((std::array<Long, 4>{WindowTop, WindowLeft, WindowHeight, WindowWidth}), c.read);
      EXPECT_EQ((std::array<int, 4>{form.Top(), form.Left(), form.Height(), form.Width()}),
                c.placed);
      EXPECT_GE(form.width(), 639);
      EXPECT_GE(form.height(), 505);
      EndRecorder ended;
      form.SaveWindowAndQuit();
      EXPECT_EQ(ended.ends, 1);
      const QByteArray after = folder.Read("tarnvole.cfg");
      for (int k = 0; k < 4; ++k)
        EXPECT_EQ(RecordOf(after, 23 + k), NumberText(c.placed[k]).toLatin1().leftJustified(8))
            << "record " << 23 + k;
    }
    platform::Unload<Form2>();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
}

}  // namespace
