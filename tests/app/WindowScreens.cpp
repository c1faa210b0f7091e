// window_screens FOLDER: renders the main window offscreen at the client size of its
// designed bounds and at a few others, as PNG files in FOLDER, and lists the window's
// smallest size and where every control of the side panel stands, so that the panel can
// be checked for controls that overlap or fall outside the window.
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QTemporaryDir>
#include <QTextStream>
#include <QToolBar>

#include "app/DoorF.h"

namespace {

void Shoot(TFDoor& door, const QDir& folder, const QSize& client, QTextStream& out)
{
  door.resize(client);
  QApplication::processEvents();
  const QString file = folder.filePath(QStringLiteral("door-%1x%2.png").arg(client.width()).arg(client.height()));
  door.grab().save(file);
  out << file << "  window " << door.width() << "x" << door.height() << "  minimum " << door.minimumSizeHint().width()
      << "x" << door.minimumSizeHint().height() << "\n";
  for (QToolBar* bar : door.findChildren<QToolBar*>())
    out << "  band " << bar->objectName() << " " << bar->x() << "," << bar->y() << " " << bar->width() << "x"
        << bar->height() << "\n";
  for (QWidget* w : door.Panel1->findChildren<QWidget*>()) {
    if (!w->isVisible() || w->parentWidget()->inherits("TSpinButton"))
      continue;
    const QRect g(w->mapTo(&door, QPoint(0, 0)), w->size());
    out << "  " << w->metaObject()->className() << " " << w->objectName() << " " << g.x() << "," << g.y() << " "
        << g.width() << "x" << g.height();
    if (const auto* label = qobject_cast<QLabel*>(w))
      out << "  \"" << label->text() << "\"";
    out << "\n";
  }
}

}  // namespace

int main(int argc, char** argv)
{
  // Offscreen, with a throw-away settings store and working directory for the bar files.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  const QTemporaryDir scratch;
  qputenv("XDG_CONFIG_HOME", scratch.path().toLocal8Bit());
  QApplication application(argc, argv);
  if (argc < 2) {
    QTextStream(stderr) << "usage: window_screens FOLDER\n";
    return 2;
  }
  const QDir folder(QDir::current().absoluteFilePath(QString::fromLocal8Bit(argv[1])));
  QDir().mkpath(folder.path());
  QDir::setCurrent(scratch.path());
  QTextStream out(stdout);

  TFDoor door;
  door.show();
  QApplication::processEvents();
  for (const QSize& client : {door.size(), QSize(851, 592), QSize(640, 480)})
    Shoot(door, folder, client, out);
  return 0;
}
