// The --version option that every program of Ravlen answers before anything else: one
// line with the program's name and the version of the build.
#pragma once

#include <iosfwd>
#include <string_view>

// The version of this build, "major.minor.patch".
std::string_view RavlenVersion();
// True when one of args[1..argc-1] is exactly option.
bool HasOption(int argc, const char* const* argv, std::string_view option);
// Writes "<program> <version>" and a line end.
void PrintVersion(std::ostream& out, std::string_view program);
