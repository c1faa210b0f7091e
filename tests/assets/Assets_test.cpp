// Checks the embedded pictures and the help text: every command icon, window icon and view
// cursor draws something at its smallest size, no two command icons are the same picture,
// the cursors' hot spots agree with their drawings, and the help parses as rich text with
// its sections, working internal links and intact UTF-8.
#include <QtTest>

#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QSet>
#include <QTextBlock>
#include <QTextDocument>

#include "assets/Assets.h"
#include "assets/Cursors.h"

namespace {

// A 16-pixel icon drawing fewer opaque pixels than this is blank or lost its shapes.
constexpr int kMinInkPixels = 24;
// Alpha above which a pixel counts as drawn.
constexpr int kOpaqueAlpha = 128;

int OpaquePixels(const QImage& image)
{
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      count += image.pixelColor(x, y).alpha() >= kOpaqueAlpha ? 1 : 0;
  return count;
}

QImage IconImage(const QIcon& icon, int size)
{
  return icon.pixmap(size, size).toImage().convertToFormat(QImage::Format_ARGB32);
}

QByteArray ReadAll(const QString& path)
{
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString HelpText() { return QString::fromUtf8(ReadAll(QString::fromLatin1(kHelpResource))); }

}  // namespace

class TAssetsTest : public QObject {
  Q_OBJECT

 private slots:
  void CommandIconsDrawAtSixteenPixels();
  void CommandIconsAreDistinct();
  void CommandIconOutsideTheListIsEmpty();
  void WindowIconsDraw_data();
  void WindowIconsDraw();
  void ViewCursorsAreBlackWithWhiteOutline_data();
  void ViewCursorsAreBlackWithWhiteOutline();
  void OtherCursorNumbersGiveTheArrow();
  void HelpIsEmbeddedAndMatchesTheSource();
  void HelpParsesWithItsSections();
  void HelpLinksReachTheirAnchors();
};

void TAssetsTest::CommandIconsDrawAtSixteenPixels()
{
  for (int index = 0; index < kCommandIconCount; ++index) {
    const QIcon icon = CommandIcon(index);
    QVERIFY2(!icon.isNull(), qPrintable(QString("icon %1").arg(index)));
    QVERIFY(icon.availableSizes().contains(QSize(16, 16)));
    QVERIFY(icon.availableSizes().contains(QSize(32, 32)));
    const QImage image = IconImage(icon, 16);
    QCOMPARE(image.size(), QSize(16, 16));
    QVERIFY2(OpaquePixels(image) >= kMinInkPixels, qPrintable(QString("icon %1 is nearly blank").arg(index)));
  }
}

// A slip in the index table would show one picture for two commands.
void TAssetsTest::CommandIconsAreDistinct()
{
  QList<QImage> images;
  for (int index = 0; index < kCommandIconCount; ++index)
    images.append(IconImage(CommandIcon(index), 16));
  for (int a = 0; a < kCommandIconCount; ++a)
    for (int b = a + 1; b < kCommandIconCount; ++b)
      QVERIFY2(images[a] != images[b], qPrintable(QString("icons %1 and %2 are the same").arg(a).arg(b)));
}

void TAssetsTest::CommandIconOutsideTheListIsEmpty()
{
  QVERIFY(CommandIcon(-1).isNull());
  QVERIFY(CommandIcon(kCommandIconCount).isNull());
  QVERIFY(CommandIcon(1000).isNull());
}

void TAssetsTest::WindowIconsDraw_data()
{
  QTest::addColumn<TWindowIconKind>("kind");
  QTest::newRow("program") << TWindowIconKind::Program;
  QTest::newRow("environment") << TWindowIconKind::Environment;
  QTest::newRow("warp and bridle") << TWindowIconKind::WarpBridle;
  QTest::newRow("value prompt") << TWindowIconKind::ValuePrompt;
  QTest::newRow("graph") << TWindowIconKind::Graph;
}

void TAssetsTest::WindowIconsDraw()
{
  QFETCH(TWindowIconKind, kind);
  const QIcon icon = WindowIcon(kind);
  QVERIFY(!icon.isNull());
  QVERIFY(icon.availableSizes().contains(QSize(256, 256)));
  QVERIFY(OpaquePixels(IconImage(icon, 16)) >= kMinInkPixels);
}

void TAssetsTest::ViewCursorsAreBlackWithWhiteOutline_data()
{
  QTest::addColumn<int>("number");
  QTest::addColumn<QString>("file");
  QTest::addColumn<QPoint>("hotSpot");
  QTest::newRow("orbit") << kOrbitCursor << ":/cursors/orbit.svg" << QPoint(kOrbitHotSpot.X, kOrbitHotSpot.Y);
  QTest::newRow("roll") << kRollCursor << ":/cursors/roll.svg" << QPoint(kRollHotSpot.X, kRollHotSpot.Y);
  QTest::newRow("zoom") << kZoomCursor << ":/cursors/zoom.svg" << QPoint(kZoomHotSpot.X, kZoomHotSpot.Y);
}

void TAssetsTest::ViewCursorsAreBlackWithWhiteOutline()
{
  QFETCH(int, number);
  QFETCH(QString, file);
  QFETCH(QPoint, hotSpot);
  const QCursor cursor = ViewCursor(number);
  QCOMPARE(cursor.shape(), Qt::BitmapCursor);
  QCOMPARE(cursor.hotSpot(), hotSpot);

  const QImage image = cursor.pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
  QCOMPARE(image.size(), QSize(kViewCursorSize, kViewCursorSize));
  int black = 0;
  int white = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QColor c = image.pixelColor(x, y);
      if (c.alpha() < 255)
        continue;
      black += c.lightness() < 32 ? 1 : 0;
      white += c.lightness() > 223 ? 1 : 0;
    }
  QVERIFY2(black >= kMinInkPixels && white >= kMinInkPixels,
           qPrintable(QString("black %1, white %2").arg(black).arg(white)));

