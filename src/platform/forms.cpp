#include "platform/forms.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <cstdio>
#include <unistd.h>

#include "platform/controls.h"

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

void SetMainWindow(QWidget* window) { MainWindowRef() = window; }
QWidget* MainWindow() { return MainWindowRef(); }

Form::Form() : QWidget(nullptr, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint) {
  setAttribute(Qt::WA_DeleteOnClose, false);
}

Form::~Form() {
  if (onUnload_) onUnload_();
}

void Form::setClientSize(int widthTwips, int heightTwips) {
  setFixedSize(Px(widthTwips), Px(heightTwips));
}

void Form::setBorderless() {
  setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus);
  setAttribute(Qt::WA_ShowWithoutActivating);
}

void Form::ShowForm(int modal) {
  if (centerOnOwner_) {
    const QWidget* owner = MainWindow();
    const QRect area = owner && owner->isVisible() ? owner->frameGeometry()
                       : screen() ? screen()->availableGeometry() : QRect();
    if (area.isValid()) move(area.center() - QPoint(width() / 2, height() / 2));
  }
  if (modal != Modal) {
    show();
    return;
  }
  setWindowModality(Qt::ApplicationModal);
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
                  QMessageBox::NoButton, MainWindow() && MainWindow()->isVisible() ? MainWindow() : nullptr);
  box.setProperty("prompt", prompt);
  box.setWindowModality(Qt::ApplicationModal);
  if (buttons == vbYesNo) {
    box.addButton(QStringLiteral("はい(&Y)"), QMessageBox::YesRole);
    QPushButton* yes = qobject_cast<QPushButton*>(box.buttons().value(0));
    box.addButton(QStringLiteral("いいえ(&N)"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(box.buttons().value(1));
    box.exec();
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
