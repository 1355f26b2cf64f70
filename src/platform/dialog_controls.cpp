#include "platform/dialog_controls.h"

#include <QApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <algorithm>
#include <utility>

#include "platform/controls.h"

namespace platform {

namespace {
bool CaptionFitsIn(const QRect& area, const QFont& font, const QString& caption,
                   Qt::Alignment alignment) {
  const QRect unbounded(0, 0, area.width(), QWIDGETSIZE_MAX);
  const QRect needed = QFontMetrics(font).boundingRect(
      unbounded, static_cast<int>(alignment) | Qt::TextWordWrap, caption);
  return needed.width() <= area.width() && needed.height() <= area.height();
}
}  // namespace

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

void DialogLabel::setCaption(const QString& caption) {
  caption_ = caption;
  setText(caption);
  Refit();
}

void DialogLabel::setBreakAnywhere(bool anywhere) {
  const QString caption = Caption();
  breakAnywhere_ = anywhere;
  setCaption(caption);
}

// Broken anywhere: as many characters on a line as fit the label's width.
QString DialogLabel::ShownText(const QFont& font) const {
  if (!breakAnywhere_) return text();
  const QFontMetrics metrics(font);
  const int width = contentsRect().width();
  // Measured the way the label lays its text out, overhang of the last
  // character included.
  const auto fitsOneLine = [&](const QString& line) {
    const QRect needed = metrics.boundingRect(QRect(0, 0, width, QWIDGETSIZE_MAX),
                                              Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, line);
    return needed.width() <= width && needed.height() <= metrics.height();
  };
  QStringList lines{QString()};
  for (qsizetype i = 0; i < caption_.size(); ++i) {
    const qsizetype length = caption_[i].isHighSurrogate() && i + 1 < caption_.size() ? 2 : 1;
    const QString character = caption_.mid(i, length);
    i += length - 1;
    if (!lines.last().isEmpty() && !fitsOneLine(lines.last() + character)) lines << QString();
    lines.last() += character;
  }
  return lines.join(u'\n');
}

void DialogLabel::resizeEvent(QResizeEvent* event) {
  QLabel::resizeEvent(event);
  if (breakAnywhere_) Refit();
}

void DialogLabel::changeEvent(QEvent* event) {
  QLabel::changeEvent(event);
  if (breakAnywhere_ && event->type() == QEvent::FontChange) Refit();
}

void DialogLabel::showEvent(QShowEvent* event) {
  QLabel::showEvent(event);
  if (fitPending_) FitNow();
}

void DialogLabel::Refit() {
  if (!breakAnywhere_ && shrinkTo_ <= 0) return;
  if (isVisible())
    FitNow();
  else
    fitPending_ = true;
}

void DialogLabel::FitNow() {
  if (fitting_) return;
  fitting_ = true;
  fitPending_ = false;
  if (shrinkTo_ > 0) {
    QFont smaller = font();
    if (smaller.pointSizeF() > 0) {
      while (!CaptionFitsIn(contentsRect(), smaller, ShownText(smaller), alignment()) &&
             smaller.pointSizeF() - 0.5 >= shrinkTo_)
        smaller.setPointSizeF(smaller.pointSizeF() - 0.5);
      if (smaller != font()) setFont(smaller);
    }
  }
  if (breakAnywhere_) setText(ShownText(font()));
  fitting_ = false;
}

void DialogLabel::setBorder(bool single) {
  setFrameStyle(single ? (QFrame::Box | QFrame::Plain) : QFrame::NoFrame);
  setLineWidth(1);
  // A framed label would otherwise indent its text from the top edge as well
  // and push a one-line caption out of the bottom of a low box.
  setIndent(single ? 0 : -1);
}


bool DialogLabel::CaptionFits() const {
  return CaptionFitsIn(contentsRect(), font(), ShownText(font()), alignment());
}

void DialogLabel::ShrinkFontToFit(double smallestPoints) {
  shrinkTo_ = smallestPoints;
  Refit();
}

Frame::Frame(QWidget* parent, const QString& caption) : QGroupBox(caption, parent) {}

void Frame::setTitleOnBorder(bool onBorder) {
  titleOnBorder_ = onBorder;
  update();
}

void Frame::paintEvent(QPaintEvent* event) {
  if (!titleOnBorder_) {
    QGroupBox::paintEvent(event);
    return;
  }
  constexpr int TitleLeftPx = 6;
  constexpr int TitlePaddingPx = 2;
  QPainter painter(this);
  const QFontMetrics metrics(font());
  // An etched line: a shadow line with a light line just inside it.
  const QRect box = rect().adjusted(0, metrics.height() / 2, -2, -2);
  painter.setPen(palette().color(QPalette::Dark));
  painter.drawRect(box);
  painter.setPen(palette().color(QPalette::Light));
  painter.drawRect(box.translated(1, 1));
  if (title().isEmpty()) return;
  const QRect titleArea(TitleLeftPx, 0, metrics.horizontalAdvance(title()) + 2 * TitlePaddingPx,
                        metrics.height());
  painter.fillRect(titleArea, palette().color(QPalette::Window));
  painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                 QPalette::WindowText));
  painter.drawText(titleArea, Qt::AlignCenter | Qt::TextSingleLine, title());
}

