#include "platform/widgets.h"

#include <QDateTime>
#include <QEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <algorithm>

namespace platform {

QFont VbFont(const QString& name, double points, bool bold, bool italic) {
  QStringList families;
  if (name == QStringLiteral("ＭＳ ゴシック"))
    families = {QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans Mono CJK JP")};
  else if (name == QStringLiteral("ＭＳ Ｐゴシック"))
    families = {QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP")};
  else if (name == QStringLiteral("ＭＳ 明朝"))
    families = {QStringLiteral("IPAMincho"), QStringLiteral("Noto Serif CJK JP")};
  else if (name == QStringLiteral("ＭＳ Ｐ明朝"))
    families = {QStringLiteral("IPAPMincho"), QStringLiteral("Noto Serif CJK JP")};
  else
    families = {name};
  QFont font;
  font.setFamilies(families);
  font.setPointSizeF(points);
  font.setBold(bold);
  font.setItalic(italic);
  return font;
}

// ---- Toolbar -------------------------------------------------------------

namespace {
constexpr int ButtonWidthPx = 39;
constexpr int ButtonHeightPx = 22;
constexpr int SeparatorWidthPx = 8;
const QColor Silver(192, 192, 192);

QIcon IconWithoutSilver(const Picture& picture) {
  QImage image = picture.Pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (QColor(image.pixel(x, y)) == Silver) image.setPixel(x, y, qRgba(0, 0, 0, 0));
  return QIcon(QPixmap::fromImage(image));
}
}  // namespace

bool ToolbarButton::Enabled() const { return button_ ? button_->isEnabled() : true; }

void ToolbarButton::setEnabled(bool enabled) {
  if (button_) button_->setEnabled(enabled);
}

QString ToolbarButton::ToolTipText() const { return button_ ? button_->toolTip() : QString(); }

Toolbar::Toolbar(QWidget* parent) : QWidget(parent) {
  setMouseTracking(true);
  // A press the toolbar or a button leaves unused (any but the left button)
  // must not reach the window behind as a press on the bare board.
  setAttribute(Qt::WA_NoMousePropagation);
  setAutoFillBackground(false);
}

void Toolbar::AddButton(const Picture& picture, const QString& toolTip) {
  ToolbarButton entry;
  entry.index_ = Count() + 1;
  auto* button = new QToolButton(this);
  button->setIcon(IconWithoutSilver(picture));
  button->setIconSize(QSize(32, 16));
  button->setToolTip(toolTip);
  button->setFocusPolicy(Qt::NoFocus);
  button->setGeometry(nextLeft_, 2, ButtonWidthPx, ButtonHeightPx);
  button->setMouseTracking(true);
  button->installEventFilter(this);
  const int index = entry.index_;
  connect(button, &QToolButton::clicked, this, [this, index] {
    if (ButtonClick) ButtonClick(index);
  });
  entry.button_ = button;
  buttons_.push_back(entry);
  nextLeft_ += ButtonWidthPx;
}

void Toolbar::AddSeparator() {
  ToolbarButton entry;
  entry.index_ = Count() + 1;
  buttons_.push_back(entry);
  nextLeft_ += SeparatorWidthPx;
}

bool Toolbar::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseMove && MouseMove) {
    auto* me = static_cast<QMouseEvent*>(event);
    const QPoint p = static_cast<QWidget*>(watched)->mapTo(this, me->position().toPoint());
    MouseMove(0, 0, ShiftCode(me->modifiers()), static_cast<float>(p.x() * TwipsPerPixel),
              static_cast<float>(p.y() * TwipsPerPixel));
  }
  return QWidget::eventFilter(watched, event);
}

void Toolbar::mouseMoveEvent(QMouseEvent* event) {
  if (MouseMove)
    MouseMove(0, 0, ShiftCode(event->modifiers()),
              static_cast<float>(event->position().x() * TwipsPerPixel),
              static_cast<float>(event->position().y() * TwipsPerPixel));
}

void Toolbar::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), palette().color(QPalette::Button));
  p.setPen(palette().color(QPalette::Light));
  p.drawLine(0, 0, width(), 0);
  p.setPen(palette().color(QPalette::Mid));
  p.drawLine(0, height() - 1, width(), height() - 1);
}

// ---- StatusBar -----------------------------------------------------------

StatusBar::StatusBar(QWidget* parent, std::vector<int> panelWidthsTwips)
    : QWidget(parent), widths_(std::move(panelWidthsTwips)) {
  setAttribute(Qt::WA_NoMousePropagation);  // a press here is no press on the bare board
  timer_.setSingleShot(true);
  connect(&timer_, &QTimer::timeout, this, &StatusBar::Tick);
  Tick();
}

void StatusBar::Tick() {
  update();
  // Wake at the next full minute: the panels show no seconds.
  const QTime now = QTime::currentTime();
  const int msIntoMinute = now.second() * 1000 + now.msec();
  timer_.start(60000 - msIntoMinute + 20);
}

