// Where the Help command finds "rvn.hlp": beside the executable, as in the build tree, or
// in the installed data folder, <prefix>/share/ravlen beside <prefix>/bin, found from the
// executable's own folder so that a relocated or DESTDIR tree finds its own copy.
#pragma once

#include <QString>
#include <QStringList>

// The places looked at, in order, for a program in executableDir.
QStringList HelpFileCandidates(const QString& executableDir);
// The first candidate that exists, or the first one (beside the executable) when none
// does, so that the viewer names a file the user can look for.
QString HelpFilePath(const QString& executableDir);
// The same for this program (QCoreApplication must exist).
QString HelpFilePath();
