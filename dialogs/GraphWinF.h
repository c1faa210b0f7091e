// The coefficient graph window: a small stay-on-top tool window that plots the wing's drag
// coefficient Cx (red) and lift coefficient Cy (green) of the quarter-circle base table
// against the attack angle, with a grey marker at the door's present wing attack angle.
#pragma once

#include <QWidget>
#include <functional>
#include <optional>

#include "coefficients/Real.h"

class QAction;
class QMenu;
class ScPic;

// The window is created hidden and lives as long as the program; showing, hiding and
// redrawing are the main window's business (the Graph command, balance runs, Animate).
class TGraphWin : public QWidget {
  Q_OBJECT

public:
  // Created hidden, at its designed place and size; parent is the main window.
  explicit TGraphWin(QWidget* parent = nullptr);

  // Wing attack angle the marker stands at, radians, as the evaluation computed it
  // (before it is folded into (-pi/2, pi/2]). Kept while hidden; drawn at the next redraw.
  Real AttackW() const { return FAttackW; }
  void SetAttackW(Real attackW) { FAttackW = attackW; }
  // Where the window reads the door's present wing attack angle (radians) each time it
  // draws of its own accord (shown, resized, DrawGraph); without one it keeps the angle
  // last stored.
  void SetAttackSource(std::function<Real()> source) { FAttackSource = std::move(source); }
  // Redraws the plot for the present attack angle at the picture's present size; does
  // nothing while the window is hidden, and keeps a picture that already shows the marker
  // on the same pixel column. The picture is painted from the event loop.
  void DrawGraph();
  // Stores attackW, redraws and paints the picture at once, dispatching no other event:
  // for callers inside a long loop (every evaluation while Animate runs, the end of a
  // balance run). Does nothing but store the angle while the window is hidden, and
  // nothing at all while the marker stays on the same pixel column.
  void DrawGraphNow(Real attackW);

  // Whether the window stays above ordinary windows (it does from the start). The value
  // prompt turns this off while it is open. Visibility and bounds are kept, and
  // VisibleChanged is not emitted for the switch.
  bool StayOnTop() const;
  void SetStayOnTop(bool on);

  // Puts the plot on the clipboard as an image and as an SVG picture.
  void CopyPicture();
  // Writes the plot to fileName, as SVG for a name ending in ".svg" and as PNG for ".png".
  // A failure is reported through the error reporter and returns false.
  bool SavePicture(const QString& fileName);
  // Receives the message of a failed save; unset, a message box of this window shows it.
  void SetErrorReporter(std::function<void(const QString& message)> reporter);

  // The plot picture control.
  ScPic* Plot() const { return ScPic1; }
  QSize sizeHint() const override;

signals:
  // The window was shown or hidden by a call or by its close box (not by the window
  // system, as when the main window is minimised); the Graph command's check follows it.
  void VisibleChanged(bool visible);

protected:
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

private:
  void FormResize();
  // DrawGraph; false when the window is hidden or the picture already shows this state.
  bool Redraw();
  void SaveAsExecute();
  void ReportError(const QString& message);

  ScPic* ScPic1;
  QAction* FCopyAct;
  QAction* FSaveAsAct;
  QMenu* FContextMenu;
  Real FAttackW = 0;
  std::function<Real()> FAttackSource;
  std::optional<int> FDrawnMarkerColumn;  // pixel column of the drawn marker; none for NaN
  bool FSwitchingStayOnTop = false;  // hide and show of a flag switch are not the user's
  QString FSaveFolder;               // where the last picture was saved
  std::function<void(const QString&)> FErrorReporter;
};
