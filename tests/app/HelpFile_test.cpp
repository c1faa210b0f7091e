// Where Help finds "rvn.hlp": beside the program first, then in the data folder of the
// installed layout (bin beside share), found from the program's folder alone.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "app/HelpFile.h"

namespace {

struct TLayoutCase {
  const char* Name;
  bool Beside, Installed;  // which copies exist
  const char* Expected;    // "beside" or "installed"
};

}  // namespace

TEST(HelpFile, BesideTheProgramFirstThenTheInstalledDataFolder)
{
  const TLayoutCase cases[] = {
      {"both", true, true, "beside"},
      {"installed only", false, true, "installed"},
      {"beside only", true, false, "beside"},
      {"neither: the viewer names the copy beside the program", false, false, "beside"},
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
    const QString expected = QStringLiteral("beside") == QLatin1String(c.Expected) ? beside : installed;
    EXPECT_EQ(QDir::cleanPath(HelpFilePath(bin)).toStdString(), expected.toStdString()) << c.Name;
  }
}
