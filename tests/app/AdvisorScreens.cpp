// advisor_screens FOLDER: renders the rigging advisor before, during and after a search,
// and the main window after the best rigging was applied, as PNG files in FOLDER, for a
// look at the dialog's table and the window's status bar.
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextStream>

#include "app/CommandTable.h"
#include "app/DoorF.h"
#include "dialogs/RiggingAdvisor.h"

namespace {

void Wait(int ms)
{
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < ms)
    QApplication::processEvents(QEventLoop::AllEvents, 10);
}

void Shoot(QWidget& widget, const QDir& folder, const char* name, QTextStream& out)
{
  QApplication::processEvents();
  const QString file = folder.filePath(QString::fromLatin1(name) + QStringLiteral(".png"));
  widget.grab().save(file);
  out << file << "  " << widget.width() << "x" << widget.height() << "\n";
}

}  // namespace

int main(int argc, char** argv)
{
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  const QTemporaryDir scratch;
  qputenv("XDG_CONFIG_HOME", scratch.path().toLocal8Bit());
  QApplication application(argc, argv);
  if (argc < 2) {
    QTextStream(stderr) << "usage: advisor_screens FOLDER\n";
    return 2;
  }
  const QDir folder(QDir::current().absoluteFilePath(QString::fromLocal8Bit(argv[1])));
  QDir().mkpath(folder.path());
  QDir::setCurrent(scratch.path());
  QTextStream out(stdout);

  TFDoor door;
  door.show();
  door.Commands().Execute(QStringLiteral("RiggingAdvisor"));
  TRiggingAdvisor& advisor = *door.Advisor();
  Wait(100);
  Shoot(advisor, folder, "advisor-before", out);

  for (QCheckBox* box : {advisor.AllAreas, advisor.AllBallast, advisor.AllBrackets})
    box->setChecked(true);
  advisor.RunBtn->click();
  Wait(400);
  Shoot(advisor, folder, "advisor-during", out);
  advisor.CancelBtn->click();
  Shoot(advisor, folder, "advisor-cancelled", out);

  for (QCheckBox* box : {advisor.AllAreas, advisor.AllBallast, advisor.AllBrackets})
    box->setChecked(false);
  advisor.RunBtn->click();
  while (advisor.Running())
    QApplication::processEvents(QEventLoop::AllEvents, 10);
  Shoot(advisor, folder, "advisor-after", out);

  advisor.ApplyBtn->click();
  Wait(100);
  Shoot(door, folder, "door-after-apply", out);
  return 0;
}
