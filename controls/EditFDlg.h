// The units-of-measure catalogue carried inside the program: categories (length, angle,
// force, ...) and their units, each with an abbreviation, a description and the multiplier
// to the category's base unit, in English and Russian. The labelled edits build the shared
// category table from it, one language at a time.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <vector>

#include "coefficients/Real.h"
#include "controls/ToolsText.h"

class TLabeledEditF;

// One unit of a category.
struct TDimensionUnit {
  QString Description;   // shown in the unit menu, "Degrees [deg]"
  QString Abbreviation;  // shown as the edit's unit caption, "deg"; may be empty
  Real Multiplier = 0;   // one unit in the category's base unit
};

// One category of the table.
struct TDimensionCategory {
  QString Name;  // "Angle"
  int Count = 0;  // number of units
  std::vector<TDimensionUnit> Units;
};

// A catalogue text turned into a dictionary of name=value lines. The text is single-byte
// Windows-1251 with one CR after every line; text after the last CR is not used. Names
// compare without regard to letter case; the first of repeated names wins.
class TUnitsCatalogue {
public:
  explicit TUnitsCatalogue(const QByteArray& text);

  // The value of the line named name; empty when there is none.
  QString Value(const QString& name) const;
  // Whether a line is named name.
  bool Contains(const QString& name) const;
  // Number of name=value lines read.
  int LineCount() const { return FLineCount; }
  // Number of languages.
  int LanguageCount() const;
  // The code of language index ("ENU", "RUS"); empty when there is none.
  QString LanguageCode(int index) const;
  // The category table in language index, multipliers read with the locale's separator.
  std::vector<TDimensionCategory> BuildDimensions(int languageIndex,
                                                  const TNumberLocale& locale = ProcessNumberLocale()) const;

private:
  QHash<QString, QString> FValues;  // lower-case name -> value
  int FLineCount = 0;
};

// The bytes of the built-in catalogue (677 lines).
QByteArray BuiltInCatalogueText();
// The built-in catalogue, read on first use and kept for the whole run.
const TUnitsCatalogue& UnitsCatalogue();
// Single-byte Windows-1251 text as Unicode; bytes the code page leaves undefined become U+FFFD.
QString DecodeWindows1251(const QByteArray& bytes);

// The category table every labelled edit refers to by index, in the language loaded last.
const std::vector<TDimensionCategory>& Dimensions();
// The language index the table was last loaded in (-1 before the first load).
int DimensionsLanguage();
// Rebuilds the table in languageIndex and re-applies the edit's category and unit, so it
// shows their names in that language. When the language changes, every other labelled
// edit takes it too and is renamed likewise.
void LoadDimensions(TLabeledEditF& edit, int languageIndex);
