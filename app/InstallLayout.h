// Where the program's own files lie. In the build tree they sit beside the executable; an
// installed tree keeps them in its data folder, <prefix>/share/ravlen beside <prefix>/bin,
// found from the executable's own folder, so that a relocated or DESTDIR tree finds its own.
#pragma once

#include <QString>
#include <QStringList>

// The installed data folder of a program in executableDir (it may not exist).
QString InstalledDataFolder(const QString& executableDir);
// True when the program in executableDir is installed: its data folder exists. Its own
// folder then belongs to the system and takes no files of the user's.
bool RunsInstalled(const QString& executableDir);

// The places the Help command looks for "rvn.hlp", in order: beside the executable, then
// in the installed data folder.
QStringList HelpFileCandidates(const QString& executableDir);
// The first candidate that exists, or the first one (beside the executable) when none
// does, so that the viewer names a file the user can look for.
QString HelpFilePath(const QString& executableDir);
// The same for this program (QCoreApplication must exist).
QString HelpFilePath();
