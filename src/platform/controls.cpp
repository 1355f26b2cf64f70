#include "platform/controls.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QPointer>
#include <algorithm>
#include <unordered_map>

namespace platform {

int ButtonCode(Qt::MouseButton button) {
  switch (button) {
    case Qt::LeftButton: return LeftButton;
    case Qt::RightButton: return RightButton;
    case Qt::MiddleButton: return MiddleButton;
    default: return 0;
  }
}

static int ButtonsCode(Qt::MouseButtons buttons) {
  int code = 0;
  if (buttons & Qt::LeftButton) code |= LeftButton;
  if (buttons & Qt::RightButton) code |= RightButton;
  if (buttons & Qt::MiddleButton) code |= MiddleButton;
  return code;
}

int ShiftCode(Qt::KeyboardModifiers modifiers) {
  int code = 0;
  if (modifiers & Qt::ShiftModifier) code |= 1;
  if (modifiers & Qt::ControlModifier) code |= 2;
  if (modifiers & Qt::AltModifier) code |= 4;
  return code;
}

namespace {

// Counts the presses delivered to any widget of the program, double-click
// presses included, so that a surface can tell whether a double-click's first
// press was its own. A press passed on from a child to its parent counts
// again; that only ever breaks a pair, never makes one.
//
// It also notes the count at which each window was shown. Qt pairs a press
// with the one before it by time and distance alone, even when a window
// opened under the pointer in between: such a window swallows the pair's
// second press, which the player aimed at whatever lay there before.
class PressCounter : public QObject {
 public:
  unsigned long long count = 0;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (!watched->isWidgetType()) return false;
    const auto* widget = static_cast<const QWidget*>(watched);
    switch (event->type()) {
      case QEvent::Show:
        if (widget->isWindow()) shownAt_[widget] = count;
        break;
      case QEvent::Hide:
        if (widget->isWindow()) shownAt_.erase(widget);
        break;
      case QEvent::MouseButtonPress:
        ++count;
        break;
      case QEvent::MouseButtonDblClick: {
        const auto shown = shownAt_.find(widget->window());
        const bool shownSinceFirstPress = shown != shownAt_.end() && shown->second == count;
        ++count;
        return shownSinceFirstPress;
      }
      default:
        break;
    }
    return false;
  }

 private:
  std::unordered_map<const QWidget*, unsigned long long> shownAt_;
};

PressCounter& Presses() {
  static QPointer<PressCounter> counter;
  if (!counter) {
    counter = new PressCounter;
    counter->setParent(QCoreApplication::instance());
    QCoreApplication::instance()->installEventFilter(counter);
  }
  return *counter;
}

}  // namespace

// ---- Control -------------------------------------------------------------

Control::Control(ControlSurface* surface, int index) : surface_(surface), index_(index) {
  surface_->Register(this);
}

Control::~Control() { surface_->Unregister(this); }

QRect Control::PixelRect() const { return QRect(Px(left_), Px(top_), Px(width_), Px(height_)); }

void Control::Update() const {
  if (visible_) surface_->update(PixelRect());
}

void Control::setVisible(bool visible) {
  if (visible_ == visible) return;
  visible_ = visible;
  surface_->update(PixelRect());
}

void Control::setLeft(int twips) { Move(twips, top_, width_, height_); }
void Control::setTop(int twips) { Move(left_, twips, width_, height_); }

void Control::Move(int left, int top, int width, int height) {
  Update();
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  Update();
}

void Control::ZOrder() {
  surface_->BringToFront(this);
  Update();
}

void Control::Drag() { surface_->BeginDrag(this); }

// ---- Image and Label -----------------------------------------------------

void Image::setPicture(const platform::Picture& picture) {
  if (picture_ == picture) return;
  picture_ = picture;
  Update();
}

void Image::Paint(QPainter& painter) const {
  const QPixmap pixmap = picture_.Pixmap();
  if (!pixmap.isNull()) painter.drawPixmap(PixelRect().topLeft(), pixmap);
}

void Label::setCaption(const QString& caption) {
  if (caption_ == caption) return;
  caption_ = caption;
  Update();
}

