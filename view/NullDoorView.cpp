// The null view's panel.
#include "NullDoorView.h"

#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

TNullDoorView::TNullDoorView(const QString& note) : FWidget(new QWidget)
{
  FWidget->setObjectName(QStringLiteral("GLSceneViewer1"));
  FWidget->setAutoFillBackground(true);
  QPalette palette = FWidget->palette();
  palette.setColor(QPalette::Window, QColor(255, 251, 240));  // cream, the view's background
  FWidget->setPalette(palette);
  if (!note.isEmpty()) {
    auto* label = new QLabel(note, FWidget);
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    (new QVBoxLayout(FWidget))->addWidget(label);
  }
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
