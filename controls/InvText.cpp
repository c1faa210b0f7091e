// The invisible text holder.
#include "controls/InvText.h"

TInvText::TInvText(QWidget* parent) : QWidget(parent)
{
  resize(50, 17);
  // It shows nothing, so it must not swallow the clicks meant for what lies beneath it.
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TInvText::paintEvent(QPaintEvent* /*e*/) {}
