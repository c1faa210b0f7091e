// Copy and Save as... of the coefficient graph window: the plot goes to the clipboard as
// an image and an SVG picture, or into an SVG or PNG file written through a save file,
// so that a failed write never leaves half a file behind.
#include <QBuffer>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QMimeData>
#include <QSaveFile>
#include <QStandardPaths>

#include "dialogs/GraphWinF.h"
#include "dialogs/Sc_pic.h"

namespace {

const QString kSvgMimeType = QStringLiteral("image/svg+xml");
const QString kSvgSuffix = QStringLiteral("svg");
const QString kPngSuffix = QStringLiteral("png");
const QString kDefaultBaseName = QStringLiteral("hydrodynamic-coefficients");

QString SvgDescription()
{
  return QObject::tr("Drag coefficient Cx and lift coefficient Cy of the wing against the attack angle");
}

}  // namespace

void TGraphWin::SetErrorReporter(std::function<void(const QString&)> reporter)
{
  FErrorReporter = std::move(reporter);
}

// The one place this window shows a message box itself.
void TGraphWin::ReportError(const QString& message)
{
  if (FErrorReporter)
    FErrorReporter(message);
  else
    QMessageBox::critical(this, windowTitle(), message);
}

void TGraphWin::CopyPicture()
{
  const QImage image = ScPic1->RenderImage();
  if (image.isNull())
    return;
  auto* data = new QMimeData;
  data->setImageData(image);
  data->setData(kSvgMimeType, ScPic1->RenderSvg(windowTitle(), SvgDescription()));
  QGuiApplication::clipboard()->setMimeData(data);
}

bool TGraphWin::SavePicture(const QString& fileName)
{
  const QString shownName = QDir::toNativeSeparators(fileName);
  const QString suffix = QFileInfo(fileName).suffix().toLower();
  QByteArray bytes;
  if (suffix == kSvgSuffix) {
    bytes = ScPic1->RenderSvg(windowTitle(), SvgDescription());
  } else if (suffix == kPngSuffix) {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const QImage image = ScPic1->RenderImage();
    if (!image.isNull())
      image.save(&buffer, "PNG");
  } else {
    ReportError(tr("Cannot save \"%1\": the graph is saved as an .svg or a .png file.").arg(shownName));
    return false;
  }
  if (bytes.isEmpty()) {
    ReportError(tr("Cannot save \"%1\": the graph has not been drawn yet.").arg(shownName));
    return false;
  }
  QSaveFile file(fileName);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
    ReportError(tr("Cannot save \"%1\": %2.").arg(shownName, file.errorString()));
    return false;
  }
  return true;
}

void TGraphWin::SaveAsExecute()
{
  if (FSaveFolder.isEmpty())
    FSaveFolder = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
  const QString svgFilter = tr("SVG picture (*.svg)");
  const QString pngFilter = tr("PNG image (*.png)");
  QString chosenFilter = svgFilter;
  QString fileName = QFileDialog::getSaveFileName(this, tr("Save Graph As"),
                                                  QDir(FSaveFolder).filePath(kDefaultBaseName + '.' + kSvgSuffix),
                                                  svgFilter + QStringLiteral(";;") + pngFilter, &chosenFilter);
  if (fileName.isEmpty())
    return;
  if (QFileInfo(fileName).suffix().isEmpty())
    fileName += '.' + (chosenFilter == pngFilter ? kPngSuffix : kSvgSuffix);
  FSaveFolder = QFileInfo(fileName).absolutePath();
  SavePicture(fileName);
}
