#include "platform/forms.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <cstdio>
#include <memory>
#include <unistd.h>

#include "platform/controls.h"
#include "platform/widgets.h"

namespace platform {

namespace {
QPointer<QWidget>& MainWindowRef() {
  static QPointer<QWidget> window;
  return window;
}
std::function<void()>& EndHook() {
  static std::function<void()> hook;
  return hook;
}
}  // namespace

namespace {

// Refuses user input to every window but the one shown modally. Used for a
// window that must not take the focus: Qt activates a window it shows as
// modal, so the main window would lose the focus at every pause.
class InputBlocker : public QObject {
 public:
  explicit InputBlocker(QWidget* shown) : shown_(shown) { qApp->installEventFilter(this); }
  ~InputBlocker() override { qApp->removeEventFilter(this); }

 protected:
  bool eventFilter(QObject* receiver, QEvent* event) override {
    if (!shown_ || !IsUserInput(event->type())) return false;
    bool blocked = false;
    if (auto* widget = qobject_cast<QWidget*>(receiver))
      blocked = widget->window() != shown_;
    else if (auto* window = qobject_cast<QWindow*>(receiver))
      // A release still reaches the window itself, never a widget in it:
      // the window ends the mouse grab of the press that went before the
      // pause, so that afterwards the pointer reaches the toolbar and the
      // board again instead of the widget that had the press.
      blocked = window != shown_->windowHandle() && event->type() != QEvent::MouseButtonRelease;
    if (blocked) event->ignore();
    return blocked;
  }

 private:
  static bool IsUserInput(QEvent::Type type) {
    switch (type) {
      case QEvent::MouseButtonPress: case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick: case QEvent::MouseMove:
      case QEvent::NonClientAreaMouseButtonPress: case QEvent::NonClientAreaMouseButtonRelease:
      case QEvent::NonClientAreaMouseButtonDblClick: case QEvent::NonClientAreaMouseMove:
      case QEvent::Wheel: case QEvent::KeyPress: case QEvent::KeyRelease:
      case QEvent::ShortcutOverride: case QEvent::Shortcut: case QEvent::ContextMenu:
      case QEvent::TabletPress: case QEvent::TabletMove: case QEvent::TabletRelease:
      case QEvent::TouchBegin: case QEvent::TouchUpdate: case QEvent::TouchEnd:
      case QEvent::TouchCancel: case QEvent::Enter: case QEvent::HoverEnter:
      case QEvent::HoverMove: case QEvent::Close:
        return true;
      default:
        return false;
    }
  }
  QPointer<QWidget> shown_;
};

// Keeps the shown modal window within the player's reach. A window manager
// may minimise it with the main window, or alone: then the board, which
// refuses every click while the modal window is up, would give no sign why.
// A modal window minimised while the main window is shown comes back at
// once; one minimised with the main window comes back when that is restored.
class ModalKeeper : public QObject {
 public:
  static void Install() {
    static QPointer<ModalKeeper> keeper;
    if (!keeper) keeper = new ModalKeeper();
  }

 protected:
  // Checked once the window system has passed on every change of the
  // moment: a window manager that minimises both windows does so one at a
  // time.
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::WindowStateChange &&
        (watched == MainWindow() || watched == QApplication::activeModalWidget()))
      QTimer::singleShot(0, this, &ModalKeeper::BringBackModal);
    return false;
  }

 private:
  ModalKeeper() : QObject(qApp) { qApp->installEventFilter(this); }

  static void BringBackModal() {
    QWidget* main = MainWindow();
    if (!main || !main->isVisible() || main->isMinimized()) return;
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible() || !modal->isMinimized()) return;
    modal->setWindowState(modal->windowState() & ~Qt::WindowMinimized);
    modal->raise();
    modal->activateWindow();
  }
};

// The main window when it is shown: a window shown over it is its transient,
// which the window manager keeps above it and minimises and restores with it.
QWidget* ShownMainWindow() {
  QWidget* owner = MainWindowRef();
  return owner && owner->isVisible() ? owner : nullptr;
}

}  // namespace

