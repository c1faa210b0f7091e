// The null view's panel.
#include "NullDoorView.h"

#include <QWidget>

TNullDoorView::TNullDoorView() : FWidget(new QWidget)
{
  FWidget->setObjectName(QStringLiteral("GLSceneViewer1"));
  FWidget->setAutoFillBackground(true);
  QPalette palette = FWidget->palette();
  palette.setColor(QPalette::Window, QColor(255, 251, 240));  // cream, the view's background
  FWidget->setPalette(palette);
}

TNullDoorView::~TNullDoorView() { delete FWidget; }  // unless its window deleted it first

void TNullDoorView::SetSwitch(TViewSwitch which, bool on)
{
  FSwitches[static_cast<std::size_t>(which)] = on;
  if (which == TViewSwitch::ShowPerspective) {
    FPerspective = on;
    FFocalLength = on ? kPerspectiveFocalLength : kOrthogonalFocalLength;
  }
}
