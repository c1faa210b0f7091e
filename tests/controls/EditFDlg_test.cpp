// The units catalogue: the bytes of the built-in text, its dictionary, and the category
// table in both languages and with either decimal separator.
#include <QSet>
#include <QtTest>

#include "controls/EditFDlg.h"

namespace {

constexpr int kCatalogueLines = 677;
constexpr int kCategories = 32;
constexpr int kLongestLine = 255;

const TNumberLocale kDot{'.', ','};
const TNumberLocale kComma{',', ' '};

}  // namespace

class TEditFDlgTest : public QObject {
  Q_OBJECT

private slots:
  void BuiltInTextIsWellFormed()
  {
    const QByteArray text = BuiltInCatalogueText();
    QCOMPARE(text.count('\r'), kCatalogueLines);
    QVERIFY(text.endsWith('\r'));
    QVERIFY(!text.contains('\n'));
    QVERIFY(!text.contains('\0'));
    QSet<QByteArray> names;
    for (const QByteArray& line : text.split('\r').mid(0, kCatalogueLines)) {
      QVERIFY2(line.size() <= kLongestLine, line.constData());
      const qsizetype equals = line.indexOf('=');
      QVERIFY2(equals > 0, line.constData());
      const QByteArray name = line.left(equals).toLower();
      QVERIFY2(!names.contains(name), name.constData());
      names.insert(name);
      // English texts are plain ASCII.
      if (!name.endsWith("_rus"))
        for (const char ch : line)
          QVERIFY2(static_cast<unsigned char>(ch) < 0x80, line.constData());
    }
    QVERIFY(!DecodeWindows1251(text).contains(QChar::ReplacementCharacter));

    const TUnitsCatalogue& catalogue = UnitsCatalogue();
    QCOMPARE(catalogue.LineCount(), kCatalogueLines);
    QCOMPARE(catalogue.LanguageCount(), 2);
    QCOMPARE(catalogue.LanguageCode(0), QStringLiteral("ENU"));
    QCOMPARE(catalogue.LanguageCode(1), QStringLiteral("RUS"));
    QCOMPARE(catalogue.Value(QStringLiteral("LanguageDefault")), QStringLiteral("1"));
    // The header, then per category its count and two names and five lines per unit.
    int lines = 6;
    for (int i = 0; i < kCategories; ++i)
      lines += 3 + 5 * catalogue.Value(QStringLiteral("Cnt_%1").arg(i)).toInt();
    QCOMPARE(lines, kCatalogueLines);
  }

  void EnglishTable()
  {
    const std::vector<TDimensionCategory> table = UnitsCatalogue().BuildDimensions(0, kDot);
    QCOMPARE(int(table.size()), kCategories);
    for (const TDimensionCategory& category : table) {
      QCOMPARE(int(category.Units.size()), category.Count);
      QCOMPARE(category.Units[0].Multiplier, Real(1));  // unit 0 is the base unit
    }
    QCOMPARE(table[0].Name, QStringLiteral("<Dimless>"));
    QCOMPARE(table[0].Units[0].Abbreviation, QString());
    QCOMPARE(table[0].Units[0].Description, QStringLiteral("<Dimless>"));
    QCOMPARE(table[0].Units[1].Description, QStringLiteral("Percent [%]"));
    QCOMPARE(table[3].Name, QStringLiteral("Angle"));
    QCOMPARE(table[3].Units[2].Abbreviation, QStringLiteral("deg"));
    QCOMPARE(table[3].Units[2].Description, QStringLiteral("Degrees [deg]"));
    QCOMPARE(table[3].Units[2].Multiplier, 0.0174532925199433L);
    QCOMPARE(table[5].Units[1].Multiplier, 1e-6L);
    QCOMPARE(table[12].Count, 15);
    QCOMPARE(table[16].Units[7].Abbreviation, QStringLiteral("nmi"));
    QCOMPARE(table[16].Units[7].Multiplier, Real(1852));
    QCOMPARE(table[31].Units[0].Description, QStringLiteral("Meter^2/Second"));
  }