  // The drawing names its hot spot; the code must put the cursor on the same pixel.
  const QString svg = QString::fromUtf8(ReadAll(file));
  const QRegularExpressionMatch m = QRegularExpression(R"(Hot spot \((\d+), (\d+)\))").match(svg);
  QVERIFY2(m.hasMatch(), "the drawing does not name its hot spot");
  QCOMPARE(QPoint(m.captured(1).toInt(), m.captured(2).toInt()), hotSpot);
}

void TAssetsTest::OtherCursorNumbersGiveTheArrow()
{
  for (const int number : {0, 4, -1})
    QCOMPARE(ViewCursor(number).shape(), Qt::ArrowCursor);
}

void TAssetsTest::HelpIsEmbeddedAndMatchesTheSource()
{
  const QByteArray embedded = ReadAll(QString::fromLatin1(kHelpResource));
  QVERIFY(!embedded.isEmpty());
  QCOMPARE(embedded, ReadAll(QStringLiteral(RAVLEN_HELP_SOURCE)));
  QVERIFY(!HelpText().contains(QChar::ReplacementCharacter));
}

void TAssetsTest::HelpParsesWithItsSections()
{
  QTextDocument document;
  document.setHtml(HelpText());
  QStringList headings;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
    if (block.blockFormat().headingLevel() > 0)
      headings.append(block.text().trimmed());

  QVERIFY(!headings.isEmpty());
  QCOMPARE(headings.first(), QStringLiteral("Ravlen: balancing of trawl otter boards"));
  const QStringList expected{
      "What Ravlen computes",
      "The door: area, ballast and bracket",
      "Rigging: bridle holes, bracket pair and towing hole",
      "Towing conditions",
      "The loads on the door",
      "Balancing",
      "Animate",
      "The side panel and its read-outs",
      "Coefficient graph",
      "The 3D view",
      "Views and switches",
      "Mouse",
      "Settings kept between runs",
      "Balance link for other programs",
      "ravlen-balance: balancing from the command line",
  };
  for (const QString& heading : expected)
    QVERIFY2(headings.contains(heading), qPrintable("missing section: " + heading));
  QVERIFY(document.toPlainText().contains(QStringLiteral("kg/m³")));
}

// Every link points at an anchor that exists, and every section can be reached from a link.
void TAssetsTest::HelpLinksReachTheirAnchors()
{
  QTextDocument document;
  document.setHtml(HelpText());
  QSet<QString> anchors;
  QSet<QString> targets;
  QStringList sectionAnchors;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextCharFormat format = it.fragment().charFormat();
      for (const QString& name : format.anchorNames()) {
        anchors.insert(name);
        if (block.blockFormat().headingLevel() == 2)
          sectionAnchors.append(name);
      }
      if (format.anchorHref().startsWith('#'))
        targets.insert(format.anchorHref().mid(1));
    }
  }
  QVERIFY(!targets.isEmpty());
  for (const QString& target : targets)
    QVERIFY2(anchors.contains(target), qPrintable("link to a missing anchor: #" + target));
  QVERIFY(sectionAnchors.size() >= 13);
  for (const QString& name : sectionAnchors)
    QVERIFY2(targets.contains(name), qPrintable("section not linked from anywhere: #" + name));
}

QTEST_MAIN(TAssetsTest)
#include "Assets_test.moc"
