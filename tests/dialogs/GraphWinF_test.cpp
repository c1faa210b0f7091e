// The coefficient graph window: when it draws, what the plot shows, its visibility signal
// and stay-on-top switch, and Copy and Save as...
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QImageReader>
#include <QMimeData>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <limits>

#include "PaintCapture.h"
#include "coefficients/CoefTables.h"
#include "controls/ToolsText.h"
#include "dialogs/GraphWinF.h"
#include "dialogs/Sc_pic.h"

namespace {

const QColor kMarkerGrey(128, 128, 128);

bool IsReddish(QRgb p) { return qRed(p) > 200 && qGreen(p) < 60 && qBlue(p) < 60; }
bool IsGreenish(QRgb p) { return qRed(p) < 60 && qGreen(p) > 100 && qBlue(p) < 60; }

// What the window shows on screen.
QImage Screen(const TGraphWin& win) { return win.Plot()->grab().toImage(); }

// Where the marker shows: the columns of the top row that are marker grey.
QList<int> MarkerColumns(const QImage& image)
{
  QList<int> columns;
  for (int x = 0; x < image.width(); ++x)
    if (QColor(image.pixel(x, 2)) == kMarkerGrey)
      columns << x;
  return columns;
}

QStringList TextsOf(const ScPic& pic)
{
  const auto capture = CapturePicture(pic.Metafile(), pic.MetafileSize());
  QStringList texts;
  for (const TCapturedText& t : capture->Texts)
    texts << t.Text;
  return texts;
}

// The grid lines as drawn: the columns of the vertical ones and the rows of the others.
struct TGrid {
  QList<int> Columns, Rows;
};
TGrid GridOf(const ScPic& pic)
{
  const auto capture = CapturePicture(pic.Metafile(), pic.MetafileSize());
  TGrid grid;
  for (const TCapturedLine& l : capture->Lines) {
    if (l.Pen.color() != QColor(192, 192, 192))
      continue;
    if (l.Line.x1() == l.Line.x2())
      grid.Columns << qRound(l.Line.x1());
    else
      grid.Rows << qRound(l.Line.y1());
  }
  return grid;
}

}  // namespace

class GraphWinTest : public QObject {
  Q_OBJECT

private slots:
  void initTestCase() { ProcessNumberLocale() = TNumberLocale{'.', ','}; }

  void createdHiddenAsAStayOnTopToolWindow()
  {
    TGraphWin win;
    QVERIFY(!win.isVisible());
    QCOMPARE(win.windowTitle(), QStringLiteral("Hydrodynamic Coefficients"));
    QVERIFY(win.windowFlags().testFlag(Qt::Tool));
    QVERIFY(win.StayOnTop());
    QCOMPARE(win.size(), QSize(291, 212));
    QCOMPARE(win.pos(), QPoint(6, 107));
    QCOMPARE(win.Plot()->ImageType(), TImageType::itMetafile);
  }

  void drawsNothingWhileHidden()
  {
    TGraphWin win;
    win.DrawGraph();
    win.DrawGraphNow(0.3L);
    QVERIFY(!win.Plot()->HasPicture());
    QCOMPARE(win.AttackW(), 0.3L);  // kept for the next drawing

    win.show();
    QVERIFY(QTest::qWaitForWindowExposed(&win));
    QVERIFY(win.Plot()->HasPicture());
    win.hide();
    const QPicture before = win.Plot()->Metafile();
    win.DrawGraphNow(0.5L);
    win.DrawGraph();
    QCOMPARE(win.Plot()->Metafile().data(), before.data());
  }

  // One rendered plot: red Cx and green Cy through the table's points, the grey marker at
  // the attack angle, and the labels of the graph's ranges.
  void showsTheCurvesAndTheMarker()
  {
    TGraphWin win;
    win.SetAttackW(35 * kDegToRad);
    win.show();
    QVERIFY(QTest::qWaitForWindowExposed(&win));
    const ScPic& pic = *win.Plot();
    const QImage screen = Screen(win);
    QCOMPARE(screen.size(), QSize(291, 212));

    for (int row : {3, 9, 12}) {  // 20, 60 and 75 degrees
      const TCoefRow& r = CoefTable[row];
      QVERIFY2(IsReddish(screen.pixel(pic.XToPixel(r.Angle), pic.YToPixel(r.Cx))), qPrintable(QString::number(row)));
      QVERIFY2(IsGreenish(screen.pixel(pic.XToPixel(r.Angle), pic.YToPixel(r.Cy))), qPrintable(QString::number(row)));
    }
    // Half way between 60 and 75 degrees the curves are straight segments.
    QVERIFY(IsReddish(screen.pixel(pic.XToPixel(67.5L), pic.YToPixel((1.1L + 1.25L) / 2))));
    QVERIFY(IsGreenish(screen.pixel(pic.XToPixel(67.5L), pic.YToPixel((1.2L + 0.7L) / 2))));
    QCOMPARE(MarkerColumns(screen), QList<int>({pic.XToPixel(35)}));

    QCOMPARE(TextsOf(pic), QStringList({"25", "50", ".5", "1", "1.5", "2", "2.5", "Cx, Cy",
                                        "Attack angle, deg", "Cx", "Cy"}));
  }

