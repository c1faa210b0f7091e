// The version line of the programs.
#include "ProgramVersion.h"

#include <ostream>

#include "RavlenVersion.h"

std::string_view RavlenVersion() { return RAVLEN_VERSION; }

bool HasOption(int argc, const char* const* argv, std::string_view option)
{
  for (int i = 1; i < argc; ++i)
    if (argv[i] == option)
      return true;
  return false;
}

void PrintVersion(std::ostream& out, std::string_view program) { out << program << ' ' << RavlenVersion() << '\n'; }
