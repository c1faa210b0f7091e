// The coefficient graph window: its layout, the drawing of the plot, the redraw triggers
// and the stay-on-top switch. Copy and Save as... are in GraphWinF_export.cpp.
#include "dialogs/GraphWinF.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>
#include <QShowEvent>
#include <cmath>
#include <optional>

#include "coefficients/CoefTables.h"
#include "dialogs/Sc_pic.h"

namespace {

const QString kCaption = QStringLiteral("Hydrodynamic Coefficients");
const QString kAttackTitle = QStringLiteral("Attack angle, deg");
const QString kCoefTitle = QStringLiteral("Cx, Cy");
constexpr QPoint kInitialPosition(6, 107);
constexpr QSize kInitialSize(291, 212);
// Below this the tick labels under the x axis no longer fit in the picture.
constexpr QSize kMinimumSize(180, 160);

// The plotted ranges before the margins are added: attack angle and coefficient.
constexpr Real kAngleMin = 0, kAngleRange = 90;
constexpr Real kCoefMin = 0, kCoefRange = 2.5;
constexpr int kAngleDecimals = 0, kCoefDecimals = 2;
constexpr int kCurvePenWidth = 3;  // pixels
const QColor kCxColor(255, 0, 0);
const QColor kCyColor(0, 128, 0);
const QColor kMarkerColor(128, 128, 128);
// The curve names stand on the curves at this row of the base table (42.5 degrees).
constexpr int kLabelRow = 6;

void SetSmoothing(ScPic& pic, bool on)
{
  if (QPainter* canvas = pic.GetCanvas())
    canvas->setRenderHint(QPainter::Antialiasing, on);
}

}  // namespace

TGraphWin::TGraphWin(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint),
      ScPic1(new ScPic(this)),
      FCopyAct(new QAction(tr("Copy"), this)),
      FSaveAsAct(new QAction(tr("Save as..."), this)),
      FContextMenu(new QMenu(this))
{
  setWindowTitle(kCaption);
  QPalette white = palette();
  white.setColor(QPalette::Window, Qt::white);
  setPalette(white);
  setAutoFillBackground(true);
  ScPic1->setObjectName(QStringLiteral("ScPic1"));
  ScPic1->SetImageType(TImageType::itMetafile);
  ScPic1->SetPixelFormat(TPixelFormat::pfDevice);
  setMinimumSize(kMinimumSize);
  move(kInitialPosition);
  resize(kInitialSize);

  FCopyAct->setShortcut(QKeySequence::Copy);
  FSaveAsAct->setShortcut(QKeySequence::SaveAs);
  connect(FCopyAct, &QAction::triggered, this, &TGraphWin::CopyPicture);
  connect(FSaveAsAct, &QAction::triggered, this, &TGraphWin::SaveAsExecute);
  addAction(FCopyAct);
  addAction(FSaveAsAct);
  FContextMenu->addAction(FCopyAct);
  FContextMenu->addAction(FSaveAsAct);
}

QSize TGraphWin::sizeHint() const { return kInitialSize; }

void TGraphWin::DrawGraph()
{
  if (FAttackSource)
    FAttackW = FAttackSource();
  Redraw();
}

