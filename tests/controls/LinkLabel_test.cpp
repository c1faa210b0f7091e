// The linked label's placement beside its control, following it, and the invisible text.
#include <QLineEdit>
#include <QtTest>

#include "controls/InvText.h"
#include "controls/LinkLabel.h"

namespace {

// A label of a fixed size beside a control of a fixed place.
struct TLinked {
  QWidget Panel;
  QLineEdit* Control = new QLineEdit(&Panel);
  TLinkLabel* Label = new TLinkLabel(&Panel);

  TLinked(QRect control, QSize label)
  {
    Label->SetAutoSize(false);
    Label->resize(label);
    Control->setGeometry(control);
  }
};

}  // namespace

class TLinkLabelTest : public QObject {
  Q_OBJECT

private slots:
  void Placement_data()
  {
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("anchoredLeft");
    QTest::addColumn<QSize>("label");
    QTest::addColumn<QRect>("expected");
    const QSize label(85, 39);
    QTest::newRow("top, centred") << int(TLinkMode::lmTop) << true << label << QRect(31, 58, 85, 39);
    QTest::newRow("top, one pixel wider") << int(TLinkMode::lmTop) << true << QSize(70, 20) << QRect(39, 77, 70, 20);
    QTest::newRow("bottom") << int(TLinkMode::lmBottom) << true << label << QRect(31, 99 + 21 + 2, 85, 39);
    QTest::newRow("right") << int(TLinkMode::lmRight) << true << QSize(40, 11) << QRect(39 + 69 + 2, 104, 40, 11);
    // Held by its left edge (at 5), the label stretches up to the gap.
    QTest::newRow("left, anchored") << int(TLinkMode::lmLeft) << true << QSize(20, 11) << QRect(5, 104, 32, 11);
    QTest::newRow("left, free") << int(TLinkMode::lmLeft) << false << QSize(20, 11) << QRect(17, 104, 20, 11);
  }

  void Placement()
  {
    QFETCH(int, mode);
    QFETCH(bool, anchoredLeft);
    QFETCH(QSize, label);
    QFETCH(QRect, expected);
    TLinked t(QRect(39, 99, 69, 21), label);
    t.Label->move(5, 5);
    t.Label->SetAnchoredLeft(anchoredLeft);
    t.Label->SetLinkMode(static_cast<TLinkMode>(mode));
    t.Label->SetLinkTo(t.Control);
    QCOMPARE(t.Label->geometry(), expected);
  }

  void FollowsItsControl()
  {
    TLinked t(QRect(39, 99, 69, 21), QSize(85, 39));
    t.Label->SetLinkTo(t.Control);
    t.Panel.show();  // a hidden control reports its moves only when shown
    t.Control->move(100, 200);
    QCOMPARE(t.Label->pos(), QPoint(92, 159));
    t.Label->SetLinkSpace(10);
    QCOMPARE(t.Label->pos(), QPoint(92, 151));

    // Linking to itself is ignored; unlinking leaves the label where it is.
    t.Label->SetLinkTo(t.Label);
    QCOMPARE(t.Label->LinkTo(), t.Control);
    t.Label->SetLinkTo(nullptr);
    t.Control->move(0, 0);
    QCOMPARE(t.Label->pos(), QPoint(92, 151));
  }

  void ForgetsADestroyedControl()
  {
    TLinked t(QRect(39, 99, 69, 21), QSize(85, 39));
    t.Label->SetLinkTo(t.Control);
    delete t.Control;
    QCOMPARE(t.Label->LinkTo(), nullptr);
    t.Label->UpdatePosition();
  }

  void TakesTheParentOfItsControl()
  {
    QWidget panel;
    auto* group = new QWidget(&panel);
    auto* control = new QLineEdit(group);
    auto* label = new TLinkLabel(&panel);
    label->SetLinkTo(control);
    QCOMPARE(label->parentWidget(), group);
  }

  void RightJustifiedCaptionEndsAtTheGap()
  {
    QWidget panel;
    auto* control = new QLineEdit(&panel);
    control->setGeometry(200, 50, 80, 21);
    auto* label = new TLinkLabel(&panel);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->move(10, 50);
    label->SetLinkMode(TLinkMode::lmLeft);
    label->SetLinkTo(control);
    label->SetCaption(QStringLiteral("Ground coefficient:"));
    QCOMPARE(label->geometry().right() + 1, 200 - 2);
    QCOMPARE(label->width(), label->sizeHint().width());
  }

  void InvisibleTextHoldsItsCaption()
  {
    QWidget window;
    window.resize(100, 60);
    window.setAutoFillBackground(true);
    window.setPalette(QPalette(Qt::white));
    auto* text = new TInvText(&window);
    QCOMPARE(text->Caption(), QStringLiteral("<<text>>"));
    QCOMPARE(text->size(), QSize(50, 17));
    text->SetCaption(QStringLiteral("Yy"));
    QCOMPARE(text->Caption(), QStringLiteral("Yy"));
    const QImage image = window.grab().toImage();
    for (int y = 0; y < 17; ++y)
      for (int x = 0; x < 50; ++x)
        QCOMPARE(image.pixelColor(x, y), QColor(Qt::white));
  }
};

QTEST_MAIN(TLinkLabelTest)
#include "LinkLabel_test.moc"
