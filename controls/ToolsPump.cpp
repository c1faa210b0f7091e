// Event dispatch inside long loops.
#include "controls/ToolsPump.h"

#include <QCoreApplication>

void PumpWindowMessages(QWidget* /*window*/)
{
  // Qt has no per-window queue; handling all pending events is the closest equivalent.
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void WaitWindowMessages(QWidget* /*window*/)
{
  QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}