  // During an animation the marker follows every evaluation at once; an angle beyond the
  // plotted range is not clamped, and a NaN one is not drawn.
  void markerFollowsDrawGraphNow()
  {
    TGraphWin win;
    win.show();
    QVERIFY(QTest::qWaitForWindowExposed(&win));
    const ScPic& pic = *win.Plot();
    win.DrawGraphNow(10 * kDegToRad);
    QCOMPARE(MarkerColumns(Screen(win)), QList<int>({pic.XToPixel(10)}));
    // A turn of less than a pixel keeps the picture as it is.
    const QPicture before = pic.Metafile();
    win.DrawGraphNow(10.01L * kDegToRad);
    QCOMPARE(pic.Metafile().data(), before.data());
    QCOMPARE(win.AttackW(), 10.01L * kDegToRad);
    win.DrawGraphNow(-5 * kDegToRad);
    QCOMPARE(MarkerColumns(Screen(win)), QList<int>({pic.XToPixel(-5)}));
    win.DrawGraphNow(120 * kDegToRad);
    QVERIFY(pic.XToPixel(120) >= pic.width());
    QVERIFY(MarkerColumns(Screen(win)).isEmpty());
    win.DrawGraphNow(std::numeric_limits<Real>::quiet_NaN());
    QVERIFY(MarkerColumns(Screen(win)).isEmpty());
    QVERIFY(win.Plot()->HasPicture());
  }

  // Shown or resized, the marker stands at the angle its source gives now; an angle handed
  // over for an animated evaluation is drawn as given.
  void markerReadsItsSourceWhenItDraws()
  {
    TGraphWin win;
    Real doorAngle = 3.194L * kDegToRad;
    win.SetAttackW(13.75L * kDegToRad);
    win.SetAttackSource([&doorAngle] { return doorAngle; });
    win.show();
    QVERIFY(QTest::qWaitForWindowExposed(&win));
    const ScPic& pic = *win.Plot();
    QCOMPARE(MarkerColumns(Screen(win)), QList<int>({pic.XToPixel(3.194L)}));
    doorAngle = 39.367L * kDegToRad;
    win.resize(400, 300);
    QCOMPARE(MarkerColumns(Screen(win)), QList<int>({pic.XToPixel(39.367L)}));
    win.DrawGraphNow(20 * kDegToRad);
    QCOMPARE(MarkerColumns(Screen(win)), QList<int>({pic.XToPixel(20)}));
  }

  void resizeRedrawsAtTheNewSizeWithTheSameTicks()
  {
    TGraphWin win;
    win.SetAttackW(30 * kDegToRad);
    win.show();
    QVERIFY(QTest::qWaitForWindowExposed(&win));
    const ScPic& pic = *win.Plot();
    for (const QSize size : {QSize(291, 212), QSize(600, 420), QSize(200, 160)}) {
      win.resize(size);
      QCOMPARE(pic.size(), size);
      QCOMPARE(pic.MetafileSize(), size);
      const TGrid grid = GridOf(pic);
      QCOMPARE(grid.Columns, QList<int>({pic.XToPixel(0), pic.XToPixel(25), pic.XToPixel(50), pic.XToPixel(75)}));
      QCOMPARE(grid.Rows, QList<int>({pic.YToPixel(0), pic.YToPixel(0.5L), pic.YToPixel(1), pic.YToPixel(1.5L),
                                      pic.YToPixel(2), pic.YToPixel(2.5L)}));
      QCOMPARE(MarkerColumns(Screen(win)), QList<int>({pic.XToPixel(30)}));
    }
    QCOMPARE(TextsOf(pic).mid(0, 3), QStringList({"25", "50", ".5"}));
    win.resize(600, 420);
    QCOMPARE(TextsOf(pic).mid(0, 4), QStringList({"25", "50", "75", ".5"}));
  }

