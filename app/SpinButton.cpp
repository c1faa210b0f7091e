// The spin button: two arrow buttons that repeat while held, and the keys of the focused pair.
#include "SpinButton.h"

#include <QKeyEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// Room around the arrows for the focus frame.
constexpr int kFocusMargin = 1;

QToolButton* ArrowButton(Qt::ArrowType arrow, QWidget* parent)
{
  auto* button = new QToolButton(parent);
  button->setArrowType(arrow);
  button->setAutoRepeat(true);
  button->setAutoRepeatDelay(400);
  button->setAutoRepeatInterval(80);
  // The pair takes the focus, not each arrow; a click leaves it with the edit.
  button->setFocusPolicy(Qt::NoFocus);
  button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
  button->setFixedWidth(16 - 2 * kFocusMargin);
  return button;
}

}  // namespace

TSpinButton::TSpinButton(QWidget* parent) : QWidget(parent)
{
  FUp = ArrowButton(Qt::UpArrow, this);
  FDown = ArrowButton(Qt::DownArrow, this);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(kFocusMargin, kFocusMargin, kFocusMargin, kFocusMargin);
  layout->setSpacing(0);
  layout->addWidget(FUp);
  layout->addWidget(FDown);
  setFixedSize(16, 21);
  setFocusPolicy(Qt::TabFocus);
  connect(FUp, &QToolButton::clicked, this, &TSpinButton::UpClick);
  connect(FDown, &QToolButton::clicked, this, &TSpinButton::DownClick);
}

void TSpinButton::keyPressEvent(QKeyEvent* event)
{
  if (event->key() == Qt::Key_Up)
    emit UpClick();
  else if (event->key() == Qt::Key_Down)
    emit DownClick();
  else
    QWidget::keyPressEvent(event);
}

void TSpinButton::focusInEvent(QFocusEvent* event)
{
  QWidget::focusInEvent(event);
  update();
}

void TSpinButton::focusOutEvent(QFocusEvent* event)
{
  QWidget::focusOutEvent(event);
  update();
}

void TSpinButton::paintEvent(QPaintEvent*)
{
  if (!hasFocus())
    return;
  QStylePainter painter(this);
  QStyleOptionFocusRect option;
  option.initFrom(this);
  painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
}
