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
  QString Caption() const { return breakAnywhere_ ? caption_ : text(); }
  void setCaption(const QString& caption);
  void setBorder(bool single);
  // Lets the caption break between any two characters, for a column too
  // narrow for the usual line-breaking rules (which never break before "・").
  void setBreakAnywhere(bool anywhere);
  // Whether the caption, wrapped at the label's width, fits inside it.
  bool CaptionFits() const;
  // Makes the font smaller, half a point at a time but not below
  // smallestPoints, until the caption fits (for fonts whose metrics differ
  // from those the window was laid out for). Call after placing the label.
  // Measuring text loads fonts, so a hidden label does it when it is first
  // shown: a dialog loaded hidden costs no font work.
  void ShrinkFontToFit(double smallestPoints);
  // Does the measuring a hidden label has put off, now.
  void FitNow();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void Refit();
  double shrinkTo_ = 0;
  bool fitPending_ = false;
  bool fitting_ = false;
  // The text as drawn in the given font: the caption, or when it may break
  // anywhere, the caption broken into lines that fit the width.
  QString ShownText(const QFont& font) const;
  QString caption_;
  bool breakAnywhere_ = false;
};

class Frame : public QGroupBox {
  Q_OBJECT
 public:
  Frame(QWidget* parent, const QString& caption);
  // Draws the border line through the middle of the title, the title
  // breaking it near the left, as in window definitions that place their
  // controls just below the title; otherwise the style's own look.
  void setTitleOnBorder(bool onBorder);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  bool titleOnBorder_ = false;
};

// A command button. The button with the focus always shows the focus frame
// (the style would draw it only after the focus was moved by the keyboard),
// and Space or Return presses it.
class CommandButton : public QPushButton {
  Q_OBJECT
 public:
  CommandButton(QWidget* parent, const QString& caption);
  std::function<void()> Click;
  // A tall button shows its caption over several centred lines, broken at
  // the blanks (the caption itself keeps its blanks).
  void setWordWrap(bool wrap);

 protected:
  void initStyleOption(QStyleOptionButton* option) const override;
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void PaintWrapped();
  void PaintFocusFrame();
  bool wordWrap_ = false;
};

// An option button whose Value, set to true, raises Click (when it was off);
// the dialog's own handler switches the other buttons of its row off. With
// the focus it always shows the focus frame round its caption.
// The option buttons of one parent form a group. The way a radio group takes
// the focus, the keyboard focus entering the group from outside it (by Tab,
// or as the window opens) goes to the group's button that is on, so that a
// stray Space changes nothing; moved within the group, it stays where it is
// sent.
class OptionButton : public QRadioButton {
  Q_OBJECT
 public:
  OptionButton(QWidget* parent, const QString& caption, int index);
  bool Value() const { return isChecked(); }
  void setValue(bool value);
  std::function<void(int index)> Click;

 protected:
  void initStyleOption(QStyleOptionButton* option) const override;
  void nextCheckState() override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  int index_;
  // The focus is coming from within the group, or back to this button as
  // its window is active again.
  bool focusStaysInGroup_ = false;
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
