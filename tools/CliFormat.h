// Number and text formats shared by the command-line tools: JSON numbers with 17
// significant digits (null for what a double cannot carry), the fixed-width rows of the
// human tables, and arguments echoed safely in one-line messages.
#pragma once

#include <string>
#include <string_view>

#include "mechanics/Tools.h"

// value with 17 significant digits; "null" when it is NaN, infinite or beyond the range
// of a double (which a JSON reader would take for infinity). A value too small for a
// double prints as 0.
std::string JsonNumber(Real value);
// [x, y, z] of v / divisor as JSON numbers.
std::string JsonVector(const Txyz& v, Real divisor = 1);
// value with decimals decimals, right-aligned in width characters.
std::string Fixed(Real value, int decimals, int width);
// One table row: the label in 22 columns, then X, Y and Z of v / divisor, 14 columns
// each. A number too wide for its column is written in exponent form, so the columns
// stay apart.
std::string Row(const char* label, const Txyz& v, int decimals, Real divisor = 1);
// text as it may stand in a one-line message: a backslash, control characters (line
// breaks, terminal escapes), C1 controls and bytes that are not UTF-8 are written as
// \\, \n, \r, \t or \xHH; other characters stand as they are.
std::string EscapedText(std::string_view text);
// Whether value is finite and within the range of a double.
bool FitsDouble(Real value);
