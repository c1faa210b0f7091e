// The help file's places.
#include "HelpFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "RavlenVersion.h"

namespace {

constexpr const char* kHelpFileName = "rvn.hlp";

}  // namespace

QStringList HelpFileCandidates(const QString& executableDir)
{
  const QDir bin(executableDir);
  return {bin.filePath(QString::fromLatin1(kHelpFileName)),
          QDir::cleanPath(bin.filePath(QStringLiteral(RAVLEN_DATA_FROM_BINDIR "/") + QString::fromLatin1(kHelpFileName)))};
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
