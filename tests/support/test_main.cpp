// Runs every test inside one QApplication on the offscreen platform.
#include <QApplication>
#include <gtest/gtest.h>

#include "support/test_support.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  testing_support::ModalWatchdog::Start();
  return RUN_ALL_TESTS();
}
