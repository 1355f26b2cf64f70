// Helpers shared by the tests: a scratch working folder, an answerer for
// modal windows, and a recorder for the program's end.
#pragma once

#include <QByteArray>
#include <QPointer>
#include <QDir>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

namespace testing_support {

// Makes a fresh empty folder the current directory for the test's lifetime.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  QString Path(const QString& name = QString()) const;
  QByteArray Read(const QString& name) const;
  void Write(const QString& name, const QByteArray& bytes) const;

 private:
  QTemporaryDir dir_;
  QString previous_;
};

// The 208 bytes of the default settings file.
QByteArray DefaultCfgBytes();
// The file with record n (1-based) replaced by text, blank-padded to 8.
QByteArray WithRecord(QByteArray file, int record, const QByteArray& text);
// Record n of a file's bytes.
QByteArray RecordOf(const QByteArray& file, int record);
// Puts records first..last of the values in memory into "tarnvole.cfg" in
// the current folder where the file holds another value, as this program's
// own last write would have left them: the game-end dialogs book on what the
// file holds. A record already holding the value keeps its text.
void StoreChangedRecords(int first, int last);

// Answers every modal window that opens while it lives: message boxes get
// their prompt recorded and a button pressed (by its text: "OK", "はい",
// "いいえ"); any other modal window is handed to `onOtherWindow`. Without
// `onOtherWindow`, such a window fails the test, naming its title, and is
// closed so that the test ends.
class ModalAnswerer {
 public:
  explicit ModalAnswerer(QString messageBoxButton = QStringLiteral("OK"));
  ~ModalAnswerer();
  QStringList prompts;
  QStringList titles;
  QString messageBoxButton;
  std::function<void(QWidget*)> onOtherWindow;

 private:
  void Poll();
  QTimer timer_;
  QPointer<QWidget> lastHandled_;
};

// Closes a modal window whatever it is: a message box by a button, a form of
// the game by unloading it, anything else by closing it.
void DismissModal(QWidget* window);

// Whether a shown button looks different with the focus than after the focus
// has moved on to `elsewhere`: the focus frame shows.
bool ShowsItsFocus(QWidget* button, QWidget* elsewhere);

// Watches every modal window for the whole test run: one that stays open
// longer than the grace time (nobody answers it, or the answer did not close
// it) fails the running test, naming its title, and is closed, so that a test
// that meets an unexpected window fails instead of waiting for ever.
class ModalWatchdog {
 public:
  static constexpr int DefaultGraceMs = 10000;
  static void Start();
  // A shorter grace for the tests of the watchdog itself; 0 restores the default.
  static void SetGraceForTesting(int ms);
};

// Replaces the program's end with a counter for the test's lifetime.
class EndRecorder {
 public:
  EndRecorder();
  ~EndRecorder();
  int ends = 0;
};

// While it lives, file permissions apply to this thread even for the
// superuser: the capabilities that override them are dropped from the
// effective set and restored at the end. `active` is false where they could
// not be dropped; an ordinary user needs nothing dropped and gets true.
class PermissionsEnforced {
 public:
  PermissionsEnforced();
  ~PermissionsEnforced();
  PermissionsEnforced(const PermissionsEnforced&) = delete;
  PermissionsEnforced& operator=(const PermissionsEnforced&) = delete;
  bool active = false;

 private:
  bool dropped_ = false;
  unsigned int savedEffective_[2] = {0, 0};
};

}  // namespace testing_support
