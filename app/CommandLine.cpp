// The desktop program's own options.
#include "CommandLine.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <ostream>

#include "InstallLayout.h"
#include "tools/ProgramVersion.h"

namespace {

constexpr const char* kUsage =
    "Usage: ravlen [options]\n"
    "Balances a trawl door in a window: the 3D view of the door, the numeric panel, the\n"
    "coefficient graph and the dialogs. Without options it opens the main window.\n"
    "\n"
    "  --help-path         print where the help file shown by Help is, and exit\n"
    "  --version           the program's version\n"
    "  --help              this text\n"
    "\n"
    "Qt's own options (-platform NAME, -display DISPLAY, -style STYLE, ...) are accepted too.\n"
    "Exit status: 0, or 1 when --help-path finds no help file.\n";

int PrintHelpPath(int& argc, char** argv, std::ostream& out, std::ostream& err)
{
  const QCoreApplication application(argc, argv);
  const QString path = HelpFilePath();
  if (!QFileInfo(path).isFile()) {
    err << "ravlen: no help file; looked for " << HelpFileCandidates(QCoreApplication::applicationDirPath())
                                                      .join(QStringLiteral(" and "))
                                                      .toStdString()
        << "\n";
    return 1;
  }
  out << path.toStdString() << "\n";
  return 0;
}

}  // namespace

std::optional<int> AnswerWithoutWindow(int& argc, char** argv, std::ostream& out, std::ostream& err)
{
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--help") {
      out << kUsage;
      return 0;
    }
    if (arg == "--version") {
      PrintVersion(out, "ravlen");
      return 0;
    }
    if (arg == "--help-path")
      return PrintHelpPath(argc, argv, out, err);
  }
  return std::nullopt;
}