QString StatusBar::PanelText(int panel) const {
  const QDateTime now = QDateTime::currentDateTime();
  switch (panel) {
    case 2: return now.date().toString(QStringLiteral("yy/MM/dd"));
    case 3: return now.time().toString(QStringLiteral("HH:mm"));
    default: return QString();
  }
}

void StatusBar::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), palette().color(QPalette::Button));
  int left = 0;
  for (size_t i = 0; i < widths_.size(); ++i) {
    const QRect panel(left, 2, Px(widths_[i]) - 2, height() - 2);
    p.setPen(palette().color(QPalette::Mid));
    p.drawLine(panel.topLeft(), panel.topRight());
    p.drawLine(panel.topLeft(), panel.bottomLeft());
    p.setPen(palette().color(QPalette::Light));
    p.drawLine(panel.bottomLeft(), panel.bottomRight());
    p.drawLine(panel.topRight(), panel.bottomRight());
    p.setPen(palette().color(QPalette::ButtonText));
    p.drawText(panel.adjusted(3, 0, -2, 0), Qt::AlignVCenter | Qt::AlignLeft,
               PanelText(static_cast<int>(i) + 1));
    left += Px(widths_[i]);
  }
}

// ---- Screens and the main window ------------------------------------------

namespace {
QList<QRect>& ScreenAreasForTesting() {
  static QList<QRect> areas;
  return areas;
}

// The caption strip of the frame: from the frame's top edge down to the
// client area, the bottom border left out.
int CaptionStripPx() { return Px(MainSurface::FrameHeight - MainSurface::FrameWidth / 2); }
// How much of the caption strip has to lie on one screen for the player to
// take hold of it with the mouse and drag the window back, in pixels.
constexpr QSize CaptionGrip(64, 12);
}  // namespace

QList<QRect> AvailableScreenAreas() {
  if (!ScreenAreasForTesting().isEmpty()) return ScreenAreasForTesting();
  QList<QRect> areas;
  for (const QScreen* screen : QGuiApplication::screens()) areas.append(screen->availableGeometry());
  return areas;
}

void SetScreenAreasForTesting(const QList<QRect>& areas) { ScreenAreasForTesting() = areas; }

// ---- MainSurface ---------------------------------------------------------

MainSurface::MainSurface() : ControlSurface(nullptr) {}

QPoint MainSurface::FramePos() const { return pos(); }

int MainSurface::Top() const {
  return FramePos().y() == placedAt_.y() ? top_ : FramePos().y() * TwipsPerPixel;
}

int MainSurface::Left() const {
  return FramePos().x() == placedAt_.x() ? left_ : FramePos().x() * TwipsPerPixel;
}

int MainSurface::Height() const {
  return height() == sizedTo_.height() ? height_ : height() * TwipsPerPixel + FrameHeight;
}

int MainSurface::Width() const {
  return width() == sizedTo_.width() ? width_ : width() * TwipsPerPixel + FrameWidth;
}

bool MainSurface::FitsOnAScreen() const {
  const QSize outer = size() + QSize(Px(FrameWidth), Px(FrameHeight));
  const QList<QRect> areas = AvailableScreenAreas();
  if (areas.isEmpty()) return true;
  for (const QRect& area : areas)
    if (outer.width() <= area.width() && outer.height() <= area.height()) return true;
  return false;
}

// Without any screen to ask there is nothing to judge by.
bool MainSurface::CaptionWithinReach() const {
  const QList<QRect> areas = AvailableScreenAreas();
  if (areas.isEmpty()) return true;
  const QRect caption(FramePos(), QSize(width() + Px(FrameWidth), CaptionStripPx()));
  for (const QRect& area : areas) {
    const QRect shown = caption.intersected(area);
    if (shown.width() >= CaptionGrip.width() && shown.height() >= CaptionGrip.height()) return true;
  }
  return false;
}

namespace {
// X11 keeps window coordinates and sizes in 16 bits; a value from an edited
// settings file beyond that must not wrap or exhaust memory.
constexpr int MaxPositionPx = 30000;
constexpr int MaxClientPx = 4096;
int Bounded(int px, int low, int high) { return std::clamp(px, low, high); }
}  // namespace

void MainSurface::setTop(int twips) {
  top_ = twips;
  placedAt_.setY(Bounded(Px(twips), -MaxPositionPx, MaxPositionPx));
  move(placedAt_);
}

void MainSurface::setLeft(int twips) {
  left_ = twips;
  placedAt_.setX(Bounded(Px(twips), -MaxPositionPx, MaxPositionPx));
  move(placedAt_);
}

void MainSurface::setHeight(int twips) {
  height_ = twips;
  ApplySize();
}

void MainSurface::setWidth(int twips) {
  width_ = twips;
  ApplySize();
}

void MainSurface::ApplySize() {
  const QSize client(Bounded(Px(static_cast<long long>(width_) - FrameWidth), 1, MaxClientPx),
                     Bounded(Px(static_cast<long long>(height_) - FrameHeight), 1, MaxClientPx));
  sizedTo_ = client;
  setFixedSize(client);
  emit ClientResized();
}

}  // namespace platform
