// Number and text formats of the command-line tools.
#include "CliFormat.h"

#include <cmath>
#include <cstdio>
#include <limits>

namespace {

constexpr int kCellWidth = 14;

// The length of the UTF-8 sequence at text[i] when it is a valid one and no control
// character, else 0.
std::size_t PrintableSequence(std::string_view text, std::size_t i)
{
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i);
  std::size_t length = 0;
  unsigned code = 0;
  if (lead >= 0xC2 && lead <= 0xDF)
    length = 2, code = lead & 0x1F;
  else if (lead >= 0xE0 && lead <= 0xEF)
    length = 3, code = lead & 0x0F;
  else if (lead >= 0xF0 && lead <= 0xF4)
    length = 4, code = lead & 0x07;
  else
    return 0;
  if (i + length > text.size())
    return 0;
  for (std::size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80)
      return 0;
    code = code << 6 | (byte(i + k) & 0x3F);
  }
  const unsigned shortest[] = {0, 0, 0x80, 0x800, 0x10000};
  const bool c1Control = code >= 0x80 && code <= 0x9F;  // 0x9B is a terminal's CSI
  if (code < shortest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF) || c1Control)
    return 0;
  return length;
}

}  // namespace

bool FitsDouble(Real value)
{
  return std::isfinite(value) && std::fabs(value) <= static_cast<Real>(std::numeric_limits<double>::max());
}

std::string JsonNumber(Real value)
{
  if (!FitsDouble(value))
    return "null";
  if (std::fabs(value) < static_cast<Real>(std::numeric_limits<double>::denorm_min()) / 2)
    return std::signbit(value) ? "-0" : "0";
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

namespace {

// A table cell: fixed decimals where they fit with a blank before them, else the exponent
// form with as many decimals as fit (a double-wide number would need hundreds of digits).
std::string Cell(Real value, int decimals)
{
  const std::string fixed = Fixed(value, decimals, kCellWidth);
  if (fixed.size() == std::size_t(kCellWidth) && fixed[0] == ' ')
    return fixed;
  char buffer[64];
  for (int digits = decimals; digits >= 0; --digits) {
    std::snprintf(buffer, sizeof buffer, "%*.*Le", kCellWidth, digits, value);
    if (buffer[0] == ' ')
      break;
  }
  return buffer;
}

}  // namespace

std::string Row(const char* label, const Txyz& v, int decimals, Real divisor)
{
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "  %-22s", label);
  return buffer + Cell(v.X / divisor, decimals) + Cell(v.Y / divisor, decimals) + Cell(v.Z / divisor, decimals) +
         "\n";
}

std::string EscapedText(std::string_view text)
{
  std::string escaped;
  for (std::size_t i = 0; i < text.size();) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte >= 0x20 && byte < 0x7F && byte != '\\') {
      escaped += text[i++];
    } else if (const std::size_t length = byte >= 0x80 ? PrintableSequence(text, i) : 0; length > 0) {
      escaped.append(text.substr(i, length));
      i += length;
    } else {
      switch (byte) {
        case '\\': escaped += "\\\\"; break;
        case '\n': escaped += "\\n"; break;
        case '\r': escaped += "\\r"; break;
        case '\t': escaped += "\\t"; break;
        default: {
          char hex[8];
          std::snprintf(hex, sizeof hex, "\\x%02x", byte);
          escaped += hex;
        }
      }
      ++i;
    }
  }
  return escaped;
}
