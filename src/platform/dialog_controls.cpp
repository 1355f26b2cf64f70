#include "platform/dialog_controls.h"

#include <QLineEdit>

#include "platform/controls.h"

namespace platform {

void Place(QWidget* widget, int left, int top, int width, int height) {
  widget->setGeometry(Px(left), Px(top), Px(width), Px(height));
}

QColor VbColor(unsigned bgr) {
  return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                static_cast<int>((bgr >> 16) & 0xFF));
}

void SetForeColor(QWidget* widget, const QColor& color) {
  QPalette p = widget->palette();
  p.setColor(QPalette::WindowText, color);
  p.setColor(QPalette::ButtonText, color);
  p.setColor(QPalette::Text, color);
  widget->setPalette(p);
}

void SetBackColor(QWidget* widget, const QColor& color) {
  QPalette p = widget->palette();
  p.setColor(QPalette::Window, color);
  p.setColor(QPalette::Button, color);
  widget->setPalette(p);
  widget->setAutoFillBackground(true);
}

DialogLabel::DialogLabel(QWidget* parent, const QString& caption) : QLabel(caption, parent) {
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
  setWordWrap(true);
}

void DialogLabel::setBorder(bool single) {
  setFrameStyle(single ? (QFrame::Box | QFrame::Plain) : QFrame::NoFrame);
  setLineWidth(1);
}

Frame::Frame(QWidget* parent, const QString& caption) : QGroupBox(caption, parent) {}

CommandButton::CommandButton(QWidget* parent, const QString& caption) : QPushButton(caption, parent) {
  connect(this, &QPushButton::clicked, this, [this] {
    if (Click) Click();
  });
}

OptionButton::OptionButton(QWidget* parent, const QString& caption, int index)
    : QRadioButton(caption, parent), index_(index) {
  setAutoExclusive(false);
  connect(this, &QRadioButton::clicked, this, [this] {
    if (Click) Click(index_);
  });
}

void OptionButton::nextCheckState() { setChecked(true); }

void OptionButton::setValue(bool value) {
  if (isChecked() == value) return;
  setChecked(value);
  if (value && Click) Click(index_);
}

ComboBox::ComboBox(QWidget* parent) : QComboBox(parent) {
  setEditable(true);
  setInsertPolicy(QComboBox::NoInsert);
  connect(lineEdit(), &QLineEdit::textEdited, this, [this] {
    if (Change) Change();
  });
  connect(this, &QComboBox::activated, this, [this](int index) {
    setEditText(itemText(index));
    if (Click) Click();
  });
}

void ComboBox::setText(const QString& text) {
  if (currentText() == text) return;
  setEditText(text);
  if (Change) Change();
}

Slider::Slider(QWidget* parent, int min, int max) : QSlider(Qt::Horizontal, parent), value_(min) {
  setRange(min, max);
  setPageStep(1);
  setTickPosition(QSlider::TicksBelow);
  setTickInterval(1);
  QSlider::setValue(min);
  connect(this, &QSlider::valueChanged, this, [this](int v) {
    if (v == value_) return;
    value_ = v;
    if (Change) Change();
  });
}

void Slider::setValue(int value) {
  if (value == value_) return;
  value_ = value;
  const QSignalBlocker block(this);
  QSlider::setValue(value);
  if (Change) Change();
}

}  // namespace platform
