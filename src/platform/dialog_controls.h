// The standard controls of the dialogs: labels, frames, command buttons,
// option buttons, the combo box and the slider, placed in twips and raising
// events the way the dialogs expect.
#pragma once

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <functional>

namespace platform {

// Places a widget at a position and size in twips, relative to its parent.
void Place(QWidget* widget, int left, int top, int width, int height);

// A colour given as the &HBBGGRR number of the window definitions.
QColor VbColor(unsigned bgr);
void SetForeColor(QWidget* widget, const QColor& color);
void SetBackColor(QWidget* widget, const QColor& color);

// A caption with a single-line border or none; text top-left, wrapped.
class DialogLabel : public QLabel {
  Q_OBJECT
 public:
  DialogLabel(QWidget* parent, const QString& caption);
  QString Caption() const { return text(); }
  void setCaption(const QString& caption) { setText(caption); }
  void setBorder(bool single);
  // Whether the caption, wrapped at the label's width, fits inside it.
  bool CaptionFits() const;
  // Makes the font smaller, half a point at a time but not below
  // smallestPoints, until the caption fits (for fonts whose metrics differ
  // from those the window was laid out for). Call after placing the label.
  void ShrinkFontToFit(double smallestPoints);
};

class Frame : public QGroupBox {
  Q_OBJECT
 public:
  Frame(QWidget* parent, const QString& caption);
};

class CommandButton : public QPushButton {
  Q_OBJECT
 public:
  CommandButton(QWidget* parent, const QString& caption);
  std::function<void()> Click;
  // A tall button shows its caption over several centred lines, broken at
  // the blanks (the caption itself keeps its blanks).
  void setWordWrap(bool wrap);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  bool wordWrap_ = false;
};

// An option button whose Value, set to true, raises Click (when it was off);
// the dialog's own handler switches the other buttons of its row off.
class OptionButton : public QRadioButton {
  Q_OBJECT
 public:
  OptionButton(QWidget* parent, const QString& caption, int index);
  bool Value() const { return isChecked(); }
  void setValue(bool value);
  std::function<void(int index)> Click;

 protected:
  void nextCheckState() override;

 private:
  int index_;
};

// An editable drop-down combo box. Text set by code raises Change when the
// text differs; typing raises Change; a pick from the list raises Click.
class ComboBox : public QComboBox {
  Q_OBJECT
 public:
  explicit ComboBox(QWidget* parent);
  QString Text() const { return currentText(); }
  void setText(const QString& text);
  void AddItem(const QString& item) { addItem(item); }
  std::function<void()> Click;
  std::function<void()> Change;
};

// A horizontal slider. Its Value is kept as given, even outside Min..Max
// (the thumb is drawn at the nearest end); setting a different value raises
// Change, and so does moving the thumb.
class Slider : public QSlider {
  Q_OBJECT
 public:
  Slider(QWidget* parent, int min, int max);
  int Value() const { return value_; }
  void setValue(int value);
  std::function<void()> Change;

 private:
  int value_;
};

}  // namespace platform
