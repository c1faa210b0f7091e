// The environment dialog as the user meets it: first start, the density's range, OK and
// Cancel with the settings store, restoring at creation, and the edits over their spots
// when the dialog is resized.
#include <QPushButton>
#include <QtTest>
#include <memory>

#include "controls/InvText.h"
#include "controls/LabeledEditF.h"
#include "dialogs/Envir.h"
#include "mechanics/DoorModel.h"
#include "platform/MessageBox.h"
#include "tests/dialogs/ModalDriver.h"

namespace {

const QString kKey = QStringLiteral("\\Software\\Software\\Tamarek\\Ravlen");

// Opens the dialog, types the density and closes it with OK.
void AcceptDensity(TEnvironment& environment, const QString& text)
{
  RunModal(environment, [&] { environment.Execute(); }, [&] {
    Enter(environment.WDens, text);
    environment.OKBtn->click();
  });
}

}  // namespace

class TEnvironmentTest : public QObject {
  Q_OBJECT

private slots:
  void init()
  {
    ClearStore();
    FCapture = std::make_unique<TMessageCapture>();
  }
  void cleanup() { FCapture.reset(); }

  void firstStartShowsTheDesignedWater()
  {
    TEnvironment environment;
    QVERIFY(environment.isHidden());
    QCOMPARE(environment.windowTitle(), QStringLiteral("Environment"));
    QCOMPARE(double(environment.WDens->Val()), 1030.0);
    QCOMPARE(environment.WDens->text(), QStringLiteral("1030"));
    QCOMPARE(double(environment.WVisc->Val()), 1.63e-06);
    QCOMPARE(double(environment.GDens->Val()), 2000.0);
    QCOMPARE(double(environment.GCoef->Val()), 0.35);
    QCOMPARE(environment.WDens->ValLabel()->text(), QStringLiteral("Water Density:"));
    QCOMPARE(environment.WDens->ValDimLabel()->text(), QStringLiteral("kg/m^3"));
    // The unit the viscosity is held in, which the user types in too.
    QCOMPARE(environment.WVisc->ValDimLabel()->text(), QStringLiteral("m^2/s"));
    QVERIFY(FCapture->Messages().empty());
  }

  void densityRange_data()
  {
    QTest::addColumn<QString>("entry");
    QTest::addColumn<double>("kept");
    QTest::addColumn<bool>("refused");
    QTest::newRow("1200 above") << "1200" << 1030.0 << true;
    QTest::newRow("799.9 below") << "799.9" << 1030.0 << true;
    QTest::newRow("800 lowest") << "800" << 800.0 << false;
    QTest::newRow("1100 highest") << "1100" << 1100.0 << false;
    QTest::newRow("1025.5") << "1025.5" << 1025.5 << false;
  }
  void densityRange()
  {
    QFETCH(QString, entry);
    QFETCH(double, kept);
    QFETCH(bool, refused);
    TEnvironment environment;
    bool open = false;
    RunModal(environment, [&] { environment.Execute(); }, [&] {
      open = environment.isVisible();
      Enter(environment.WDens, entry);
      environment.OKBtn->click();
    });
    QVERIFY(open);
    QCOMPARE(double(environment.WDens->Val()), kept);
    QCOMPARE(FCapture->Messages().size(), size_t(refused ? 1 : 0));
    if (refused) {
      QCOMPARE(FCapture->Messages()[0].Kind, TMessageKind::Error);
      QVERIFY(FCapture->Messages()[0].Text.endsWith(QStringLiteral("Value is out of range: [800..1100]")));
      QCOMPARE(environment.WDens->text(), QStringLiteral("1030"));
    }
    QCOMPARE(double(StoredReal(kKey, QStringLiteral("WDens")).value_or(-1)), kept);
  }

  void enterInAnEditClosesNothing()
  {
    TEnvironment environment;
    bool okFocused = false;
    bool stillOpen = false;
    RunModal(environment, [&] { environment.Execute(); }, [&] {
      okFocused = environment.focusWidget() == environment.OKBtn;
      Enter(environment.WDens, QStringLiteral("1010"));
      stillOpen = environment.isVisible();
      environment.OKBtn->setFocus();
      QTest::keyClick(environment.OKBtn, Qt::Key_Return);  // Enter on the focused OK presses it
    });
    QVERIFY(okFocused);
    QVERIFY(stillOpen);
    QCOMPARE(environment.result(), int(QDialog::Accepted));
    QCOMPARE(double(environment.WDens->Val()), 1010.0);
  }

