#include "support/test_support.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QMessageBox>

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "platform/forms.h"
#include "platform/vb.h"
#include "settings_records/module1.h"

namespace testing_support {

ScratchFolder::ScratchFolder() : previous_(QDir::currentPath()) {
  QDir::setCurrent(dir_.path());
}

ScratchFolder::~ScratchFolder() { QDir::setCurrent(previous_); }

QString ScratchFolder::Path(const QString& name) const {
  return name.isEmpty() ? dir_.path() : dir_.filePath(name);
}

QByteArray ScratchFolder::Read(const QString& name) const {
  QFile f(Path(name));
  if (!f.open(QIODevice::ReadOnly)) return QByteArray();
  return f.readAll();
}

void ScratchFolder::Write(const QString& name, const QByteArray& bytes) const {
  QFile f(Path(name));
  if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(bytes);
}

QByteArray DefaultCfgBytes() {
  const char* texts[] = {" 0", " 0", " 2", " 2", " 1", " 1", " 0", " 0", " 0",
                         " 0", " 0", " 0", " 0", " 0", " 3600", " 0", " 0", " 0",
                         " 999", " 0", " 0", " 0", " 1000", " 1000", " 7980", " 9705"};
  QByteArray bytes;
  for (const char* t : texts) bytes += QByteArray(t).leftJustified(8, ' ');
  return bytes;
}

QByteArray WithRecord(QByteArray file, int record, const QByteArray& text) {
  const int offset = (record - 1) * 8;
  if (file.size() < offset + 8) file = file.leftJustified(offset + 8, ' ');
  file.replace(offset, 8, text.leftJustified(8, ' ', true));
  return file;
}

QByteArray RecordOf(const QByteArray& file, int record) { return file.mid((record - 1) * 8, 8); }

namespace {
bool SameValue(int record, const QString& a, const QString& b) {
  try {
    return tarnvole::IsDateRecord(record) ? tarnvole::DateFromText(a) == tarnvole::DateFromText(b)
                                          : tarnvole::NumberFromText(a) == tarnvole::NumberFromText(b);
  } catch (const platform::VbError&) {
    return false;
  }
}
}  // namespace

void StoreChangedRecords(int first, int last) {
  QFile file(QStringLiteral("tarnvole.cfg"));
  if (!file.open(QIODevice::ReadOnly)) return;
  QByteArray bytes = file.readAll();
  file.close();
  tarnvole::StageRecordTexts(first, last);
  for (int n = first; n <= last; ++n) {
    const QString inFile = QString::fromLatin1(RecordOf(bytes, n));
    if (!SameValue(n, inFile, tarnvole::CfgText[n]))
      bytes = WithRecord(bytes, n, tarnvole::CfgText[n].toLatin1());
  }
  if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) file.write(bytes);
}

ModalAnswerer::ModalAnswerer(QString button) : messageBoxButton(std::move(button)) {
  QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
  timer_.start(5);
}

ModalAnswerer::~ModalAnswerer() { timer_.stop(); }

void ModalAnswerer::Poll() {
  QWidget* modal = QApplication::activeModalWidget();
  if (!modal || !modal->isVisible()) return;
  if (auto* box = qobject_cast<QMessageBox*>(modal)) {
    if (modal == lastHandled_) return;
    lastHandled_ = modal;
    prompts << box->property("prompt").toString();
    titles << box->windowTitle();
    for (QAbstractButton* b : box->buttons()) {
      if (b->text().startsWith(messageBoxButton)) {
        b->click();
        return;
      }
    }
    box->buttons().value(0)->click();
    return;
  }
  if (modal == lastHandled_) return;
  lastHandled_ = modal;
  if (onOtherWindow) {
    onOtherWindow(modal);
    return;
  }
  ADD_FAILURE() << "a modal window that no answerer expects: \""
                << modal->windowTitle().toStdString() << "\"";
  DismissModal(modal);
}

void DismissModal(QWidget* window) {
  if (auto* box = qobject_cast<QMessageBox*>(window)) {
    // A Yes/No box comes back until a button is pressed: press one.
    QAbstractButton* button = box->escapeButton() ? box->escapeButton() : box->buttons().value(0);
    if (button)
      button->click();
    else
      box->done(0);
  } else if (auto* form = qobject_cast<platform::Form*>(window)) {
    form->UnloadForm();
  } else {
    window->close();
  }
}

namespace {
struct Watch {
  QTimer timer;
  QPointer<QWidget> window;
  QElapsedTimer openFor;
  int graceMs = ModalWatchdog::DefaultGraceMs;
};
Watch* theWatch = nullptr;

void WatchPoll() {
  QWidget* modal = QApplication::activeModalWidget();
  if (!modal || !modal->isVisible()) {
    theWatch->window = nullptr;
    return;
  }
  if (modal != theWatch->window) {
    theWatch->window = modal;
    theWatch->openFor.start();
    return;
  }
  if (theWatch->openFor.elapsed() < theWatch->graceMs) return;
  ADD_FAILURE() << "a modal window stayed open " << theWatch->openFor.elapsed()
                << " ms without an answer: \"" << modal->windowTitle().toStdString() << "\"";
  theWatch->openFor.start();
  DismissModal(modal);
}
}  // namespace

void ModalWatchdog::Start() {
  if (theWatch) return;
  theWatch = new Watch;
  QObject::connect(&theWatch->timer, &QTimer::timeout, [] { WatchPoll(); });
  theWatch->timer.start(20);
}

void ModalWatchdog::SetGraceForTesting(int ms) {
  if (theWatch) theWatch->graceMs = ms > 0 ? ms : DefaultGraceMs;
}

EndRecorder::EndRecorder() {
  platform::SetEndHookForTesting([this] { ++ends; });
}

EndRecorder::~EndRecorder() { platform::SetEndHookForTesting(nullptr); }

namespace {
// Capabilities are per thread on Linux; pid 0 names the calling thread.
bool Capabilities(bool set, __user_cap_data_struct (&data)[2]) {
  __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
  return syscall(set ? SYS_capset : SYS_capget, &header, data) == 0;
}
constexpr unsigned int OverrideBits = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH);
}  // namespace

PermissionsEnforced::PermissionsEnforced() {
  __user_cap_data_struct data[2] = {};
  if (!Capabilities(false, data)) return;
  savedEffective_[0] = data[0].effective;
  savedEffective_[1] = data[1].effective;
  if ((data[0].effective & OverrideBits) == 0) {
    active = true;
    return;
  }
  data[0].effective &= ~OverrideBits;
  dropped_ = active = Capabilities(true, data);
}

PermissionsEnforced::~PermissionsEnforced() {
  if (!dropped_) return;
  __user_cap_data_struct data[2] = {};
  if (!Capabilities(false, data)) return;
  data[0].effective = savedEffective_[0];
  data[1].effective = savedEffective_[1];
  Capabilities(true, data);
}

bool ShowsItsFocus(QWidget* button, QWidget* elsewhere) {
  button->setFocus();
  EXPECT_TRUE(button->hasFocus()) << "the window is not the active one";
  const QImage focused = button->grab().toImage();
  elsewhere->setFocus();
  EXPECT_FALSE(button->hasFocus());
  return button->grab().toImage() != focused;
}

}  // namespace testing_support