void Label::Paint(QPainter& painter) const {
  const QRect r = PixelRect();
  painter.fillRect(r, back_);
  if (border_) {
    painter.setPen(Qt::black);
    painter.drawRect(r.adjusted(0, 0, -1, -1));
  }
  painter.setPen(fore_);
  painter.setFont(font_);
  const int flags = (centered_ ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop;
  painter.drawText(r.adjusted(border_ ? 1 : 0, border_ ? 1 : 0, 0, 0), flags, caption_);
}

// ---- ControlSurface ------------------------------------------------------

ControlSurface::ControlSurface(QWidget* parent) : QWidget(parent) {
  Presses();  // counting from now on, presses to other windows included
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

ControlSurface::~ControlSurface() = default;

void ControlSurface::Register(Control* c) {
  stack_.push_back(c);
  BringToFront(c);
}

void ControlSurface::Unregister(Control* c) {
  std::erase(stack_, c);
  if (capture_ == c) capture_ = nullptr;
  if (dragSource_ == c) dragSource_ = nullptr;
  if (pairControl_ == c) pairOpen_ = false;
}

void ControlSurface::BringToFront(Control* c) {
  auto it = std::find(stack_.begin(), stack_.end(), c);
  if (it == stack_.end()) return;
  stack_.erase(it);
  // In front of everything, but behind the controls that stay on top.
  auto place = stack_.end();
  if (!c->StayOnTop())
    while (place != stack_.begin() && (*(place - 1))->StayOnTop()) --place;
  stack_.insert(place, c);
}

Control* ControlSurface::ControlAt(const QPoint& pixel) const {
  for (auto it = stack_.rbegin(); it != stack_.rend(); ++it)
    if ((*it)->Visible() && (*it)->PixelRect().contains(pixel)) return *it;
  return nullptr;
}

void ControlSurface::setMousePointer(int pointer) {
  mousePointer_ = pointer;
  if (pointer == 99)
    setCursor(mouseIcon_);
  else
    unsetCursor();
}

QRect ControlSurface::GhostRect() const {
  return QRect(dragPos_ - dragOffset_, dragPixmap_.size());
}

void ControlSurface::BeginDrag(Control* c) {
  if (capture_ != c) return;  // a drag begins only from the control being pressed
  dragSource_ = c;
  dragPixmap_ = c->DragPixmap();
  // The press that takes the control, not the system pointer: that may
  // already have moved on, and test input does not move it at all.
  dragPos_ = pressPos_;
  dragOffset_ = dragPos_ - c->PixelRect().topLeft();
  update(GhostRect());
}

void ControlSurface::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  const QRect dirty = event->rect();
  painter.fillRect(dirty, palette().color(QPalette::Window));
  for (const Control* c : stack_)
    if (c->Visible() && c->PixelRect().intersects(dirty)) c->Paint(painter);
  if (dragSource_ && !dragPixmap_.isNull()) {
    painter.setOpacity(0.6);
    painter.drawPixmap(GhostRect().topLeft(), dragPixmap_);
  }
}

void ControlSurface::Dispatch(const MouseHandler& formHandler, Control* target, QMouseEvent* event,
                              MouseHandler Control::*member, int button) {
  const QPoint p = event->position().toPoint();
  const int shift = ShiftCode(event->modifiers());
  if (target) {
    const MouseHandler& handler = target->*member;
    if (!handler) return;
    const QPoint local = p - target->PixelRect().topLeft();
    handler(target->Index(), button, shift, static_cast<float>(local.x() * TwipsPerPixel),
            static_cast<float>(local.y() * TwipsPerPixel));
  } else if (formHandler) {
    formHandler(0, button, shift, static_cast<float>(p.x() * TwipsPerPixel),
                static_cast<float>(p.y() * TwipsPerPixel));
  }
}

void ControlSurface::Press(QMouseEvent* event) {
  if (dragSource_) return;
  // The first button down decides who has the mouse until all are up again.
  if (event->buttons() == event->button()) {
    pressPos_ = event->position().toPoint();
    capture_ = ControlAt(pressPos_);
    captureForm_ = capture_ == nullptr;
  }
  Dispatch(FormMouseDown, capture_, event, &Control::MouseDown, ButtonCode(event->button()));
}

// Remembers a left press as the possible first half of a double-click.
void ControlSurface::BeginPair(QMouseEvent* event) {
  pairOpen_ = event->button() == Qt::LeftButton && event->buttons() == Qt::LeftButton;
  pairControl_ = ControlAt(event->position().toPoint());
  pairPressCount_ = Presses().count;
}

// Whether a double-click on `target` completes a pair this window began: its
// first press went to the same control, and the only press counted since is
// the double-click's own.
bool ControlSurface::EndsPair(const Control* target) const {
  return pairOpen_ && target == pairControl_ && Presses().count == pairPressCount_ + 1;
}

void ControlSurface::mousePressEvent(QMouseEvent* event) {
  BeginPair(event);
  Press(event);
}

void ControlSurface::mouseDoubleClickEvent(QMouseEvent* event) {
  const bool pairs = EndsPair(ControlAt(event->position().toPoint()));
  // Either way this press may begin the next pair.
  BeginPair(event);
  if (dragSource_) return;
  if (pairs && event->button() == Qt::LeftButton && event->buttons() == Qt::LeftButton) {
    Control* target = ControlAt(event->position().toPoint());
    if (target && target->DblClick) {
      pressPos_ = event->position().toPoint();
      capture_ = target;
      captureForm_ = false;
      target->DblClick(target->Index());
      return;
    }
  }
  Press(event);
}

void ControlSurface::mouseReleaseEvent(QMouseEvent* event) {
  if (dragSource_) {
    const QRect ghost = GhostRect();
    dragSource_ = nullptr;
    dragPixmap_ = QPixmap();
    update(ghost);
    Control* target = ControlAt(event->position().toPoint());
    if (event->buttons() == Qt::NoButton) {
      capture_ = nullptr;
      captureForm_ = false;
    }
    if (target && target->DragDrop) target->DragDrop(target->Index());
    return;
  }
  Control* target = capture_;
  const bool toForm = captureForm_;
  if (event->buttons() == Qt::NoButton) {
    capture_ = nullptr;
    captureForm_ = false;
  }
  if (target || toForm)
    Dispatch(FormMouseUp, target, event, &Control::MouseUp, ButtonCode(event->button()));
}

void ControlSurface::mouseMoveEvent(QMouseEvent* event) {
  if (dragSource_) {
    const QRect before = GhostRect();
    dragPos_ = event->position().toPoint();
    update(before);
    update(GhostRect());
    return;
  }
  const int buttons = ButtonsCode(event->buttons());
  Control* target = nullptr;
  if (buttons != 0 && (capture_ || captureForm_))
    target = capture_;
  else
    target = ControlAt(event->position().toPoint());
  Dispatch(FormMouseMove, target, event, &Control::MouseMove, buttons);
}

}  // namespace platform