void SetMainWindow(QWidget* window) { MainWindowRef() = window; }
QWidget* MainWindow() { return MainWindowRef(); }

// A dialog keeps its size: its title bar offers the close box only, no
// minimise or maximise button.
Form::Form()
    : QWidget(nullptr, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                           Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
  setAttribute(Qt::WA_DeleteOnClose, false);
}

Form::~Form() {
  if (onUnload_) onUnload_();
}

void Form::setClientSize(int widthTwips, int heightTwips) {
  setFixedSize(Px(widthTwips), Px(heightTwips));
}

void Form::setBorderless() {
  setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus);
  setAttribute(Qt::WA_ShowWithoutActivating);
}

void Form::ShowForm(int modal) {
  // The pause windows have no owner: they never show a frame to minimise.
  const bool paused = windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus);
  QWidget* const owner = ShownMainWindow();
  if (!paused && owner && owner != this && parentWidget() != owner) setParent(owner, windowFlags());
  if (centerOnOwner_) {
    const QRect area = owner ? owner->frameGeometry()
                       : screen() ? screen()->availableGeometry() : QRect();
    if (area.isValid()) move(area.center() - QPoint(width() / 2, height() / 2));
  }
  if (modal != Modal) {
    show();
    return;
  }
  std::unique_ptr<InputBlocker> blocker;
  if (paused) {
    blocker = std::make_unique<InputBlocker>(this);
  } else {
    setWindowModality(Qt::ApplicationModal);
    ModalKeeper::Install();
  }
  QEventLoop loop;
  QPointer<Form> self(this);
  loop_ = &loop;
  show();
  if (!unloading_) loop.exec(QEventLoop::DialogExec);
  if (self) self->loop_ = nullptr;
}

void Form::UnloadForm() {
  if (unloading_) return;
  unloading_ = true;
  if (onUnload_) {
    onUnload_();
    onUnload_ = nullptr;
  }
  hide();
  if (loop_) loop_->quit();
  deleteLater();
}

void Form::closeEvent(QCloseEvent* event) {
  // Closing a dialog any other way than by its own buttons just unloads it.
  event->accept();
  UnloadForm();
}

QString ProgramTitle() { return QStringLiteral("TarnVole"); }

int MsgBox(const QString& prompt, int buttons, const QString& title) {
  QString shown = prompt;
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
  QMessageBox box(QMessageBox::NoIcon, title.isEmpty() ? ProgramTitle() : title, shown,
                  QMessageBox::NoButton, ShownMainWindow());
  box.setProperty("prompt", prompt);
  // The face that stands in for the system's message font, for the prompt
  // and the buttons alike: digits and Japanese then come from one face.
  box.setFont(VbFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));
  box.setWindowModality(Qt::ApplicationModal);
  ModalKeeper::Install();
  if (buttons == vbYesNo) {
    // A Yes/No question has no escape: Esc or the close box must not answer
    // for the player. Neither button carries a role that Qt would take as
    // the escape button, and the box comes back until one is pressed.
    QPushButton* yes = box.addButton(QStringLiteral("はい(&Y)"), QMessageBox::YesRole);
    box.addButton(QStringLiteral("いいえ(&N)"), QMessageBox::ActionRole);
    box.setDefaultButton(yes);
    do {
      box.exec();
    } while (box.clickedButton() == nullptr);
    return box.clickedButton() == yes ? vbYes : vbNo;
  }
  box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
  box.exec();
  return vbOK;
}

void EndProgram() {
  if (auto& hook = EndHook()) {
    hook();
    return;
  }
  EndProgramNow();
}

void EndProgramNow() {
  std::fflush(nullptr);
  ::_exit(0);
}

void SetEndHookForTesting(std::function<void()> hook) { EndHook() = std::move(hook); }

}  // namespace platform
