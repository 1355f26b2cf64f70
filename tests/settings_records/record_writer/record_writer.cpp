// A helper program for the tests that kill a writer in the middle of a
// write. In the current folder it writes records of "tarnvole.cfg" the way
// the game does:
//   record_writer FIRST LAST        writes over and over; at each write every
//                                   record FIRST..LAST holds the same count,
//                                   one more than before; "ready" follows the
//                                   first write
//   record_writer FIRST LAST LIMIT  writes once under a file-size limit of
//                                   LIMIT bytes and prints "written" or "failed"
//   record_writer book COUNT        books COUNT losses the way the stalemate
//                                   dialog does, then quits the way the game
//                                   does; prints the messages it was shown
//   record_writer hold MS           holds the file's lock for MS milliseconds,
//                                   printing "locked" once it has it
#include <sys/resource.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/clock.h"
#include "platform/recordfile.h"
#include "platform/vb.h"
#include "settings_records/form3.h"
#include "settings_records/module1.h"

namespace {

// A writer that the test lost track of still ends.
constexpr qint64 LongestRunMs = 30000;

void WriteCount(int first, int last, tarnvole::Long count) {
  for (int n = first; n <= last; ++n) tarnvole::CfgText[n] = tarnvole::NumberText(count);
  tarnvole::WriteStagedRecords(first, last, 0);
}

// Books losses on the file shared with other writers; a message box that a
// failed write shows is answered at once and counted.
int BookLosses(int argc, char** argv, int count) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  int messages = 0;
  QTimer answerer;
  QObject::connect(&answerer, &QTimer::timeout, [&messages] {
    if (QWidget* box = QApplication::activeModalWidget()) {
      ++messages;
      box->close();
    }
  });
  answerer.start(20);
  for (int i = 0; i < count; ++i)
    tarnvole::BookRecordsAfresh(tarnvole::GameEnd::Loss(platform::Today()));
  tarnvole::WritePendingBookings();
  std::printf("messages %d\n", messages);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  if (std::strcmp(argv[1], "book") == 0) {
    tarnvole::CfgFileName = QStringLiteral("tarnvole.cfg");
    return BookLosses(argc, argv, std::atoi(argv[2]));
  }
  if (std::strcmp(argv[1], "hold") == 0) {
    platform::RecordFileLock lock(QStringLiteral("tarnvole.cfg"));
    if (!lock.Held()) return 4;
    std::puts("locked");
    std::fflush(stdout);
    QThread::msleep(std::atoi(argv[2]));
    return 0;
  }
  const int first = std::atoi(argv[1]);
  const int last = std::atoi(argv[2]);
  tarnvole::CfgFileName = QStringLiteral("tarnvole.cfg");

  if (argc > 3) {
    const rlimit limit{static_cast<rlim_t>(std::atol(argv[3])), static_cast<rlim_t>(std::atol(argv[3]))};
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return 3;
    try {
      WriteCount(first, last, 1);
      std::puts("written");
    } catch (const platform::VbError&) {
      std::puts("failed");
    }
    return 0;
  }

  QElapsedTimer running;
  running.start();
  for (tarnvole::Long count = 1; running.elapsed() < LongestRunMs; ++count) {
    WriteCount(first, last, count);
    if (count == 1) {
      std::puts("ready");
      std::fflush(stdout);
    }
  }
  return 0;
}
