// Text and number helpers.
#include "ToolsText.h"

#include <cerrno>
#include <charconv>
#include <climits>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }
bool IsAsciiLetter(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

TNumberLocale LocaleOfTheCLibrary()
{
  TNumberLocale locale;
  if (const std::lconv* conv = std::localeconv()) {
    if (conv->decimal_point && conv->decimal_point[0])
      locale.DecimalSeparator = conv->decimal_point[0];
    locale.ThousandSeparator = conv->thousands_sep ? conv->thousands_sep[0] : '\0';
  }
  return locale;
}

// The decimal digits of |number| rounded half away from zero to `decimals` fractional
// digits: integer digits and fraction digits, without sign. The value is first printed
// with more digits than an extended real holds, so the rounding sees its exact decimal
// expansion rather than a second binary rounding.
void RoundedDigits(Real number, int decimals, std::string& integerPart, std::string& fraction)
{
  const int digits = decimals + 25;
  std::string text(std::snprintf(nullptr, 0, "%.*Lf", digits, std::fabs(number)) + 1, '\0');
  std::snprintf(text.data(), text.size(), "%.*Lf", digits, std::fabs(number));
  text.pop_back();
  // The point is whatever the C library's locale makes it, so look for the first non-digit.
  const std::size_t point = text.find_first_not_of("0123456789");
  integerPart = text.substr(0, point);
  std::string all = integerPart + text.substr(point + 1, decimals);
  const bool roundUp = text[point + 1 + decimals] >= '5';
  if (roundUp) {
    int i = static_cast<int>(all.size()) - 1;
    while (i >= 0 && all[i] == '9')
      all[i--] = '0';
    if (i >= 0)
      ++all[i];
    else
      all.insert(all.begin(), '1');
  }
  integerPart = all.substr(0, all.size() - decimals);
  fraction = all.substr(all.size() - decimals);
}

}  // namespace

TNumberLocale& ProcessNumberLocale()
{
  static TNumberLocale locale = LocaleOfTheCLibrary();
  return locale;
}

std::string RepeatChar(char ch, int count) { return count > 0 ? std::string(count, ch) : std::string(); }

std::string TrimBlanks(const std::string& s)
{
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  std::size_t first = 0, last = s.size();
  while (first < last && blank(s[first]))
    ++first;
  while (last > first && blank(s[last - 1]))
    --last;
  return s.substr(first, last - first);
}

int SafeStrToInt(const std::string& s)
{
  const std::string t = TrimBlanks(s);
  std::size_t i = 0;
  if (i < t.size() && (t[i] == '+' || t[i] == '-'))
    ++i;
  if (i == t.size())
    return 0;
  for (std::size_t k = i; k < t.size(); ++k)
    if (!IsDigit(static_cast<unsigned char>(t[k])))
      return 0;
  errno = 0;
  const long long value = std::strtoll(t.c_str(), nullptr, 10);
  if (errno == ERANGE || value < INT_MIN || value > INT_MAX)
    return 0;
  return static_cast<int>(value);
}

std::string FormatReal(int width, int decimals, bool strip, Real number, const TNumberLocale& locale)
{
  decimals = decimals < 0 ? 0 : decimals > 60 ? 60 : decimals;  // beyond any extended digit
  // The picture has width - decimals - 1 digit places before the point; they only say
  // that digits may stand there, so the picture itself never shapes the text.
  RAVLEN_ASSERT(RepeatChar('#', width - decimals - 1).size() + 1 + decimals < 225,
                "FormatReal: the picture must stay shorter than 225 characters");
  if (std::isnan(number))
    return "NAN";
  if (std::isinf(number))
    return number > 0 ? "INF" : "-INF";

  std::string integerPart, fraction;
  RoundedDigits(number, decimals, integerPart, fraction);
  while (!fraction.empty() && fraction.back() == '0')
    fraction.pop_back();
  const std::size_t nonZero = integerPart.find_first_not_of('0');
  integerPart = nonZero == std::string::npos ? std::string() : integerPart.substr(nonZero);
  if (integerPart.empty() && fraction.empty())
    return {};

  std::string text = number < 0 ? "-" : "";
  text += integerPart;
  if (!fraction.empty())
    text += locale.DecimalSeparator + fraction;

  if (strip) {
    while (text.find(locale.DecimalSeparator) != std::string::npos &&
           (text.back() == '0' || text.back() == locale.DecimalSeparator))
      text.pop_back();
    const std::size_t first = text.find_first_not_of(' ');
    text = first == std::string::npos ? std::string() : text.substr(first);
  }
  return text;
}

std::string FormatGeneral(Real number, const TNumberLocale& locale)
{
  constexpr int kDigits = 15;            // significant digits shown
  constexpr int kLowestFixed = -4;       // smallest decimal exponent written without "E"
  if (std::isnan(number))
    return "NAN";
  if (std::isinf(number))
    return number > 0 ? "INF" : "-INF";
  if (number == 0)  // exact: both zeros read "0"
    return "0";
  // to_chars is independent of the C library's locale: always "d.ddde+XX".
  char buffer[64];
  const std::to_chars_result result =
      std::to_chars(buffer, buffer + sizeof buffer, std::fabs(number), std::chars_format::scientific, kDigits - 1);
  const std::string text(buffer, result.ptr);
  const std::size_t e = text.find('e');
  const int exponent = std::atoi(text.c_str() + e + 1);
  std::string digits;
  for (std::size_t i = 0; i < e; ++i)
    if (IsDigit(static_cast<unsigned char>(text[i])))
      digits += text[i];
  while (digits.size() > 1 && digits.back() == '0')
    digits.pop_back();

  std::string out = number < 0 ? "-" : "";
  const int count = static_cast<int>(digits.size());
  if (exponent < kLowestFixed || exponent >= kDigits) {
    out += digits[0];
    if (count > 1)
      out += locale.DecimalSeparator + digits.substr(1);
    out += 'E';
    if (exponent < 0)
      out += '-';
    out += std::to_string(exponent < 0 ? -exponent : exponent);
  } else if (exponent < 0) {
    out += '0';
    out += locale.DecimalSeparator;
    out += std::string(-exponent - 1, '0') + digits;
  } else if (count <= exponent + 1) {
    out += digits + std::string(exponent + 1 - count, '0');
  } else {
    out += digits.substr(0, exponent + 1) + locale.DecimalSeparator + digits.substr(exponent + 1);
  }
  return out;
}

