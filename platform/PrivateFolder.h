// Folders and files of this user's own in places every user shares (/tmp, $TEMP): a
// folder ravlen-<uid> that only its owner may enter, made so that nobody can slip a link
// or a folder of theirs in its place, and a probe that tells whether a folder takes new
// files without touching any file that is already there.
#pragma once

#include <string>

// The folder of this user under base: "<base>/ravlen-<uid>" (uid in decimal).
std::string UserFolderPath(const std::string& base);

// Whether path is a folder that this user owns and nobody else may enter (no access bits
// for group or others). A symbolic link is refused, or followed when followLink is set.
// error says why not.
bool IsPrivateFolder(const std::string& path, bool followLink, std::string& error);

// Makes path a private folder: creates it with mode 0700 when it is missing, then checks
// it as IsPrivateFolder does (never through a link). Its parent must exist.
bool MakePrivateFolder(const std::string& path, std::string& error);

// Whether a file can be created in folder: creates one of a name nobody uses, exclusively
// (an existing file or link of that name is never opened), and removes it at once.
bool FolderTakesFiles(const std::string& folder);

// Whether path names a symbolic link (not what it points to).
bool IsSymbolicLink(const std::string& path);
