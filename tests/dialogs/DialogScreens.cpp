// dialog_screens FOLDER: renders the environment and the warp and bridle dialogs offscreen
// at their first size and stretched, as PNG files in FOLDER, and lists where every edit
// and caption stands, so that the drawings can be checked against the controls on them.
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTextStream>

#include "dialogs/Envir.h"
#include "dialogs/WrpBrdAtt.h"

namespace {

void Shoot(TDrawingDialog& dialog, const QDir& folder, const QString& name, const QSize& client, QTextStream& out)
{
  dialog.show();
  dialog.resize(client);
  QApplication::processEvents();
  const QString file = folder.filePath(QStringLiteral("%1-%2x%3.png").arg(name).arg(client.width()).arg(client.height()));
  dialog.grab().save(file);
  out << file << "  panel " << dialog.Panel1->width() << "x" << dialog.Panel1->height() << "\n";
  for (QWidget* w : dialog.Panel1->findChildren<QWidget*>()) {
    if (!w->isVisible() || (!qobject_cast<QLabel*>(w) && !qobject_cast<QLineEdit*>(w)))
      continue;
    const QRect g = w->geometry();
    out << "  " << w->objectName() << " " << g.x() << "," << g.y() << " " << g.width() << "x" << g.height();
    if (const auto* label = qobject_cast<QLabel*>(w))
      out << "  \"" << QString(label->text()).replace(QLatin1Char('\n'), QLatin1Char('|')) << "\"";
    out << "\n";
  }
  dialog.hide();
}

}  // namespace

int main(int argc, char** argv)
{
  // Offscreen, and the dialogs' stored placements go to a throw-away store.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  const QTemporaryDir settings;
  qputenv("XDG_CONFIG_HOME", settings.path().toLocal8Bit());
  QApplication application(argc, argv);
  if (argc < 2) {
    QTextStream(stderr) << "usage: dialog_screens FOLDER\n";
    return 2;
  }
  const QDir folder(QString::fromLocal8Bit(argv[1]));
  QDir().mkpath(folder.path());
  QTextStream out(stdout);

  TEnvironment environment;
  for (const QSize& client : {QSize(492, 390), QSize(992, 807), QSize(492, 373), QSize(800, 420)}) {
    // Execute's preparation without the modal loop.
    QMetaObject::invokeMethod(&environment, [&environment] { environment.reject(); }, Qt::QueuedConnection);
    environment.Execute();
    Shoot(environment, folder, QStringLiteral("environment"), client, out);
  }
  TWrpBrdAttack wrpBrdAttack;
  for (const QSize& client : {QSize(450, 414), QSize(900, 828), QSize(392, 323), QSize(700, 414)})
    Shoot(wrpBrdAttack, folder, QStringLiteral("warp-bridle"), client, out);
  return 0;
}
