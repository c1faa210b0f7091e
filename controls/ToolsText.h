// Text and number helpers: the program's compact number format, the lenient and strict
// readers of numbers typed by users or found in the units catalogue, and the round step
// sizes of the plots. Qt-free; the locale's separators come in as a small value.
#pragma once

#include <string>

#include "coefficients/Real.h"

// The two separators of the user's locale that enter the conversions.
struct TNumberLocale {
  char DecimalSeparator = '.';
  char ThousandSeparator = ',';  // '\0' when the locale has none
};

// The separators the process works with: read from the C library's locale on first use;
// a window program replaces them with those of its user interface locale.
TNumberLocale& ProcessNumberLocale();

// count copies of ch; empty for count <= 0.
std::string RepeatChar(char ch, int count);
// s without leading and trailing blanks (code 32) and tabs (code 9); nothing else removed.
std::string TrimBlanks(const std::string& s);
// Decimal 32-bit integer of the trimmed text; 0 for empty text and anything that does not
// convert (including values outside the 32-bit range).
int SafeStrToInt(const std::string& s);
// number rounded to `decimals` fractional digits and printed with no leading "0" before
// the separator, no trailing fractional zeros, the separator only when a digit follows,
// and an empty text for a value that rounds to zero (".5", "2", "-1234567.25").
// With strip set, trailing zeros and separator and leading blanks are removed as well.
// width only shapes the picture: integer digits are never cut.
std::string FormatReal(int width, int decimals, bool strip, Real number,
                       const TNumberLocale& locale = ProcessNumberLocale());
// The shortest text of at most 15 significant digits: no trailing zeros, the locale
// decimal separator, and the scientific form "1.63E-6" (mantissa, "E", a minus only for a
// negative exponent, no leading zeros) when the decimal exponent is below -4 or at least
// 15. Zero is "0"; NaN and infinities are "NAN", "INF" and "-INF".
std::string FormatGeneral(Real number, const TNumberLocale& locale = ProcessNumberLocale());
// Reads as much of a number as the text holds and never fails: any single character that
// is not a letter or a digit serves as the decimal point ("1/5" and "1 5" are 1.5), the
// thousand separator is skipped, an exponent letter E, F, e or f needs a character after
// it, and the first character that fits nowhere ends the number ("12kg" is 12). A result
// that overflows is 0.
Real ParseRealLenient(const std::string& s, const TNumberLocale& locale = ProcessNumberLocale());
// Strict conversion of the trimmed text first (sign, digits, at most one locale decimal
// separator, exponent), ParseRealLenient as the fall-back; 0 for empty or blank text.
Real SafeStrToReal(const std::string& s, const TNumberLocale& locale = ProcessNumberLocale());
// Strict conversion only: false when the trimmed text is not exactly one number.
bool StrictStrToReal(const std::string& s, Real& value, const TNumberLocale& locale = ProcessNumberLocale());
// a when flag is set, else b.
inline const std::string& ChooseStr(bool flag, const std::string& a, const std::string& b) { return flag ? a : b; }
// A round step for a quantity of magnitude x: 1, 0.5 or 0.25 times a power of ten (1 for 0).
Real NiceStep(Real x);
