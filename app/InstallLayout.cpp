// The program's files in the build tree and in an installed tree.
#include "InstallLayout.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "RavlenVersion.h"

namespace {

constexpr const char* kHelpFileName = "rvn.hlp";

}  // namespace

QString InstalledDataFolder(const QString& executableDir)
{
  return QDir::cleanPath(QDir(executableDir).filePath(QStringLiteral(RAVLEN_DATA_FROM_BINDIR)));
}

bool RunsInstalled(const QString& executableDir) { return QFileInfo(InstalledDataFolder(executableDir)).isDir(); }

QStringList HelpFileCandidates(const QString& executableDir)
{
  return {QDir(executableDir).filePath(QString::fromLatin1(kHelpFileName)),
          QDir(InstalledDataFolder(executableDir)).filePath(QString::fromLatin1(kHelpFileName))};
}

QString HelpFilePath(const QString& executableDir)
{
  const QStringList candidates = HelpFileCandidates(executableDir);
  for (const QString& path : candidates)
    if (QFileInfo(path).isFile())
      return path;
  return candidates.front();
}

QString HelpFilePath() { return HelpFilePath(QCoreApplication::applicationDirPath()); }
