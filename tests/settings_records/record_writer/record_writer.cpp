// A helper program for the tests that kill a writer in the middle of a
// write. In the current folder it writes records of "tarnvole.cfg" the way
// the game does:
//   record_writer FIRST LAST        writes over and over; at each write every
//                                   record FIRST..LAST holds the same count,
//                                   one more than before; "ready" follows the
//                                   first write
//   record_writer FIRST LAST LIMIT  writes once under a file-size limit of
//                                   LIMIT bytes and prints "written" or "failed"
#include <sys/resource.h>

#include <QElapsedTimer>
#include <cstdio>
#include <cstdlib>

#include "platform/vb.h"
#include "settings_records/module1.h"

namespace {

// A writer that the test lost track of still ends.
constexpr qint64 LongestRunMs = 30000;

void WriteCount(int first, int last, tarnvole::Long count) {
  for (int n = first; n <= last; ++n) tarnvole::CfgText[n] = tarnvole::NumberText(count);
  tarnvole::WriteStagedRecords(first, last, 0);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 2;
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