  // Cancel (the button or Esc) puts back the values the dialog opened with; the close box
  // keeps the committed ones and stores them, like OK.
  void cancelLeavesDialogAndStore_data()
  {
    QTest::addColumn<QString>("how");
    QTest::addColumn<double>("density");
    QTest::newRow("Cancel button") << "button" << 1000.0;
    QTest::newRow("Esc") << "escape" << 1000.0;
    QTest::newRow("close box") << "close" << 950.0;
  }
  void cancelLeavesDialogAndStore()
  {
    QFETCH(QString, how);
    QFETCH(double, density);
    TEnvironment environment;
    AcceptDensity(environment, QStringLiteral("1000"));
    QCOMPARE(double(StoredReal(kKey, QStringLiteral("WDens")).value_or(-1)), 1000.0);
    int result = -1;
    RunModal(environment, [&] { result = environment.Execute(); }, [&] {
      Enter(environment.WDens, QStringLiteral("950"));
      environment.WVisc->setText(QStringLiteral("0.5"));  // typed, not committed
      if (how == QLatin1String("escape"))
        QTest::keyClick(environment.WVisc, Qt::Key_Escape);
      else if (how == QLatin1String("close"))
        environment.close();
      else
        QTest::mouseClick(environment.CancelBtn, Qt::LeftButton);
    });
    QCOMPARE(result, int(QDialog::Rejected));
    QVERIFY(environment.isHidden());
    QCOMPARE(double(environment.WDens->Val()), density);
    QCOMPARE(environment.WDens->text(), QString::number(density));
    QCOMPARE(double(environment.WVisc->Val()), 1.63e-06);
    QCOMPARE(double(StoredReal(kKey, QStringLiteral("WDens")).value_or(-1)), density);
  }

  void valuesAndPlacementComeBackAtCreation()
  {
    {
      TEnvironment environment;
      RunModal(environment, [&] { environment.Execute(); }, [&] {
        environment.resize(640, 450);
        Enter(environment.WDens, QStringLiteral("1012.5"));
        environment.OKBtn->click();
      });
    }
    TEnvironment again;
    QVERIFY(again.isHidden());
    QCOMPARE(again.size(), QSize(640, 450));
    QCOMPARE(double(again.WDens->Val()), 1012.5);
    QCOMPARE(again.WDens->text(), QStringLiteral("1012.5"));
  }

  void resizingKeepsTheEditsOverTheirSpots()
  {
    TEnvironment environment;
    QRect density, viscosity, densityCaption;
    QSize panel;
    QPoint panelAt;
    RunModal(environment, [&] { environment.Execute(); }, [&] {
      environment.resize(1000, 834);
      panel = environment.Panel1->size();
      panelAt = environment.Panel1->pos();
      density = QRect(environment.WDens->mapTo(&environment, QPoint(0, 0)), environment.WDens->size());
      viscosity = environment.WVisc->geometry();
      densityCaption = environment.WDens->ValLabel()->geometry();
      environment.OKBtn->click();
    });
    QCOMPARE(panelAt, QPoint(4, 4));
    QCOMPARE(panel, QSize(1000 - 96, 834 - 10));
    // The density edit's corner at half the panel's width and 0.6 of its height.
    QCOMPARE(density.topLeft(), QPoint(4 + qRound(0.5 * panel.width()), 4 + qRound(0.6 * panel.height())));
    QCOMPARE(densityCaption.right() + 1 + 3, density.left() - 4);
    // The viscosity edit stays over the spot of its marker: the centre at the same fractions
    // of the panel as the marker's corner plus the edit's half size in the design.
    const double cx = (203 + 59 / 2.0) / 396 * panel.width();
    const double cy = (274 + 21 / 2.0) / 380 * panel.height();
    QVERIFY2(qAbs(viscosity.x() + viscosity.width() / 2.0 - cx) <= 0.5, qPrintable(QString::number(viscosity.x())));
    QVERIFY2(qAbs(viscosity.y() + viscosity.height() / 2.0 - cy) <= 0.5, qPrintable(QString::number(viscosity.y())));
  }

  void theModelTakesTheDensity()
  {
    TEnvironment environment;
    AcceptDensity(environment, QStringLiteral("1015"));
    TDoorInputs inputs;
    environment.ReadConditions(inputs);
    QCOMPARE(double(inputs.WaterDensity), 1015.0);
  }

private:
  std::unique_ptr<TMessageCapture> FCapture;
};

QTEST_MAIN(TEnvironmentTest)
#include "Envir_test.moc"
