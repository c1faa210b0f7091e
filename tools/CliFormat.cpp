// Number formats of the command-line tools.
#include "CliFormat.h"

#include <cmath>
#include <cstdio>

std::string JsonNumber(Real value)
{
  if (!std::isfinite(value))
    return "null";
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.17Lg", value);
  return buffer;
}

std::string JsonVector(const Txyz& v, Real divisor)
{
  return "[" + JsonNumber(v.X / divisor) + ", " + JsonNumber(v.Y / divisor) + ", " +
         JsonNumber(v.Z / divisor) + "]";
}

std::string Fixed(Real value, int decimals, int width)
{
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%*.*Lf", width, decimals, value);
  return buffer;
}

std::string Row(const char* label, const Txyz& v, int decimals, Real divisor)
{
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "  %-22s", label);
  return buffer + Fixed(v.X / divisor, decimals, 14) + Fixed(v.Y / divisor, decimals, 14) +
         Fixed(v.Z / divisor, decimals, 14) + "\n";
}
