// The plot picture rendered for the clipboard and for files: pixels at the size it was
// drawn for, or an SVG document that keeps the recorded picture as vectors.
#include <QBuffer>
#include <QByteArray>
#include <QSvgGenerator>

#include "dialogs/Sc_pic.h"

QImage ScPic::RenderImage() const
{
  if (FImageType == TImageType::itBitmap)
    return FBitmap;
  if (FMetafileSize.isEmpty())
    return {};
  QImage image(FMetafileSize, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.drawPicture(0, 0, FMetafile);
  return image;
}

QByteArray ScPic::RenderSvg(const QString& title, const QString& description) const
{
  const QSize size = FImageType == TImageType::itBitmap ? FBitmap.size() : FMetafileSize;
  if (size.isEmpty())
    return {};
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator generator;
  generator.setOutputDevice(&buffer);
  generator.setSize(size);
  generator.setViewBox(QRect(QPoint(0, 0), size));
  // The generator's own default of 72 dots per inch would shrink the recorded fonts.
  generator.setResolution(FMetafile.logicalDpiY());
  generator.setTitle(title);
  generator.setDescription(description);
  QPainter painter(&generator);
  if (FImageType == TImageType::itBitmap)
    painter.drawImage(0, 0, FBitmap);
  else
    painter.drawPicture(0, 0, FMetafile);
  painter.end();
  return buffer.data();
}
