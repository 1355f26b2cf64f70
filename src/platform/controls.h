// Windowless controls and the surface that hosts them.
//
// The board's pictures and the clock label are lightweight controls drawn by
// their window (a ControlSurface), not widgets of their own: the surface keeps
// them in stacking order, paints the shown ones from back to front, finds the
// topmost shown control under the pointer, and raises the control's events.
// Positions and sizes are kept in twips, 15 to a pixel.
//
// Mouse events: a press captures the mouse for the control (or the bare
// window) under it until every button is up. A left double-click raises
// DblClick in place of the second press only when the first press of the pair
// went to the same control of this window and no press went anywhere else in
// between; Qt pairs clicks by time and distance alone, even across windows,
// and such a pair counts here as a fresh press. The other way round, any
// window of the program that was shown after the first press of a pair
// ignores the pair's second press: the player aimed it at what lay there
// before the window opened.
// Drag() during a press begins a manual drag: a picture of the control
// follows the pointer, and the release raises DragDrop on the topmost shown
// control under the pointer, or nothing when that control takes no drops or
// there is none.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "platform/picture.h"

namespace platform {

constexpr int TwipsPerPixel = 15;
// Pixels from twips, to the nearest pixel.
inline int Px(long long twips) {
  return static_cast<int>(twips >= 0 ? (twips + TwipsPerPixel / 2) / TwipsPerPixel
                                     : -((-twips + TwipsPerPixel / 2) / TwipsPerPixel));
}

// Mouse buttons as the game numbers them.
enum MouseButton : int { LeftButton = 1, RightButton = 2, MiddleButton = 4 };

class ControlSurface;

using MouseHandler = std::function<void(int index, int button, int shift, float x, float y)>;
using IndexHandler = std::function<void(int index)>;

class Control {
 public:
  Control(ControlSurface* surface, int index);
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  int Index() const { return index_; }

  bool Visible() const { return visible_; }
  void setVisible(bool visible);
  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void setLeft(int twips);
  void setTop(int twips);
  void Move(int left, int top, int width, int height);
  // Brings the control in front of every other control of its window.
  void ZOrder();
  // Keeps the control in front of every control without this flag (the
  // clock label over the cards).
  void setStayOnTop(bool stay) { stayOnTop_ = stay; ZOrder(); }
  bool StayOnTop() const { return stayOnTop_; }
  // Begins a manual drag of this control (only during a press on it).
  void Drag();

  QRect PixelRect() const;

  // Events; a control without a handler for an event still takes it, so the
  // window behind it does not see it.
  MouseHandler MouseDown, MouseUp, MouseMove;
  IndexHandler DblClick;
  IndexHandler DragDrop;

  virtual void Paint(QPainter& painter) const = 0;
  // The picture a drag shows while it follows the pointer.
  virtual QPixmap DragPixmap() const { return QPixmap(); }

 protected:
  void Update() const;
  ControlSurface* surface_;

 private:
  int index_;
  bool visible_ = true;
  bool stayOnTop_ = false;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
};

// A picture control: shows its picture at its top-left corner.
class Image : public Control {
 public:
  using Control::Control;
  platform::Picture Picture() const { return picture_; }
  void setPicture(const platform::Picture& picture);
  void Paint(QPainter& painter) const override;
  QPixmap DragPixmap() const override { return picture_.Pixmap(); }

 private:
  platform::Picture picture_;
};

// A label: text on a background, optionally boxed by a single line.
class Label : public Control {
 public:
  using Control::Control;
  QString Caption() const { return caption_; }
  void setCaption(const QString& caption);
  void setFont(const QFont& font) { font_ = font; Update(); }
  void setForeColor(const QColor& c) { fore_ = c; Update(); }
  void setBackColor(const QColor& c) { back_ = c; Update(); }
  void setBorder(bool single) { border_ = single; Update(); }
  void setCentered(bool centered) { centered_ = centered; Update(); }
  void Paint(QPainter& painter) const override;

 private:
  QString caption_;
  QFont font_;
  QColor fore_ = Qt::black;
  QColor back_ = Qt::white;
  bool border_ = false;
  bool centered_ = false;
};

// A control array: element 0 comes with the window; further elements are
// loaded at run time as copies of element 0's size, handlers and picture.
template <class T>
class ControlArray {
 public:
  explicit ControlArray(ControlSurface* surface) : surface_(surface) {}
  T& operator()(int index) const { return *elements_.at(index); }
  bool Exists(int index) const { return elements_.count(index) != 0; }
  int Count() const { return static_cast<int>(elements_.size()); }

  // Creates element `index` (element 0 when the array is empty).
  T& Load(int index) {
    auto element = std::make_unique<T>(surface_, index);
    if (auto first = elements_.find(0); first != elements_.end() && index != 0)
      CopyFrom(*element, *first->second);
    T& ref = *element;
    elements_[index] = std::move(element);
    return ref;
  }

 private:
  static void CopyFrom(T& to, const T& from) {
    to.Move(from.Left(), from.Top(), from.Width(), from.Height());
    to.MouseDown = from.MouseDown;
    to.MouseUp = from.MouseUp;
    to.MouseMove = from.MouseMove;
    to.DblClick = from.DblClick;
    to.DragDrop = from.DragDrop;
    if constexpr (std::is_same_v<T, Image>) to.setPicture(from.Picture());
  }

  ControlSurface* surface_;
  std::map<int, std::unique_ptr<T>> elements_;
};

// A window that hosts windowless controls.
class ControlSurface : public QWidget {
  Q_OBJECT
 public:
  explicit ControlSurface(QWidget* parent = nullptr);
  ~ControlSurface() override;

  // Events of the bare window (no control under the pointer).
  MouseHandler FormMouseDown, FormMouseUp, FormMouseMove;

  // The topmost shown control at a point in pixels, or nullptr.
  Control* ControlAt(const QPoint& pixel) const;
  bool Dragging() const { return dragSource_ != nullptr; }
  const Control* DragSource() const { return dragSource_; }

  // The window's pointer: 0 the default, 99 the custom pointer set here.
  void setMousePointer(int pointer);
  int MousePointer() const { return mousePointer_; }
  void setMouseIcon(const QCursor& cursor) { mouseIcon_ = cursor; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  friend class Control;
  void Register(Control* c);
  void Unregister(Control* c);
  void BringToFront(Control* c);
  void BeginDrag(Control* c);
  void Press(QMouseEvent* event);
  void BeginPair(QMouseEvent* event);
  bool EndsPair(const Control* target) const;
  void Dispatch(const MouseHandler& formHandler, Control* target, QMouseEvent* event,
                MouseHandler Control::*member, int button);
  QRect GhostRect() const;

  std::vector<Control*> stack_;  // back to front
  Control* capture_ = nullptr;
  bool captureForm_ = false;
  Control* dragSource_ = nullptr;
  QPixmap dragPixmap_;
  QPoint dragOffset_;
  QPoint dragPos_;
  QPoint pressPos_;  // where the press that holds the capture went down
  // The last left press this window took, and the program-wide press count
  // it left behind: a double-click pairs with it only when the count has
  // grown by the double-click's own press alone.
  bool pairOpen_ = false;
  const Control* pairControl_ = nullptr;
  unsigned long long pairPressCount_ = 0;
  int mousePointer_ = 0;
  QCursor mouseIcon_;
};

int ButtonCode(Qt::MouseButton button);
int ShiftCode(Qt::KeyboardModifiers modifiers);

}  // namespace platform
