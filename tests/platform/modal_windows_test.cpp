// Modal windows over the main window: the window manager is told they belong
// to it and keep their size, and one that was minimised comes back rather
// than leave the player before a board that refuses every click.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <array>
#include <functional>

#include "platform/forms.h"
#include "support/test_support.h"

namespace {

class Dialog : public platform::Form {
 public:
  Dialog() {
    setClientSize(3000, 1500);
    setCaption(QStringLiteral("dialog"));
    setCenterOnOwner(true);
  }
};

class ModalWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    main.setWindowTitle(QStringLiteral("main"));
    main.setFixedSize(600, 400);
    main.move(100, 100);
    main.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    platform::SetMainWindow(&main);
  }
  void TearDown() override {
    platform::SetMainWindow(nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  // Shows a modal window by `show` and runs `inside` on it once it is up;
  // the window is then closed (a stuck one after five seconds, so that a
  // failure cannot hang the test).
  static void WithModal(const std::function<void()>& show, const std::function<void(QWidget*)>& inside) {
    bool ran = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
      QWidget* modal = QApplication::activeModalWidget();
      if (ran || !modal || !modal->isVisible()) return;
      ran = true;
      inside(modal);
      testing_support::DismissModal(modal);
    });
    poll.start(5);
    QTimer::singleShot(5000, [] {
      if (QWidget* modal = QApplication::activeModalWidget()) testing_support::DismissModal(modal);
    });
    show();
    EXPECT_TRUE(ran);
  }

  QWidget main;
};

const std::array<std::pair<const char*, std::function<void()>>, 3> Shows = {{
    {"dialog", [] { platform::Show<Dialog>(platform::Modal); }},
    {"OK message box", [] { platform::MsgBox(QStringLiteral("message")); }},
    {"Yes/No message box", [] { platform::MsgBox(QStringLiteral("question"), platform::vbYesNo); }},
}};

// What the window manager reads: a transient of the main window (so it is
// kept above it and minimised and restored with it) whose smallest and
// largest sizes are its size. A dialog still opens centred on the main window.
TEST_F(ModalWindows, AreTransientsOfTheMainWindowAndCannotBeResized) {
  for (const auto& [name, show] : Shows) {
    SCOPED_TRACE(name);
    WithModal(show, [&](QWidget* modal) {
      EXPECT_TRUE(modal->isWindow());
      ASSERT_NE(modal->windowHandle(), nullptr);
      EXPECT_EQ(modal->windowHandle()->transientParent(), main.windowHandle());
      EXPECT_EQ(modal->minimumSize(), modal->maximumSize());
      EXPECT_EQ(modal->size(), modal->minimumSize());
      if (!qobject_cast<QMessageBox*>(modal)) {
        const QPoint offset = modal->geometry().center() - main.frameGeometry().center();
        EXPECT_LE(offset.manhattanLength(), 2) << offset.x() << "," << offset.y();
      }
    });
  }
}

// Minimised through Qt, as a window manager's minimising reaches the program:
// alone before the shown main window it comes back at once; with the main
// window it stays down until the main window is restored.
TEST_F(ModalWindows, AMinimisedOneComesBackWhileTheMainWindowIsShown) {
  // A dialog only: on the offscreen platform a message box un-minimises
  // itself, so there it would prove nothing.
  const auto& show = Shows[0].second;
  {
    SCOPED_TRACE("minimised alone");
    WithModal(show, [&](QWidget* modal) {
      modal->showMinimized();
      EXPECT_TRUE(QTest::qWaitFor([&] { return !modal->isMinimized(); }, 2000));
      EXPECT_TRUE(modal->isVisible());
      EXPECT_FALSE(main.isMinimized());
    });
  }
  {
    SCOPED_TRACE("minimised with the main window");
    WithModal(show, [&](QWidget* modal) {
      main.setWindowState(main.windowState() | Qt::WindowMinimized);
      modal->setWindowState(modal->windowState() | Qt::WindowMinimized);
      QTest::qWait(20);
      ASSERT_TRUE(modal->isMinimized());
      main.setWindowState(main.windowState() & ~Qt::WindowMinimized);
      EXPECT_TRUE(QTest::qWaitFor([&] { return !modal->isMinimized(); }, 2000));
      EXPECT_TRUE(modal->isVisible());
    });
    main.setWindowState(Qt::WindowNoState);
  }
}

}  // namespace