  void CommaSeparatorReadsTheSameMultipliers()
  {
    const std::vector<TDimensionCategory> dot = UnitsCatalogue().BuildDimensions(0, kDot);
    const std::vector<TDimensionCategory> comma = UnitsCatalogue().BuildDimensions(0, kComma);
    QCOMPARE(comma[3].Units[2].Multiplier, 0.0174532925199433L);
    QCOMPARE(comma[5].Units[1].Multiplier, 1e-6L);
    for (std::size_t i = 0; i < dot.size(); ++i)
      for (std::size_t j = 0; j < dot[i].Units.size(); ++j)
        QCOMPARE(comma[i].Units[j].Multiplier, dot[i].Units[j].Multiplier);
  }

  void RussianTable()
  {
    const std::vector<TDimensionCategory> english = UnitsCatalogue().BuildDimensions(0, kDot);
    const std::vector<TDimensionCategory> russian = UnitsCatalogue().BuildDimensions(1, kDot);
    QCOMPARE(russian[3].Name, QStringLiteral("Угол"));
    QCOMPARE(russian[3].Units[2].Description, QStringLiteral("Градусы [град]"));
    QCOMPARE(russian[16].Name, QStringLiteral("Длина"));
    QCOMPARE(russian[5].Name, QStringLiteral("Электроёмкость"));
    const QSet<int> keptEnglish{10, 11, 15, 17, 18, 19, 20, 23, 26, 30, 31};
    for (int i = 0; i < kCategories; ++i) {
      QCOMPARE(keptEnglish.contains(i), russian[i].Name == english[i].Name);
      QCOMPARE(russian[i].Count, english[i].Count);
      for (int j = 0; j < english[i].Count; ++j) {
        QCOMPARE(russian[i].Units[j].Multiplier, english[i].Units[j].Multiplier);
        QVERIFY(!russian[i].Units[j].Description.isEmpty());
      }
    }
  }

  void DictionaryRules()
  {
    // The last line has no CR and is lost; the first of two equal names wins; names
    // compare without case; a line without "=" is no entry.
    const TUnitsCatalogue catalogue(QByteArray("A=1\ra=2\rno equals\rB==x\rEmpty=\rLast=3"));
    QCOMPARE(catalogue.LineCount(), 4);
    QCOMPARE(catalogue.Value(QStringLiteral("a")), QStringLiteral("1"));
    QCOMPARE(catalogue.Value(QStringLiteral("b")), QStringLiteral("=x"));
    QVERIFY(catalogue.Contains(QStringLiteral("EMPTY")));
    QVERIFY(!catalogue.Contains(QStringLiteral("Last")));
    QCOMPARE(catalogue.Value(QStringLiteral("Missing")), QString());
  }

  void MalformedMultipliersReadLeniently()
  {
    const TUnitsCatalogue catalogue(
        QByteArray("LanguageCount=1\rLanguage0=ENU\rDecimalDelimeter=.\rDimensionCount=1\rCnt_0=3\r"
                   "Mul_0_0= 2.5\t\rMul_0_1=junk\r"));  // Mul_0_2 missing
    const std::vector<TDimensionCategory> table = catalogue.BuildDimensions(0, kComma);
    QCOMPARE(table.size(), std::size_t(1));
    QCOMPARE(table[0].Units[0].Multiplier, 2.5L);
    QCOMPARE(table[0].Units[1].Multiplier, Real(0));
    QCOMPARE(table[0].Units[2].Multiplier, Real(0));
    QCOMPARE(table[0].Units[2].Description, QString());
  }

  void Windows1251Decoding()
  {
    QCOMPARE(DecodeWindows1251(QByteArray("\xc4\xeb\xe8\xed\xe0 \xb8 \xb0")), QStringLiteral("Длина ё °"));
    QCOMPARE(DecodeWindows1251(QByteArray("a\x98z")), QStringLiteral("a\uFFFDz"));
  }
};

QTEST_GUILESS_MAIN(TEditFDlgTest)
#include "EditFDlg_test.moc"
