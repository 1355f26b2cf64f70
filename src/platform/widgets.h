// The toolbar, the status bar, fonts and the main window's geometry.
#pragma once

#include <QFont>
#include <QList>
#include <QRect>
#include <QTimer>
#include <QToolButton>
#include <QWidget>
#include <functional>
#include <vector>

#include "platform/controls.h"
#include "platform/picture.h"

namespace platform {

// A font by the name the window definitions use ("ＭＳ ゴシック",
// "ＭＳ Ｐゴシック", "ＭＳ 明朝"), mapped to the installed IPA fonts.
QFont VbFont(const QString& name, double points, bool bold = false, bool italic = false);

class Toolbar;

class ToolbarButton {
 public:
  bool Enabled() const;
  void setEnabled(bool enabled);
  int Index() const { return index_; }
  bool IsSeparator() const { return button_ == nullptr; }
  QString ToolTipText() const;
  QToolButton* Widget() const { return button_; }

 private:
  friend class Toolbar;
  int index_ = 0;
  QToolButton* button_ = nullptr;
};

// A row of command buttons and separators along the top edge, addressed by
// Index 1..n. A command button shows its picture only, its text as a tool tip.
class Toolbar : public QWidget {
  Q_OBJECT
 public:
  explicit Toolbar(QWidget* parent);

  void AddButton(const Picture& picture, const QString& toolTip);
  void AddSeparator();
  ToolbarButton& Buttons(int index) { return buttons_.at(static_cast<size_t>(index - 1)); }
  int Count() const { return static_cast<int>(buttons_.size()); }

  std::function<void(int index)> ButtonClick;
  MouseHandler MouseMove;  // the pointer moved over the toolbar or one of its buttons

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  std::vector<ToolbarButton> buttons_;
  int nextLeft_ = 2;
};

// The status bar along the bottom edge: a text panel, a date panel and a
// time panel ("yy/MM/dd", "HH:mm") that keep themselves current, repainting
// once a minute.
class StatusBar : public QWidget {
  Q_OBJECT
 public:
  StatusBar(QWidget* parent, std::vector<int> panelWidthsTwips);
  QString PanelText(int panel) const;  // 1-based

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void Tick();
  std::vector<int> widths_;
  QTimer timer_;
};

// The areas of the screens that windows may take (panels and docks left
// out), in pixels. Tests may set their own; an empty list gives back the
// real screens.
QList<QRect> AvailableScreenAreas();
void SetScreenAreasForTesting(const QList<QRect>& areas);

// The main window: a surface of windowless controls whose outer geometry
// (Top, Left, Height, Width) is kept in twips, as stored in the settings file.
// A window that was not moved or resized reports exactly the values it was
// given, whatever the pixel rounding and the window manager's frame.
class MainSurface : public ControlSurface {
  Q_OBJECT
 public:
  MainSurface();

  int Top() const;
  int Left() const;
  int Height() const;
  int Width() const;
  void setTop(int twips);
  void setLeft(int twips);
  void setHeight(int twips);
  void setWidth(int twips);

  // The frame of a fixed single-border window with a caption, in twips:
  // outer size minus client size.
  static constexpr int FrameWidth = 120;
  static constexpr int FrameHeight = 405;

  // The window as placed, frame included, fits in the available area of a
  // screen.
  bool FitsOnAScreen() const;
  // The player can take hold of the window as placed to drag it: enough of
  // its caption strip lies on one screen.
  bool CaptionWithinReach() const;

 signals:
  void ClientResized();

 private:
  void ApplySize();
  QPoint FramePos() const;
  int top_ = 0, left_ = 0, height_ = 0, width_ = 0;
  QPoint placedAt_;
  QSize sizedTo_;
};

}  // namespace platform
