// TDrawingDialog: the frame the two conditions dialogs share. Their edits stand on a drawing
// that fills a panel following every edge of the dialog, and stay over their spots when it
// is resized. The dialog is created hidden and reused: it opens modally, puts the edit
// values aside on showing, Cancel (the button or Esc) puts them back, and every close,
// the close box's too, stores the placement and the values through Pos1.
#pragma once

#include <QDialog>
#include <QRect>
#include <QSize>

#include "assets/Assets.h"
#include "dialogs/DrawingSpots.h"

class QPushButton;
class TPos;
class TRegistry;
class TSvgDrawing;

// The layout of a conditions dialog; sizes and places in pixels of the client area.
struct TDrawingDialogDef {
  const char* Name = "";         // object name of the dialog
  QString Caption;               // window title
  QSize Client;                  // client size as designed and at first start
  QSize MinimumClient;           // smallest client size
  QRect Panel;                   // the panel with the drawing; follows all four edges
  QRect OKBtn;                   // the OK button
  QRect CancelBtn;               // the Cancel button
  Qt::Corner ButtonCorner = Qt::TopRightCorner;  // the corner both buttons follow
  const char* Drawing = "";      // resource path of the SVG drawing
  TWindowIconKind Icon = TWindowIconKind::Program;
  const char* SettingsPath = ""; // key of the placement store, "\Software\Tamarek\Ravlen"
  const char* PlacementValue = "";  // value name of the placement, "posEnvironment"
};

class TDrawingDialog : public QDialog {
  Q_OBJECT

public:
  ~TDrawingDialog() override;

  // Shows the dialog modally and returns when it closes: Accepted for OK, Rejected else.
  virtual int Execute();
  // FormClose: stores the placement and the values, then closes with result.
  void done(int result) override;
  // CancelBtnClick: puts back the values held at opening, then closes with Rejected.
  void reject() override;

  QPushButton* OKBtn = nullptr;
  QPushButton* CancelBtn = nullptr;
  QWidget* Panel1 = nullptr;      // holds the drawing and the edits
  TSvgDrawing* Image2 = nullptr;  // the drawing, stretched over Panel1
  TPos* Pos1 = nullptr;

protected:
  explicit TDrawingDialog(const TDrawingDialogDef& def, QWidget* parent = nullptr);

  // FormCreate: restores the placement (staying hidden) and the values through Pos1Read.
  // Called by the derived constructor once its edits exist.
  void FormCreate();
  // The spots of the controls on Panel1; a derived dialog keeps its edits there.
  TDrawingSpots& Spots() { return FSpots; }
  // Runs after the controls were put back on their spots for a new panel size.
  virtual void FormResize() {}
  // The dialog's own values, read from and written into the open key of Pos1.
  virtual void Pos1Read(TRegistry& registry) = 0;
  virtual void Pos1Write(TRegistry& registry) = 0;

  void closeEvent(QCloseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void showEvent(QShowEvent* e) override;

private:
  // Places panel, drawing and buttons for the present client size, then the spots.
  void ArrangeControls();

  TDrawingDialogDef FDef;
  TDrawingSpots FSpots;
};
