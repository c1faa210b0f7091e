// The message-box service: captures for tests and the line breaks shown to the user.
#include <QtTest>

#include "platform/MessageBox.h"

class TMessageBoxTest : public QObject {
  Q_OBJECT

private slots:
  void CaptureRecordsTextAndAnswers()
  {
    TMessageCapture outer;
    {
      TMessageCapture inner;
      inner.YesNoAnswer = TMessageAnswer::No;
      QCOMPARE(ShowMessage(TMessageKind::Error, QStringLiteral("a\rb")), TMessageAnswer::Ok);
      QCOMPARE(ShowMessage(TMessageKind::Information, QStringLiteral("q"), TMessageButtons::YesNo), TMessageAnswer::No);
      QCOMPARE(inner.Messages().size(), std::size_t(2));
      QCOMPARE(inner.Messages()[0].Text, QStringLiteral("a\rb"));  // kept as written
      QCOMPARE(inner.Messages()[0].Kind, TMessageKind::Error);
      QCOMPARE(inner.Messages()[1].Buttons, TMessageButtons::YesNo);
    }
    // The inner capture is gone: the outer one is in force again.
    QCOMPARE(ShowMessage(TMessageKind::Information, QStringLiteral("x"), TMessageButtons::YesNo), TMessageAnswer::Yes);
    QCOMPARE(outer.Messages().size(), std::size_t(1));
  }

  void CarriageReturnsBecomeLineBreaks()
  {
    QCOMPARE(MessageTextForDisplay(QStringLiteral("Name\r\rGroupBox2 : Name\rValue")),
             QStringLiteral("Name\n\nGroupBox2 : Name\nValue"));
    QCOMPARE(MessageTextForDisplay(QStringLiteral("a\r\nb\nc")), QStringLiteral("a\nb\nc"));
  }
};

QTEST_MAIN(TMessageBoxTest)
#include "MessageBox_test.moc"