CommandButton::CommandButton(QWidget* parent, const QString& caption) : QPushButton(caption, parent) {
  connect(this, &QPushButton::clicked, this, [this] {
    if (Click) Click();
  });
}

namespace {

// Lines of a caption broken at its blanks, as many words on a line as fit;
// the blanks at a break are dropped. A word wider than the line stands alone.
QStringList WrapAtBlanks(const QString& text, const QFontMetrics& metrics, int width) {
  QStringList lines;
  QString line;
  qsizetype i = 0;
  while (i < text.size()) {
    qsizetype blanksEnd = i;
    while (blanksEnd < text.size() && text[blanksEnd] == u' ') ++blanksEnd;
    qsizetype wordEnd = blanksEnd;
    while (wordEnd < text.size() && text[wordEnd] != u' ') ++wordEnd;
    if (wordEnd == blanksEnd) break;
    const QString candidate = line + text.mid(i, wordEnd - i);
    if (line.trimmed().isEmpty() || metrics.horizontalAdvance(candidate) <= width) {
      line = candidate;
    } else {
      lines << line;
      line = text.mid(blanksEnd, wordEnd - blanksEnd);
    }
    i = wordEnd;
  }
  lines << line;
  return lines;
}

}  // namespace

void CommandButton::initStyleOption(QStyleOptionButton* option) const {
  QPushButton::initStyleOption(option);
  if (hasFocus()) option->state |= QStyle::State_KeyboardFocusChange;
}

void CommandButton::keyPressEvent(QKeyEvent* event) {
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (!enter) {
    QPushButton::keyPressEvent(event);
    return;
  }
  // A held key clicks once, not at the keyboard's repeat rate.
  if (!event->isAutoRepeat()) click();
}

void CommandButton::setWordWrap(bool wrap) {
  wordWrap_ = wrap;
  update();
}

void CommandButton::paintEvent(QPaintEvent* event) {
  if (wordWrap_)
    PaintWrapped();
  else
    QPushButton::paintEvent(event);
  if (hasFocus()) PaintFocusFrame();
}

void CommandButton::PaintWrapped() {
  QStylePainter painter(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  option.text.clear();
  painter.drawControl(QStyle::CE_PushButton, option);
  const QRect area = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
  const QFontMetrics metrics(font());
  // An italic line leans past its advance by about a fifth of the height.
  const int slant = font().italic() ? metrics.height() / 5 : 0;
  const QStringList lines = WrapAtBlanks(text(), metrics, area.width() - slant);
  style()->drawItemText(&painter, area, Qt::AlignCenter, palette(), isEnabled(), lines.join(u'\n'),
                        QPalette::ButtonText);
}

// A dotted line inside the button's edge, in the caption's colour: the
// style's own sign of the focus is no more than a tinted outline. A button
// hardly taller than its caption gets the line on its edge, off the letters.
void CommandButton::PaintFocusFrame() {
  const int room = (height() - fontMetrics().height()) / 2 - 1;
  const int inset = std::clamp(room, 1, 3);
  QPainter painter(this);
  painter.setPen(QPen(palette().color(QPalette::ButtonText), 1, Qt::DotLine));
  painter.drawRect(rect().adjusted(inset, inset, -inset - 1, -inset - 1));
}

OptionButton::OptionButton(QWidget* parent, const QString& caption, int index)
    : QRadioButton(caption, parent), index_(index) {
  setAutoExclusive(false);
  connect(this, &QRadioButton::clicked, this, [this] {
    if (Click) Click(index_);
  });
}

void OptionButton::initStyleOption(QStyleOptionButton* option) const {
  QRadioButton::initStyleOption(option);
  if (hasFocus()) option->state |= QStyle::State_KeyboardFocusChange;
}

void OptionButton::nextCheckState() { setChecked(true); }

void OptionButton::focusOutEvent(QFocusEvent* event) {
  QRadioButton::focusOutEvent(event);
  // The widget taking the focus is already known when this one loses it.
  auto* next = qobject_cast<OptionButton*>(QApplication::focusWidget());
  if (next && next != this && next->parentWidget() == parentWidget())
    next->focusStaysInGroup_ = true;
  else if (event->reason() == Qt::ActiveWindowFocusReason)
    focusStaysInGroup_ = true;
}

void OptionButton::focusInEvent(QFocusEvent* event) {
  QRadioButton::focusInEvent(event);
  const bool staysInGroup = std::exchange(focusStaysInGroup_, false);
  const Qt::FocusReason reason = event->reason();
  const bool byKeyboardOrOpening = reason == Qt::TabFocusReason ||
                                   reason == Qt::BacktabFocusReason ||
                                   reason == Qt::ActiveWindowFocusReason;
  if (staysInGroup || !byKeyboardOrOpening || isChecked() || !parentWidget()) return;
  for (OptionButton* button :
       parentWidget()->findChildren<OptionButton*>(Qt::FindDirectChildrenOnly)) {
    if (button->isChecked()) {
      button->setFocus(reason);
      return;
    }
  }
}

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
