// The plot picture control: the axes it draws, its two picture modes and how it shows
// and renders its picture.
#include <QSignalSpy>
#include <QTest>

#include "PaintCapture.h"
#include "controls/ToolsText.h"
#include "dialogs/Sc_pic.h"

namespace {

const QColor kSilver(192, 192, 192);

QStringList TextsOf(const TPaintCapture& capture)
{
  QStringList texts;
  for (const TCapturedText& t : capture.Texts)
    texts << t.Text;
  return texts;
}

const TCapturedText* FindText(const TPaintCapture& capture, const QString& text)
{
  for (const TCapturedText& t : capture.Texts)
    if (t.Text == text)
      return &t;
  return nullptr;
}

// The coefficient graph's axes on a picture of the given size.
void DrawGraphAxes(ScPic& pic, QSize size)
{
  pic.resize(size);
  pic.ClearPicture();
  pic.SetRange(0, 90, 0, 2.5L);
  pic.AddMargins();
  pic.DrawAxes(0, 2, QStringLiteral("Attack angle, deg"), QStringLiteral("Cx, Cy"));
  pic.EndDraw();
}

bool IsColor(QRgb pixel, const QColor& color) { return QColor(pixel) == color; }

}  // namespace

class ScPicTest : public QObject {
  Q_OBJECT

private slots:
  void initTestCase() { ProcessNumberLocale() = TNumberLocale{'.', ','}; }

  void mapsAtThePresentSize()
  {
    ScPic pic;
    pic.SetRange(-9, 108, -0.25L, 3);
    for (const QSize size : {QSize(291, 212), QSize(500, 120)}) {
      pic.resize(size);
      QCOMPARE(pic.XToPixel(-9), 0);
      QCOMPARE(pic.XToPixel(99), size.width() - 1);
      QCOMPARE(pic.YToPixel(-0.25L), size.height() - 1);
      QCOMPARE(pic.YToPixel(2.75L), 0);
      QCOMPARE(double(pic.PixelToY(0)), 2.75);
    }
  }

  void axesOfTheGraphRanges_data()
  {
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QStringList>("texts");
    // As designed, the x title stands where the label "75" would: the label is left out.
    QTest::newRow("as designed") << QSize(291, 212)
                                 << QStringList({"25", "50", ".5", "1", "1.5", "2", "2.5", "Cx, Cy", "Attack angle, deg"});
    QTest::newRow("enlarged") << QSize(640, 480)
                              << QStringList({"25", "50", "75", ".5", "1", "1.5", "2", "2.5", "Cx, Cy",
                                              "Attack angle, deg"});
  }

  // Grid lines at 0, 25, 50, 75 and 0, 0.5 .. 2.5; the label at 0 is empty and is not
  // written; the values stay whatever the size, the pixels follow it.
  void axesOfTheGraphRanges()
  {
    QFETCH(QSize, size);
    QFETCH(QStringList, texts);
    ScPic pic;
    pic.SetImageType(TImageType::itMetafile);
    DrawGraphAxes(pic, size);
    QCOMPARE(pic.MetafileSize(), size);
    const auto capture = CapturePicture(pic.Metafile(), size);
    QCOMPARE(TextsOf(*capture), texts);
    for (const TCapturedText& t : capture->Texts)
      QCOMPARE(t.Pen.color(), QColor(Qt::black));

    const QFontMetrics metrics(QFont(pic.font().family(), 6));
    const int th = metrics.height();
    const TCapturedText* label25 = FindText(*capture, "25");
    QCOMPARE(label25->Baseline.x(), double(pic.XToPixel(25) - metrics.horizontalAdvance("25") / 2));
    // The recorded text comes back with a fraction of a pixel of the font's own rounding.
    QCOMPARE(qRound(label25->Baseline.y()), pic.YToPixel(0) + th / 2 + metrics.ascent());
    const TCapturedText* labelHalf = FindText(*capture, ".5");
    QCOMPARE(labelHalf->Baseline.x(), double(pic.XToPixel(0) + metrics.horizontalAdvance('0')));
    QCOMPARE(qRound(labelHalf->Baseline.y()), pic.YToPixel(0.5L) - th / 2 + metrics.ascent());

    // The labels stand on white boxes that hide the grid line running through them.
    const QImage image = pic.RenderImage();
    const int gridRow = pic.YToPixel(0.5L);
    const int labelLeft = int(labelHalf->Baseline.x());
    const int labelRight = labelLeft + metrics.horizontalAdvance(".5");
    int silverInLabel = 0, silverBeside = 0;
    for (int x = labelLeft; x < labelRight; ++x)
      silverInLabel += IsColor(image.pixel(x, gridRow), kSilver);
    for (int x = labelRight + 2; x < labelRight + 12; ++x)
      silverBeside += IsColor(image.pixel(x, gridRow), kSilver);
    QCOMPARE(silverInLabel, 0);
    QVERIFY(silverBeside > 0);

    QList<double> gridColumns, gridRows;
    int axes = 0;
    for (const TCapturedLine& l : capture->Lines) {
      if (l.Pen.color() == kSilver) {
        QCOMPARE(l.Pen.style(), Qt::DotLine);
        if (l.Line.x1() == l.Line.x2())
          gridColumns << l.Line.x1();
        else
          gridRows << l.Line.y1();
      } else if (l.Pen.color() == QColor(Qt::black)) {
        QCOMPARE(l.Pen.width(), 2);
        ++axes;
      }
    }
    QCOMPARE(gridColumns, QList<double>({double(pic.XToPixel(0)), double(pic.XToPixel(25)),
                                         double(pic.XToPixel(50)), double(pic.XToPixel(75))}));
    QCOMPARE(gridRows.size(), 6);
    QCOMPARE(gridRows.front(), double(pic.YToPixel(0)));
    QCOMPARE(gridRows.back(), double(pic.YToPixel(2.5L)));
    QCOMPARE(axes, 2);
  }

