// The spin button: two arrow buttons that repeat while held.
#include "SpinButton.h"

#include <QToolButton>
#include <QVBoxLayout>

namespace {

QToolButton* ArrowButton(Qt::ArrowType arrow, QWidget* parent)
{
  auto* button = new QToolButton(parent);
  button->setArrowType(arrow);
  button->setAutoRepeat(true);
  button->setAutoRepeatDelay(400);
  button->setAutoRepeatInterval(80);
  button->setFocusPolicy(Qt::TabFocus);
  button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
  button->setFixedWidth(16);
  return button;
}

}  // namespace

TSpinButton::TSpinButton(QWidget* parent) : QWidget(parent)
{
  FUp = ArrowButton(Qt::UpArrow, this);
  FDown = ArrowButton(Qt::DownArrow, this);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(FUp);
  layout->addWidget(FDown);
  setFixedSize(16, 21);
  connect(FUp, &QToolButton::clicked, this, &TSpinButton::UpClick);
  connect(FDown, &QToolButton::clicked, this, &TSpinButton::DownClick);
}
