// The units catalogue: its dictionary, the shared category table and its loading.
#include "controls/EditFDlg.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <iconv.h>

#include "controls/LabeledEditF.h"

// Qt's resource initialiser lives outside any namespace; a static library needs it called.
static void InitCatalogueResource() { Q_INIT_RESOURCE(units_catalogue); }

namespace {

// The abbreviation written for "no abbreviation": an empty value would read as missing.
const QString kEmptyAbbreviation = QString(QChar(1));

struct TDimensionTable {
  std::vector<TDimensionCategory> Categories;
  int Language = -1;
};

TDimensionTable& SharedTable()
{
  static TDimensionTable table;
  return table;
}

}  // namespace

QString DecodeWindows1251(const QByteArray& bytes)
{
  constexpr int kMaxUtf8PerByte = 3;  // every character of the code page is in the BMP
  const QString replacement(QChar::ReplacementCharacter);
  iconv_t cd = iconv_open("UTF-8", "CP1251");
  if (cd == reinterpret_cast<iconv_t>(-1))
    return QString::fromLatin1(bytes);  // no converter: ASCII still reads right
  QString result;
  QByteArray out(bytes.size() * kMaxUtf8PerByte + kMaxUtf8PerByte, '\0');
  QByteArray input = bytes;
  char* in = input.data();
  size_t inLeft = static_cast<size_t>(input.size());
  while (inLeft > 0) {
    char* outPtr = out.data();
    size_t outLeft = static_cast<size_t>(out.size());
    const size_t done = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    result += QString::fromUtf8(out.constData(), outPtr - out.constData());
    if (done == static_cast<size_t>(-1)) {
      if (errno != EILSEQ && errno != EINVAL)
        break;
      result += replacement;  // an undefined byte: skip it
      ++in;
      --inLeft;
    }
  }
  iconv_close(cd);
  return result;
}

TUnitsCatalogue::TUnitsCatalogue(const QByteArray& text)
{
  // The text is a zero-terminated string: nothing after a zero byte counts.
  const qsizetype zero = text.indexOf('\0');
  const QString decoded = DecodeWindows1251(zero < 0 ? text : text.left(zero));
  qsizetype start = 0;
  for (qsizetype end = decoded.indexOf(QLatin1Char('\r')); end >= 0;
       start = end + 1, end = decoded.indexOf(QLatin1Char('\r'), start)) {
    const QStringView line = QStringView(decoded).mid(start, end - start);
    const qsizetype equals = line.indexOf(QLatin1Char('='));
    if (equals < 0)
      continue;
    ++FLineCount;
    const QString name = line.left(equals).toString().toLower();
    if (!FValues.contains(name))
      FValues.insert(name, line.mid(equals + 1).toString());
  }
}

QString TUnitsCatalogue::Value(const QString& name) const { return FValues.value(name.toLower()); }

bool TUnitsCatalogue::Contains(const QString& name) const { return FValues.contains(name.toLower()); }

int TUnitsCatalogue::LanguageCount() const { return SafeStrToInt(Value(QStringLiteral("LanguageCount")).toStdString()); }

QString TUnitsCatalogue::LanguageCode(int index) const { return Value(QStringLiteral("Language%1").arg(index)); }

std::vector<TDimensionCategory> TUnitsCatalogue::BuildDimensions(int languageIndex, const TNumberLocale& locale) const
{
  const QString delimiterText = Value(QStringLiteral("DecimalDelimeter"));
  const char delimiter = delimiterText.isEmpty() ? '\0' : delimiterText.at(0).toLatin1();
  const QString language = LanguageCode(languageIndex);
  // Every category and unit takes a line, so no count can honestly exceed the lines.
  const auto counted = [this](const QString& name) {
    return std::clamp(SafeStrToInt(Value(name).toStdString()), 0, FLineCount);
  };

  std::vector<TDimensionCategory> table(counted(QStringLiteral("DimensionCount")));
  for (int i = 0; i < static_cast<int>(table.size()); ++i) {
    TDimensionCategory& category = table[i];
    category.Name = Value(QStringLiteral("Ctg_%1_%2").arg(i).arg(language));
    category.Count = counted(QStringLiteral("Cnt_%1").arg(i));
    category.Units.resize(category.Count);
    for (int j = 0; j < category.Count; ++j) {
      TDimensionUnit& unit = category.Units[j];
      unit.Description = Value(QStringLiteral("Dsc_%1_%2_%3").arg(i).arg(j).arg(language));
      unit.Abbreviation = Value(QStringLiteral("Abr_%1_%2_%3").arg(i).arg(j).arg(language));
      if (unit.Abbreviation == kEmptyAbbreviation)
        unit.Abbreviation.clear();
      std::string multiplier = Value(QStringLiteral("Mul_%1_%2").arg(i).arg(j)).toStdString();
      if (delimiter != '\0' && locale.DecimalSeparator != delimiter)
        if (const std::size_t at = multiplier.find(delimiter); at != std::string::npos)
          multiplier[at] = locale.DecimalSeparator;
      std::size_t first = 0, last = multiplier.size();
      while (first < last && static_cast<unsigned char>(multiplier[first]) <= ' ')
        ++first;
      while (last > first && static_cast<unsigned char>(multiplier[last - 1]) <= ' ')
        --last;
      unit.Multiplier = SafeStrToReal(multiplier.substr(first, last - first), locale);
    }
  }
  return table;
}

QByteArray BuiltInCatalogueText()
{
  InitCatalogueResource();
  QFile file(QStringLiteral(":/ravlen/units_catalogue.txt"));
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const TUnitsCatalogue& UnitsCatalogue()
{
  static const TUnitsCatalogue catalogue(BuiltInCatalogueText());
  return catalogue;
}

const std::vector<TDimensionCategory>& Dimensions() { return SharedTable().Categories; }

int DimensionsLanguage() { return SharedTable().Language; }

void LoadDimensions(TLabeledEditF& edit, int languageIndex)
{
  TDimensionTable& table = SharedTable();
  const bool languageChanged = table.Language >= 0 && table.Language != languageIndex;
  table.Categories = UnitsCatalogue().BuildDimensions(languageIndex);
  table.Language = languageIndex;
  edit.ReapplyDimension();
  // The table is shared: an edit still named in the old language would show one text
  // and save another that no longer matches any unit.
  if (languageChanged)
    for (TLabeledEditF* other : TLabeledEditF::Instances())
      if (other != &edit)
        other->AdoptLanguage(languageIndex);
}
