// The program's files: Help finds "rvn.hlp" beside the program first, then in the data
// folder of the installed layout (bin beside share), found from the program's folder alone;
// that data folder tells an installed program from one in its build tree.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "app/InstallLayout.h"

namespace {

struct TLayoutCase {
  const char* Name;
  bool Beside, Installed;  // which copies exist
  bool ShowsInstalled;     // the installed copy is shown, else the one beside the program
};

}  // namespace

TEST(InstallLayout, HelpBesideTheProgramFirstThenInTheInstalledDataFolder)
{
  const TLayoutCase cases[] = {
      {"both", true, true, false},
      {"installed only", false, true, true},
      {"beside only", true, false, false},
      {"neither: the viewer names the copy beside the program", false, false, false},
  };
  for (const TLayoutCase& c : cases) {
    const QTemporaryDir prefix;
    const QDir root(prefix.path());
    ASSERT_TRUE(root.mkpath(QStringLiteral(INSTALL_BINDIR)));
    ASSERT_TRUE(root.mkpath(QStringLiteral(INSTALL_DATADIR "/ravlen")));
    const QString bin = root.filePath(QStringLiteral(INSTALL_BINDIR));
    const QString beside = root.filePath(QStringLiteral(INSTALL_BINDIR "/rvn.hlp"));
    const QString installed = root.filePath(QStringLiteral(INSTALL_DATADIR "/ravlen/rvn.hlp"));
    for (const auto& [wanted, path] : {std::pair{c.Beside, beside}, std::pair{c.Installed, installed}})
      if (wanted) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
      }
    const QString expected = c.ShowsInstalled ? installed : beside;
    EXPECT_EQ(QDir::cleanPath(HelpFilePath(bin)).toStdString(), expected.toStdString()) << c.Name;
  }
}

TEST(InstallLayout, AProgramIsInstalledWhenItsDataFolderIsThere)
{
  const QTemporaryDir prefix;
  const QDir root(prefix.path());
  ASSERT_TRUE(root.mkpath(QStringLiteral(INSTALL_BINDIR)));
  const QString bin = root.filePath(QStringLiteral(INSTALL_BINDIR));
  EXPECT_FALSE(RunsInstalled(bin));  // a build tree: nothing beside bin
  ASSERT_TRUE(root.mkpath(QStringLiteral(INSTALL_DATADIR "/ravlen")));
  EXPECT_TRUE(RunsInstalled(bin));
}
