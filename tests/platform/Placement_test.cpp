// The window placement record: its byte layout and its exchange with a window.
#include <QWidget>
#include <QtTest>

#include "platform/Placement.h"

class TPlacementTest : public QObject {
  Q_OBJECT

private slots:
  void RecordLayoutIsLittleEndian()
  {
    TWindowPlacement p;
    p.Flags = PlacementFlag::RestoreToMaximized;
    p.ShowCmd = ShowCommand::ShowMaximized;
    p.Left = 10;
    p.Top = -20;
    p.Right = 0x01020304;
    p.Bottom = 400;
    const QByteArray data = EncodePlacement(p);
    QCOMPARE(data.size(), 44);
    QCOMPARE(data.mid(0, 4), QByteArray("\x2c\0\0\0", 4));
    QCOMPARE(data.mid(8, 4), QByteArray("\3\0\0\0", 4));
    QCOMPARE(data.mid(12, 4), QByteArray("\xff\xff\xff\xff", 4));  // no minimised position
    QCOMPARE(data.mid(32, 4), QByteArray("\xec\xff\xff\xff", 4));
    QCOMPARE(data.mid(36, 4), QByteArray("\4\3\2\1", 4));
    QCOMPARE(DecodePlacement(data), std::optional<TWindowPlacement>(p));
    QVERIFY(!DecodePlacement(data.left(43)));
    QVERIFY(!DecodePlacement(data + '\0'));
  }

  void NormalWindowRoundTrip()
  {
    QWidget a;
    a.setGeometry(30, 40, 300, 200);
    a.show();
    const std::optional<TWindowPlacement> p = GetWindowPlacement(&a);
    QVERIFY(p);
    QCOMPARE(p->ShowCmd, ShowCommand::ShowNormal);
    QCOMPARE(QRect(p->Left, p->Top, p->Right - p->Left, p->Bottom - p->Top), QRect(30, 40, 300, 200));

    QWidget b;
    QVERIFY(SetWindowPlacement(&b, *p));
    QVERIFY(b.isVisible());
    QCOMPARE(b.geometry(), QRect(30, 40, 300, 200));
  }

  void MaximisedWindowKeepsItsNormalGeometry()
  {
    QWidget a;
    a.setGeometry(50, 60, 320, 240);
    a.showMaximized();
    QVERIFY(QTest::qWaitForWindowExposed(&a));
    const std::optional<TWindowPlacement> p = GetWindowPlacement(&a);
    QCOMPARE(p->ShowCmd, ShowCommand::ShowMaximized);
    QCOMPARE(QRect(p->Left, p->Top, p->Right - p->Left, p->Bottom - p->Top), QRect(50, 60, 320, 240));

    QWidget b;
    QVERIFY(SetWindowPlacement(&b, *p));
    QVERIFY(b.isMaximized());
    b.showNormal();
    QTRY_COMPARE(b.geometry(), QRect(50, 60, 320, 240));

    // The same record with the show command replaced by "hide" keeps a window hidden.
    TWindowPlacement hidden = *p;
    hidden.ShowCmd = ShowCommand::Hide;
    QWidget c;
    QVERIFY(SetWindowPlacement(&c, hidden));
    QVERIFY(!c.isVisible());
    QVERIFY(!c.isMaximized());
    QCOMPARE(c.geometry(), QRect(50, 60, 320, 240));
  }

  void MinimisedWindowComesBackMaximised()
  {
    TWindowPlacement p;
    p.ShowCmd = ShowCommand::ShowMinimized;
    p.Flags = PlacementFlag::RestoreToMaximized;
    p.Left = 10, p.Top = 10, p.Right = 210, p.Bottom = 110;
    QWidget w;
    QVERIFY(SetWindowPlacement(&w, p));
    QVERIFY(w.isMinimized());
    QVERIFY(w.windowState() & Qt::WindowMaximized);
    const std::optional<TWindowPlacement> back = GetWindowPlacement(&w);
    QCOMPARE(back->ShowCmd, ShowCommand::ShowMinimized);
    QCOMPARE(back->Flags & PlacementFlag::RestoreToMaximized, PlacementFlag::RestoreToMaximized);
  }

  void EmptyOrForgedRectanglesAreIgnored()
  {
    QWidget w;
    w.setGeometry(5, 6, 100, 50);
    TWindowPlacement p;
    p.Left = 100, p.Right = 100, p.Top = 0, p.Bottom = 100;  // zero width
    QVERIFY(!SetWindowPlacement(&w, p));
    p.Left = 0, p.Right = 100, p.Top = 50, p.Bottom = 10;
    QVERIFY(!SetWindowPlacement(&w, p));
    p.Left = INT32_MIN, p.Right = INT32_MAX, p.Top = 0, p.Bottom = 100;
    QVERIFY(!SetWindowPlacement(&w, p));
    QVERIFY(!SetWindowPlacement(nullptr, TWindowPlacement{}));
    QVERIFY(!GetWindowPlacement(nullptr));
    QCOMPARE(w.geometry(), QRect(5, 6, 100, 50));
    QVERIFY(!w.isVisible());
  }

  void RectangleOffEveryScreenIsBroughtBack()
  {
    TWindowPlacement p;
    p.Left = 100000, p.Top = 100000, p.Right = 100300, p.Bottom = 100200;
    QWidget w;
    QVERIFY(SetWindowPlacement(&w, p));
    QCOMPARE(w.size(), QSize(300, 200));
    QVERIFY(QGuiApplication::primaryScreen()->availableGeometry().contains(w.geometry().topLeft()));
  }

  void RectangleLargerThanTheScreenIsCutDown_data()
  {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::newRow("the largest widget") << 16777215 << 16777215;
    QTest::newRow("100000 square") << 100000 << 100000;
    QTest::newRow("too wide only") << 100000 << 200;
  }
  // A forged size would ask for a window no backing store can hold: the program fell
  // over painting it at every start.
  void RectangleLargerThanTheScreenIsCutDown()
  {
    QFETCH(int, width);
    QFETCH(int, height);
    TWindowPlacement p;
    p.Left = 0, p.Top = 0, p.Right = width, p.Bottom = height;
    QWidget w;
    QVERIFY(SetWindowPlacement(&w, p));
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QCOMPARE(w.width(), std::min(width, screen.width()));
    QCOMPARE(w.height(), std::min(height, screen.height()));
  }
};

QTEST_MAIN(TPlacementTest)
#include "Placement_test.moc"
