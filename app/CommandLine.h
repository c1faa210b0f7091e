// The options the desktop program answers without opening a window: --help, --version
// and --help-path. Every other argument is left to Qt (-platform, -style, ...).
#pragma once

#include <iosfwd>
#include <optional>

// Answers the first of the three options found on out (a failure on err) and returns the
// exit status; nothing when none is given and the window is to start. --help-path needs
// the program's folder, so it makes a QCoreApplication of its own: call this before the
// QApplication exists.
std::optional<int> AnswerWithoutWindow(int& argc, char** argv, std::ostream& out, std::ostream& err);
