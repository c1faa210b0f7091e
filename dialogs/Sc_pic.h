// The plot picture: a control that holds one picture, drawn in user units (ranges and
// margins map them to pixels), with a routine for complete axes: dotted grid, tick labels
// and titles. In metafile mode the picture is a recorded vector picture shown scaled to
// the control; in bitmap mode it is a pixel image of the control's size.
#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPicture>
#include <QWidget>
#include <optional>

#include "dialogs/Sc_pic_math.h"

class QByteArray;

// What the picture of a ScPic holds.
enum class TImageType {
  itBitmap,    // a pixel image the size of the control
  itMetafile,  // a recorded vector picture, shown scaled to the control
};

// Pixel format of the image in bitmap mode.
enum class TPixelFormat {
  pfDevice,  // the screen's own format (32-bit RGB)
  pf1bit,    // monochrome: entry 0 black, entry 1 white; never cleared to white
  pf24bit,   // 8 bits per channel, packed
  pf32bit,   // 8 bits per channel and 8 bits unused
};

// The drawing surface of metafile mode: a painter recording into a vector picture that
// has no preset frame, so the picture's bounds are those of what is drawn. Destroying the
// canvas closes the recording and leaves the finished picture in the metafile.
class TMetafileCanvasRectLess : public QPainter {
public:
  // Opens a recording into metafile; isActive() is false when it could not be opened.
  explicit TMetafileCanvasRectLess(QPicture& metafile);
};

// The plot picture control. One plot: ClearPicture; SetRange; optionally AddMargins;
// DrawAxes; any drawing in user units; EndDraw. Every drawing operation is abandoned
// silently when no canvas can be had (a bitmap of a control with no area).
class ScPic : public QWidget {
  Q_OBJECT

public:
  explicit ScPic(QWidget* parent = nullptr);
  ~ScPic() override;

  // What the picture holds. Switching closes any recording and drops the picture.
  TImageType ImageType() const { return FImageType; }
  void SetImageType(TImageType type);
  // Pixel format of the next bitmap. Switching drops the present bitmap.
  TPixelFormat PixelFormat() const { return FPixelFormat; }
  void SetPixelFormat(TPixelFormat format);

  // Ranges and margins of the plotting area (user units, pixels).
  const TPlotFrame& Frame() const { return FFrame; }
  // x from xMin to xMin + xRange, y from yMin to yMin + yRange, user units.
  void SetRange(Real xMin, Real xRange, Real yMin, Real yRange);
  // Pixels kept free between the control's edges and the plotting area.
  void SetMargins(int left, int top, int right, int bottom);
  // Widens both ranges by a tenth at each end.
  void AddMargins();

  // Pixel column of x at the control's present width.
  int XToPixel(Real x) const;
  // Pixel row of y at the control's present height (larger y higher up).
  int YToPixel(Real y) const;
  // y at pixel row p.
  Real PixelToY(int p) const;
  // Pixels per x unit; XRange must not be 0.
  Real XScale() const;
  // Pixels per y unit; YRange must not be 0.
  Real YScale() const;

  // The canvas to draw on in pixels: the open recording in metafile mode (opened on
  // demand), the bitmap's painter in bitmap mode; null when none can be had. Its pen,
  // brush, font and background mode stay as set until EndDraw.
  QPainter* GetCanvas();
  // Starts a new, white picture the size of the control (a 1-bit bitmap is not cleared).
  void ClearPicture();
  // Closes the recording (metafile mode) or the painter (bitmap mode); the control then
  // shows what was drawn.
  void EndDraw();

  // Sets the canvas pen's colour, width in pixels (0 the thinnest line) or style.
  void SetPenColor(const QColor& color);
  void SetPenWidth(int width);
  void SetPenStyle(Qt::PenStyle style);
  // Colour of the text written by TextAtXY and DrawAxes; black unless set.
  QColor FontColor() const { return FFontColor; }
  void SetFontColor(const QColor& color);
  // Moves the pen to (x, y), user units.
  void MoveToXY(Real x, Real y);
  // Draws with the canvas pen from the pen position to (x, y) and moves the pen there.
  void LineToXY(Real x, Real y);
  // Sets the pen colour and draws the segment from (x1, y1) to (x2, y2).
  void DrawLine(const QColor& color, Real x1, Real y1, Real x2, Real y2);
  // Writes text with its top-left corner at (x, y) in the canvas font and background mode.
  void TextAtXY(const QString& text, Real x, Real y);
  // Draws the dotted grid with tick labels (xDecimals, yDecimals decimals at most), the
  // two axes through 0 and the two titles; leaves the pen solid with width 2, the axes
  // font and a transparent background.
  void DrawAxes(int xDecimals, int yDecimals, const QString& xTitle, const QString& yTitle);

  // The picture the control shows: the last closed recording and the control size it was
  // recorded at (metafile mode), or the bitmap (bitmap mode).
  const QPicture& Metafile() const { return FMetafile; }
  QSize MetafileSize() const { return FMetafileSize; }
  const QImage& Bitmap() const { return FBitmap; }
  // True once there is a picture to show.
  bool HasPicture() const;
  // The shown picture as pixels at the size it was drawn for, on white.
  QImage RenderImage() const;
  // The shown picture as an SVG document (vector in metafile mode).
  QByteArray RenderSvg(const QString& title, const QString& description) const;

  QSize sizeHint() const override;

protected:
  void paintEvent(QPaintEvent* event) override;

private:
  QImage::Format BitmapFormat() const;
  void ResizeBitmap();
  void TextAtPixel(QPainter& canvas, int x, int y, const QString& text);

  TPlotFrame FFrame;
  TImageType FImageType = TImageType::itBitmap;
  TPixelFormat FPixelFormat = TPixelFormat::pfDevice;
  QPoint FPenPos;  // pixels
  QColor FFontColor = Qt::black;
  // Each canvas is declared after the picture it paints on, so that it closes first.
  // Metafile mode: the shown picture, and the one being recorded while a canvas is open.
  QPicture FMetafile;
  QSize FMetafileSize;
  QPicture FRecording;
  QSize FRecordingSize;
  std::optional<TMetafileCanvasRectLess> FRecordingCanvas;
  // Bitmap mode.
  QImage FBitmap;
  std::optional<QPainter> FBitmapCanvas;
};