  // Until EndDraw the control keeps showing the previous picture, and each recording
  // starts empty even though its buffer is reused.
  void metafileShowsThePreviousPictureWhileRecording()
  {
    ScPic pic;
    pic.SetImageType(TImageType::itMetafile);
    pic.resize(40, 30);
    pic.SetRange(0, 10, 0, 10);
    pic.ClearPicture();
    pic.DrawLine(Qt::red, 0, 5, 10, 5);
    pic.EndDraw();
    pic.ClearPicture();
    pic.DrawLine(Qt::blue, 5, 0, 5, 10);
    QImage shown = pic.RenderImage();
    QVERIFY(IsColor(shown.pixel(2, pic.YToPixel(5)), Qt::red));
    QVERIFY(!IsColor(shown.pixel(pic.XToPixel(5), 2), Qt::blue));
    pic.EndDraw();
    pic.ClearPicture();
    pic.DrawLine(Qt::green, 0, 0, 0, 0);
    pic.EndDraw();
    shown = pic.RenderImage();
    QVERIFY(!IsColor(shown.pixel(2, pic.YToPixel(5)), Qt::red));
    QVERIFY(!IsColor(shown.pixel(pic.XToPixel(5), 2), Qt::blue));
  }

  // The picture is stretched from the size it was drawn for, never squeezed to make room
  // for something drawn far outside it.
  void metafileIsShownStretchedToTheControl()
  {
    ScPic pic;
    pic.SetImageType(TImageType::itMetafile);
    pic.resize(100, 80);
    pic.ClearPicture();
    QPainter* canvas = pic.GetCanvas();
    canvas->fillRect(0, 0, 100, 80, Qt::green);
    canvas->drawLine(5000, 0, 5000, 80);
    pic.EndDraw();
    QImage screen = pic.grab().toImage();
    QVERIFY(IsColor(screen.pixel(99, 79), Qt::green));
    pic.resize(200, 160);
    screen = pic.grab().toImage();
    QCOMPARE(screen.size(), QSize(200, 160));
    QVERIFY(IsColor(screen.pixel(199, 159), Qt::green));
    QVERIFY(IsColor(screen.pixel(0, 0), Qt::green));
  }

  void bitmapFollowsTheControlAndItsPixelFormat()
  {
    ScPic pic;
    QCOMPARE(pic.ImageType(), TImageType::itBitmap);
    pic.resize(50, 40);
    pic.SetRange(0, 49, 0, 39);
    pic.ClearPicture();
    pic.DrawLine(Qt::red, 0, 20, 49, 20);
    pic.EndDraw();
    QCOMPARE(pic.Bitmap().size(), QSize(50, 40));
    QVERIFY(IsColor(pic.Bitmap().pixel(10, pic.YToPixel(20)), Qt::red));
    QVERIFY(IsColor(pic.Bitmap().pixel(10, 5), Qt::white));
    QVERIFY(IsColor(pic.grab().toImage().pixel(10, pic.YToPixel(20)), Qt::red));

    pic.resize(60, 45);
    pic.ClearPicture();
    pic.EndDraw();
    QCOMPARE(pic.Bitmap().size(), QSize(60, 45));
    QVERIFY(IsColor(pic.Bitmap().pixel(10, pic.YToPixel(20)), Qt::white));

    // A 1-bit picture starts white and is never cleared: what was drawn stays.
    pic.SetPixelFormat(TPixelFormat::pf1bit);
    pic.ClearPicture();
    QVERIFY(pic.Bitmap().isNull());
    pic.DrawLine(Qt::black, 0, 20, 59, 20);
    pic.EndDraw();
    QCOMPARE(pic.Bitmap().format(), QImage::Format_Mono);
    QVERIFY(IsColor(pic.Bitmap().pixel(10, 5), Qt::white));
    pic.ClearPicture();
    pic.EndDraw();
    QVERIFY(IsColor(pic.Bitmap().pixel(10, pic.YToPixel(20)), Qt::black));
  }

  void drawingWithoutACanvasIsAbandonedSilently()
  {
    ScPic pic;
    pic.resize(0, 0);
    pic.ClearPicture();
    QCOMPARE(pic.GetCanvas(), nullptr);
    pic.DrawAxes(0, 2, "x", "y");
    pic.LineToXY(1, 1);
    pic.TextAtXY("text", 0, 0);
    pic.EndDraw();
    QVERIFY(!pic.HasPicture());
    QVERIFY(pic.RenderImage().isNull());
    QVERIFY(pic.RenderSvg("t", "d").isEmpty());
  }
};

QTEST_MAIN(ScPicTest)
#include "Sc_pic_test.moc"