  void visibilityIsSignalledButNotTheStayOnTopSwitch()
  {
    TGraphWin win;
    QSignalSpy spy(&win, &TGraphWin::VisibleChanged);
    win.show();
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.takeFirst().at(0).toBool(), true);

    const QRect bounds = win.geometry();
    win.SetStayOnTop(false);
    QVERIFY(!win.StayOnTop());
    QVERIFY(win.isVisible());
    QCOMPARE(win.geometry(), bounds);
    win.SetStayOnTop(true);
    QVERIFY(win.StayOnTop());
    QVERIFY(win.isVisible());
    QCOMPARE(spy.count(), 0);

    win.close();  // the close box
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.takeFirst().at(0).toBool(), false);

    win.SetStayOnTop(false);  // a hidden window stays hidden
    QVERIFY(!win.isVisible());
    QCOMPARE(spy.count(), 0);
  }

  void savesSvgAndPng()
  {
    TGraphWin win;
    QStringList errors;
    win.SetErrorReporter([&errors](const QString& message) { errors << message; });
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(!win.SavePicture(dir.filePath("early.png")));  // nothing drawn yet
    QCOMPARE(errors.size(), 1);
    errors.clear();

    win.show();
    QVERIFY(QTest::qWaitForWindowExposed(&win));
    const QString svgName = dir.filePath("graph.SVG");
    QVERIFY(win.SavePicture(svgName));
    QFile svg(svgName);
    QVERIFY(svg.open(QIODevice::ReadOnly));
    const QByteArray svgText = svg.readAll();
    QVERIFY(svgText.contains("<svg"));
    QVERIFY(svgText.contains("#ff0000"));
    QVERIFY(svgText.contains("#008000"));
    QVERIFY(svgText.contains("Attack angle, deg"));

    const QString pngName = dir.filePath("graph.png");
    QVERIFY(win.SavePicture(pngName));
    QImageReader reader(pngName);
    QCOMPARE(reader.format(), QByteArray("png"));
    const QImage png = reader.read();
    QCOMPARE(png.size(), QSize(291, 212));
    const ScPic& pic = *win.Plot();
    QVERIFY(IsReddish(png.pixel(pic.XToPixel(CoefTable[3].Angle), pic.YToPixel(CoefTable[3].Cx))));
    QVERIFY(errors.isEmpty());

    QVERIFY(!win.SavePicture(dir.filePath("graph.jpg")));
    QVERIFY(!win.SavePicture(dir.filePath("no/such/folder/graph.png")));
    QCOMPARE(errors.size(), 2);
    QVERIFY(errors[0].contains("graph.jpg"));
    QVERIFY(errors[1].contains(QDir::toNativeSeparators(dir.filePath("no/such/folder/graph.png"))));
    QVERIFY(!QFile::exists(dir.filePath("graph.jpg")));
  }

  void copyPutsAnImageAndAnSvgOnTheClipboard()
  {
    TGraphWin win;
    win.show();
    QVERIFY(QTest::qWaitForWindowExposed(&win));
    win.CopyPicture();
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    QVERIFY(data);
    QVERIFY(data->hasImage());
    QCOMPARE(qvariant_cast<QImage>(data->imageData()).size(), QSize(291, 212));
    QVERIFY(data->data("image/svg+xml").contains("<svg"));
  }

  // With RAVLEN_SCREENS set to a folder, the window is saved there at two sizes for a
  // look by eye.
  void screenshots()
  {
    const QString folder = qEnvironmentVariable("RAVLEN_SCREENS");
    if (folder.isEmpty())
      QSKIP("RAVLEN_SCREENS is not set");
    QDir().mkpath(folder);
    TGraphWin win;
    win.SetAttackW(32.5L * kDegToRad);
    win.show();
    QVERIFY(QTest::qWaitForWindowExposed(&win));
    QVERIFY(win.grab().save(QDir(folder).filePath("graph-291x212.png")));
    win.resize(640, 480);
    QVERIFY(win.grab().save(QDir(folder).filePath("graph-640x480.png")));
    QVERIFY(win.SavePicture(QDir(folder).filePath("graph-640x480.svg")));
  }
};

QTEST_MAIN(GraphWinTest)
#include "GraphWinF_test.moc"