Real ParseRealLenient(const std::string& s, const TNumberLocale& locale)
{
  const std::size_t n = s.size();
  if (n == 0)
    return 0;
  const auto at = [&s](std::size_t i) { return static_cast<unsigned char>(s[i]); };
  const unsigned char thousand = static_cast<unsigned char>(locale.ThousandSeparator);
  const auto digitChar = [&](std::size_t i) { return IsDigit(at(i)) || (thousand != 0 && at(i) == thousand); };

  std::size_t i = 0;
  while (i < n && (s[i] == ' ' || s[i] == '\t'))
    ++i;
  Real sign = 1;
  if (i < n && s[i] == '+')
    ++i;
  else if (i < n && s[i] == '-') {
    sign = -1;
    ++i;
  }
  Real integer = 0;
  for (; i < n && digitChar(i); ++i)
    if (at(i) != thousand)
      integer = integer * 10 + (at(i) - '0');
  // One character that is neither a letter nor a digit stands for the decimal point.
  if (i < n && (s[i] == locale.DecimalSeparator || (!IsAsciiLetter(at(i)) && !IsDigit(at(i)))))
    ++i;
  Real fraction = 0, scale = 1;
  for (; i < n && digitChar(i); ++i)
    if (at(i) != thousand) {
      fraction = fraction * 10 + (at(i) - '0');
      scale = scale / 10;
    }
  long long exponent = 0;
  int exponentSign = 1;
  if (i + 1 < n) {
    if (s[i] == 'E' || s[i] == 'F' || s[i] == 'e' || s[i] == 'f')
      ++i;
    if (i < n && (s[i] == '+' || s[i] == '-')) {
      exponentSign = s[i] == '-' ? -1 : 1;
      ++i;
    }
    for (; i < n && digitChar(i); ++i)
      if (at(i) != thousand) {
        exponent = exponent * 10 + (at(i) - '0');
        if (exponent > INT_MAX)
          return 0;
      }
  }
  Real power = 1;
  for (long long k = 0; k < exponent && std::isfinite(power); ++k)
    power = power * 10;
  const Real mantissa = sign * (integer + fraction * scale);
  const Real result = exponentSign > 0 ? mantissa * power : mantissa / power;
  return std::isfinite(result) ? result : 0;
}

bool StrictStrToReal(const std::string& s, Real& value, const TNumberLocale& locale)
{
  const std::string t = TrimBlanks(s);
  std::string c;  // the text in the C library's form, '.' as the point
  std::size_t i = 0;
  if (i < t.size() && (t[i] == '+' || t[i] == '-'))
    c += t[i++];
  int digits = 0;
  bool point = false;
  for (; i < t.size(); ++i) {
    const unsigned char ch = static_cast<unsigned char>(t[i]);
    if (IsDigit(ch)) {
      c += t[i];
      ++digits;
    } else if (ch == static_cast<unsigned char>(locale.DecimalSeparator) && !point) {
      c += '.';
      point = true;
    } else {
      break;
    }
  }
  if (digits == 0)
    return false;
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
    c += 'e';
    ++i;
    if (i < t.size() && (t[i] == '+' || t[i] == '-'))
      c += t[i++];
    int exponentDigits = 0;
    for (; i < t.size() && IsDigit(static_cast<unsigned char>(t[i])); ++i, ++exponentDigits)
      c += t[i];
    if (exponentDigits == 0)
      return false;
  }
  if (i != t.size())
    return false;
  // strtold reads '.' as the point in the "C" locale the program runs its numbers in;
  // with any other locale the point is swapped for that locale's own.
  if (const std::lconv* conv = std::localeconv(); conv && conv->decimal_point && conv->decimal_point[0] != '.')
    for (char& ch : c)
      if (ch == '.')
        ch = conv->decimal_point[0];
  errno = 0;
  const Real result = std::strtold(c.c_str(), nullptr);
  if (errno == ERANGE && std::isinf(result))
    return false;
  value = result;
  return true;
}

Real SafeStrToReal(const std::string& s, const TNumberLocale& locale)
{
  const std::string t = TrimBlanks(s);
  if (t.empty())
    return 0;
  Real value;
  if (!StrictStrToReal(t, value, locale))
    value = ParseRealLenient(t, locale);
  if (t[0] == '-' && value > 0)
    value = -value;
  return value;
}

Real NiceStep(Real x)
{
  if (x == 0 || !std::isfinite(x))  // exact: only a true zero has no magnitude
    return 1;  // nor has infinity or NaN a round step; 1 keeps callers' loops finite
  const Real magnitude = std::fabs(x);
  const int k = static_cast<int>(std::trunc(std::log10(magnitude))) + 1;
  const Real d = std::pow(Real(10), k);
  if (magnitude > d / 2)
    return d / 10;
  if (magnitude > d / 4)
    return d / 20;
  return d / 40;
}
