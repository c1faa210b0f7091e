// Number formats shared by the command-line tools: JSON numbers with 17 significant
// digits (null for NaN and infinities) and the fixed-width rows of the human tables.
#pragma once

#include <string>

#include "mechanics/Tools.h"

// value with 17 significant digits; "null" when it is NaN or infinite.
std::string JsonNumber(Real value);
// [x, y, z] of v / divisor as JSON numbers.
std::string JsonVector(const Txyz& v, Real divisor = 1);
// value with decimals decimals, right-aligned in width characters.
std::string Fixed(Real value, int decimals, int width);
// One table row: the label in 22 columns, then X, Y and Z of v / divisor, 14 columns each.
std::string Row(const char* label, const Txyz& v, int decimals, Real divisor = 1);
