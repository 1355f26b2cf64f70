// Windows used through one project-wide instance each.
//
// Load<T>() creates the window when it does not exist and runs its Form_Load;
// Show<T>(Modal) loads it, shows it, and for a modal showing runs a nested
// event loop that returns only when the window has unloaded itself;
// Unload<T>() hides and destroys it, so the next use loads it anew.
// While a modal window is shown every other window takes no input but keeps
// repainting.
#pragma once

#include <QEventLoop>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>

namespace platform {

constexpr int Modeless = 0;
constexpr int Modal = 1;

// Base of every window of the game other than the main window.
class Form : public QWidget {
  Q_OBJECT
 public:
  Form();
  ~Form() override;

  virtual void Form_Load() {}

  // Client area in twips.
  void setClientSize(int widthTwips, int heightTwips);
  void setCaption(const QString& caption) { setWindowTitle(caption); }
  // Centre on the main window (or the screen when there is none) when shown.
  void setCenterOnOwner(bool center) { centerOnOwner_ = center; }
  // Without a title bar and frame, never taking the focus (the pause
  // windows); shown modally it still refuses input to every other window.
  void setBorderless();

  void ShowForm(int modal);
  void UnloadForm();
  bool Unloading() const { return unloading_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  QEventLoop* loop_ = nullptr;
  bool centerOnOwner_ = false;
  bool unloading_ = false;
  std::function<void()> onUnload_;
  template <class T> friend class FormSlot;
};

// The main window, which dialogs centre on; set by the main window itself.
void SetMainWindow(QWidget* window);
QWidget* MainWindow();

template <class T>
class FormSlot {
 public:
  static T* instance() { return instance_; }
  static T& Load() {
    if (!instance_) {
      T* form = new T();
      instance_ = form;
      form->onUnload_ = [] { instance_ = nullptr; };
      form->Form_Load();
    }
    return *instance_;
  }

 private:
  static inline QPointer<T> instance_;
};

template <class T>
T& Load() { return FormSlot<T>::Load(); }

template <class T>
bool IsLoaded() { return FormSlot<T>::instance() != nullptr; }

template <class T>
void Show(int modal) { Load<T>().ShowForm(modal); }

template <class T>
void Unload() {
  if (T* form = FormSlot<T>::instance()) form->UnloadForm();
}

// A message box. Buttons: 0 OK only, 4 Yes and No (Yes the default).
// Returns 1 for OK, 6 for Yes, 7 for No. An empty title gives the program's
// title. A carriage return in the prompt starts a new line.
constexpr int vbOKOnly = 0;
constexpr int vbYesNo = 4;
constexpr int vbOK = 1;
constexpr int vbYes = 6;
constexpr int vbNo = 7;
int MsgBox(const QString& prompt, int buttons = vbOKOnly, const QString& title = QString());
QString ProgramTitle();

// Ends the program at once, inside whatever modal loops are running.
// Tests replace the ending with a hook; the hook returns, and so must the
// caller.
[[noreturn]] void EndProgramNow();
void EndProgram();
void SetEndHookForTesting(std::function<void()> hook);

}  // namespace platform