bool TGraphWin::Redraw()
{
  if (!isVisible())
    return false;
  ScPic& pic = *ScPic1;
  pic.SetRange(kAngleMin, kAngleRange, kCoefMin, kCoefRange);
  pic.AddMargins();
  // Everything but the marker depends on the size alone, and the marker on its column: a
  // picture drawn for both already shows what a new one would. Most evaluations of an
  // animation or a balance run turn the door by less than a pixel of the plot.
  const Real attackDeg = FAttackW / kDegToRad;
  const std::optional<int> markerColumn = std::isfinite(attackDeg) ? std::optional<int>(pic.XToPixel(attackDeg))
                                                                    : std::nullopt;
  if (pic.HasPicture() && pic.MetafileSize() == pic.size() && markerColumn == FDrawnMarkerColumn)
    return false;

  pic.ClearPicture();
  pic.DrawAxes(kAngleDecimals, kCoefDecimals, kAttackTitle, kCoefTitle);

  // Straight segments through the tabulated points, as the table stands, not the spline;
  // smoothed, while the grid, the axes and the marker stay sharp on whole pixels.
  SetSmoothing(pic, true);
  pic.SetPenWidth(kCurvePenWidth);
  pic.SetPenColor(kCxColor);
  for (int i = 0; i + 1 < kCoefRows; ++i) {
    pic.MoveToXY(CoefTable[i].Angle, CoefTable[i].Cx);
    pic.LineToXY(CoefTable[i + 1].Angle, CoefTable[i + 1].Cx);
  }
  pic.SetPenColor(kCyColor);
  for (int i = 0; i + 1 < kCoefRows; ++i) {
    pic.MoveToXY(CoefTable[i].Angle, CoefTable[i].Cy);
    pic.LineToXY(CoefTable[i + 1].Angle, CoefTable[i + 1].Cy);
  }

  SetSmoothing(pic, false);
  pic.SetPenWidth(0);
  // The marker spans the whole picture; an angle outside the plotted range may put it
  // outside the picture, and one of degenerate geometry (NaN) is not drawn at all.
  if (markerColumn)
    pic.DrawLine(kMarkerColor, attackDeg, pic.PixelToY(0), attackDeg, pic.PixelToY(pic.height()));
  pic.TextAtXY(QStringLiteral("Cx"), CoefTable[kLabelRow].Angle, CoefTable[kLabelRow].Cx);
  pic.TextAtXY(QStringLiteral("Cy"), CoefTable[kLabelRow].Angle, CoefTable[kLabelRow].Cy);
  pic.EndDraw();
  FDrawnMarkerColumn = markerColumn;
  return true;
}

void TGraphWin::DrawGraphNow(Real attackW)
{
  FAttackW = attackW;
  if (Redraw())
    ScPic1->repaint();
}

bool TGraphWin::StayOnTop() const { return windowFlags().testFlag(Qt::WindowStaysOnTopHint); }

void TGraphWin::SetStayOnTop(bool on)
{
  if (StayOnTop() == on)
    return;
  // Changing a window flag re-creates the window hidden; it comes back where it was,
  // without taking the focus from the window that asked for the switch.
  const bool visible = isVisible();
  const QRect bounds = geometry();
  FSwitchingStayOnTop = true;
  setWindowFlag(Qt::WindowStaysOnTopHint, on);
  if (visible) {
    setGeometry(bounds);
    const bool withoutActivating = testAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_ShowWithoutActivating);
    show();
    setAttribute(Qt::WA_ShowWithoutActivating, withoutActivating);
  }
  FSwitchingStayOnTop = false;
}

void TGraphWin::FormResize() { DrawGraph(); }

void TGraphWin::resizeEvent(QResizeEvent* event)
{
  QWidget::resizeEvent(event);
  ScPic1->setGeometry(rect());
  FormResize();
}

// A window shown for the first time got its size while still hidden, so the plot is drawn
// here; a window shown again is drawn for the present angle rather than the last one.
void TGraphWin::showEvent(QShowEvent* event)
{
  QWidget::showEvent(event);
  DrawGraph();
  if (!FSwitchingStayOnTop && !event->spontaneous())
    emit VisibleChanged(true);
}

void TGraphWin::hideEvent(QHideEvent* event)
{
  QWidget::hideEvent(event);
  if (!FSwitchingStayOnTop && !event->spontaneous())
    emit VisibleChanged(false);
}

void TGraphWin::contextMenuEvent(QContextMenuEvent* event)
{
  const bool drawn = ScPic1->HasPicture();
  FCopyAct->setEnabled(drawn);
  FSaveAsAct->setEnabled(drawn);
  FContextMenu->popup(event->globalPos());
}
