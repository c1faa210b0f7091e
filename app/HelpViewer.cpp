// The help viewer.
#include "HelpViewer.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QTextBrowser>
#include <QVBoxLayout>

THelpViewer::THelpViewer(QWidget* parent) : QDialog(parent, Qt::Window)
{
  setObjectName(QStringLiteral("HelpViewer"));
  setWindowTitle(tr("Ravlen Help"));
  resize(640, 560);
  FBrowser = new QTextBrowser(this);
  FBrowser->setOpenExternalLinks(true);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(FBrowser);
  layout->addWidget(buttons);
}

void THelpViewer::ShowFile(const QString& path)
{
  QFile file(path);
  if (file.open(QIODevice::ReadOnly)) {
    FBrowser->setSearchPaths({QFileInfo(path).absolutePath()});
    FBrowser->setHtml(QString::fromUtf8(file.readAll()));
    setWindowTitle(tr("Ravlen Help"));
  } else {
    FBrowser->setHtml(tr("<h2>Help is not available</h2><p>The help file <b>%1</b> cannot be opened: %2.</p>"
                         "<p>It is installed with the program; reinstalling the program puts it back.</p>")
                          .arg(path.toHtmlEscaped(), file.errorString().toHtmlEscaped()));
    setWindowTitle(tr("Ravlen Help - file missing"));
  }
  FBrowser->moveCursor(QTextCursor::Start);
  show();
  raise();
  activateWindow();
}
