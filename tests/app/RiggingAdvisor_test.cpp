// The rigging advisor as the user meets it in the main window: its search against the
// command line's, Apply, Cancel, closing during a run, its stored windows, its export,
// the new command in bar files of older programs, and the door's health in the status
// bar. Every expected door number comes from a run of the real ravlen-balance.
#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStatusBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QtTest>

#include <cmath>
#include <memory>

#include "LinkTestSupport.h"
#include "app/CommandBars.h"
#include "app/CommandTable.h"
#include "app/DoorF.h"
#include "controls/EditF.h"
#include "dialogs/RiggingAdvisor.h"
#include "platform/MessageBox.h"

namespace {

constexpr double kDeg = 3.14159265358979323846 / 180;

// A working directory and a settings store of the test's own.
class TSandbox {
public:
  TSandbox() : FOldDir(QDir::currentPath())
  {
    QDir::setCurrent(FDir.path());
    QDir(FDir.path()).mkpath(QStringLiteral("config"));
    qputenv("XDG_CONFIG_HOME", FDir.filePath(QStringLiteral("config")).toLocal8Bit());
  }
  ~TSandbox() { QDir::setCurrent(FOldDir); }
  QString Path(const QString& name) const { return FDir.filePath(name); }

private:
  QTemporaryDir FDir;
  QString FOldDir;
};

QByteArray RunBalanceTool(const QStringList& args) { return RunTool(QStringLiteral(RAVLEN_BALANCE_PATH), args).Out; }

QJsonObject BalanceToolJson(const QStringList& args)
{
  return QJsonDocument::fromJson(RunBalanceTool(QStringList{QStringLiteral("--json")} + args)).object();
}

QAction* Command(TFDoor& door, const char* name) { return door.Commands().Find(QString::fromLatin1(name)); }

// The advisor of a shown window, opened by its command.
TRiggingAdvisor* OpenAdvisor(TFDoor& door)
{
  door.show();
  Command(door, "RiggingAdvisor")->trigger();
  return door.Advisor();
}

// Runs the advisor's search to its end.
bool RunToTheEnd(TRiggingAdvisor& advisor)
{
  QSignalSpy ended(&advisor, &TRiggingAdvisor::SearchEnded);
  advisor.RunBtn->click();
  return ended.count() == 1 || ended.wait(60000);
}

// The degrees of an angle edit of the advisor, set as a user would commit them.
void SetDegrees(TEditF* edit, double degrees) { edit->SetValue(degrees * kDeg); }

bool Near(double actual, double expected, double relative)
{
  return std::fabs(actual - expected) <= relative * std::max(1.0, std::fabs(expected));
}

QString Number(double value) { return QString::number(value, 'g', 17); }

QStringList RiggingOptions(const TRiggingCandidate& c)
{
  const auto hole = [](int index) { return QStringLiteral("%1,%2").arg(index / 5 + 1).arg(index % 5 + 1); };
  const char* const tows[] = {"F2u", "F1u", "F0", "F1d", "F2d"};
  const char* const brackets[] = {"small", "medium", "large"};
  return {QStringLiteral("--upper-hole"), hole(c.Rigging.UpperHole), QStringLiteral("--lower-hole"),
          hole(c.Rigging.LowerHole), QStringLiteral("--pair"), QString::number(int(c.Rigging.Pair)),
          QStringLiteral("--tow-hole"), QString::fromLatin1(tows[int(c.Rigging.Tow)]), QStringLiteral("--ballast"),
          QString::number(c.Door.Ballast), QStringLiteral("--bracket"),
          QString::fromLatin1(brackets[int(c.Door.Bracket)])};
}

}  // namespace

class TRiggingAdvisorTest : public QObject {
  Q_OBJECT

private slots:
  void init() { FCapture = std::make_unique<TMessageCapture>(); }
  void cleanup() { FCapture.reset(); }

  // The dialog's first ten are the command line's first ten, rigging for rigging, for
  // the window's conditions, windows and ranking.
  void searchGivesTheCommandLinesFirstTen_data()
  {
    QTest::addColumn<double>("speed");
    QTest::addColumn<QList<double>>("windows");  // heel min, max, pitch min, max, degrees
    QTest::addColumn<int>("rank");
    QTest::addColumn<QStringList>("options");
    QTest::newRow("spreading, start-up door")
        << 2.0 << QList<double>{-5, 5, -5, 5} << 0 << QStringList{QStringLiteral("--rank"), QStringLiteral("spreading")};
    QTest::newRow("efficiency, wider windows, faster")
        << 2.5 << QList<double>{-10, 10, -8, 12} << 1
        << QStringList{QStringLiteral("--speed"), QStringLiteral("2.5"), QStringLiteral("--heel"), QStringLiteral("-10,10"),
                       QStringLiteral("--pitch"), QStringLiteral("-8,12"), QStringLiteral("--rank"),
                       QStringLiteral("efficiency")};
  }
  void searchGivesTheCommandLinesFirstTen()
  {
    QFETCH(double, speed);
    QFETCH(QList<double>, windows);
    QFETCH(int, rank);
    QFETCH(QStringList, options);
    TSandbox sandbox;
    TFDoor door;
    TRiggingAdvisor* advisor = OpenAdvisor(door);
    QVERIFY(advisor);
    door.TrawlSpeed->SetValue(speed);
    SetDegrees(advisor->HeelMin, windows[0]);
    SetDegrees(advisor->HeelMax, windows[1]);
    SetDegrees(advisor->PitchMin, windows[2]);
    SetDegrees(advisor->PitchMax, windows[3]);
    advisor->RankBox->setCurrentIndex(rank);
    QVERIFY(RunToTheEnd(*advisor));

    const QJsonObject cli = BalanceToolJson(QStringList{QStringLiteral("advise")} + options);
    const QJsonArray expected = cli.value(QStringLiteral("riggings")).toArray();
    const std::vector<TRiggingCandidate>& best = advisor->Result().Best;
    QCOMPARE(expected.size(), 10);
    QCOMPARE(int(best.size()), 10);
    QCOMPARE(advisor->Table->model()->rowCount(), 10);
    QCOMPARE(advisor->Result().Kept, cli.value(QStringLiteral("kept")).toInteger());
    for (int i = 0; i < 10; ++i) {
      const QJsonObject e = expected[i].toObject();
      const TRiggingCandidate& c = best[std::size_t(i)];
      const QJsonArray upper = e.value(QStringLiteral("upper_hole")).toArray();
      const QJsonArray lower = e.value(QStringLiteral("lower_hole")).toArray();
      QCOMPARE(c.Rigging.UpperHole, (upper[0].toInt() - 1) * 5 + upper[1].toInt() - 1);
      QCOMPARE(c.Rigging.LowerHole, (lower[0].toInt() - 1) * 5 + lower[1].toInt() - 1);
      QCOMPARE(int(c.Rigging.Pair), e.value(QStringLiteral("pair")).toInt());
      QCOMPARE(c.Outcome.Evaluations, e.value(QStringLiteral("evaluations")).toInt());
      const QJsonArray force = e.value(QStringLiteral("force_N")).toArray();
      const double found[] = {double(c.Force.X), double(c.Force.Y), double(c.Force.Z)};
      for (int k = 0; k < 3; ++k)
        QVERIFY2(Near(found[k], force[k].toDouble(), 1e-12), qPrintable(QString::number(i)));
    }
    // The table shows the spreading of the best in kN with the panel's three decimals.
    const double spreading = expected[0].toObject().value(QStringLiteral("force_N")).toArray()[1].toDouble();
    QCOMPARE(advisor->Table->model()->index(0, 11).data().toString(), QString::number(spreading / 1000, 'f', 3));
  }

  // Apply sets the door and rigging and balances it; the read-outs are those of the
  // command line's balance of that rigging from the advised attitude.
  void applySetsTheRiggingAndBalances_data()
  {
    QTest::addColumn<bool>("family");
    QTest::addColumn<QString>("areaAfterRun");  // an area chosen in the window after the search
    QTest::newRow("the window's door, second best") << false << QString();
    QTest::newRow("every ballast, another ballast") << true << QString();
    QTest::newRow("the start-up door, after another area") << false << QStringLiteral("Area_076");
  }
  void applySetsTheRiggingAndBalances()
  {
    QFETCH(bool, family);
    QFETCH(QString, areaAfterRun);
    TSandbox sandbox;
    TFDoor door;
    TRiggingAdvisor* advisor = OpenAdvisor(door);
    advisor->AllBallast->setChecked(family);
    QVERIFY(RunToTheEnd(*advisor));
    if (!areaAfterRun.isEmpty())
      door.Commands().Execute(areaAfterRun);
    // Row 1, or the first row of a ballast the window does not have.
    int row = 1;
    while (family && advisor->CandidateAt(row) && advisor->CandidateAt(row)->Door.Ballast == 3)
      ++row;
    const TRiggingCandidate* chosen = advisor->CandidateAt(row);
    QVERIFY(chosen);
    const TRiggingCandidate advice = *chosen;
    if (family)
      QVERIFY(advice.Door.Ballast != 3);
    advisor->Table->selectRow(row);
    advisor->ApplyBtn->click();

    QCOMPARE(door.Model().UpperHoleIndex(), advice.Rigging.UpperHole);
    QCOMPARE(door.Model().LowerHoleIndex(), advice.Rigging.LowerHole);
    QCOMPARE(door.Model().Pair(), advice.Rigging.Pair);
    QCOMPARE(door.Model().TowHole(), advice.Rigging.Tow);
    QCOMPARE(door.Model().Variant().FBallastCount, advice.Door.Ballast);
    QCOMPARE(double(door.Model().DoorScale()), 5.0);  // the start-up door the search was made for
    QVERIFY(Command(door, qPrintable(QStringLiteral("Ballast%1").arg(advice.Door.Ballast)))->isChecked());

    const QJsonObject cli =
        BalanceToolJson(QStringList{QStringLiteral("balance"), QStringLiteral("--attitude"),
                                    Number(double(advice.Attitude.X / kDeg)) + "," + Number(double(advice.Attitude.Y / kDeg)) +
                                        "," + Number(double(advice.Attitude.Z / kDeg))} +
                        RiggingOptions(advice));
    const QJsonArray attitude = cli.value(QStringLiteral("attitude_deg")).toArray();
    const QJsonArray force = cli.value(QStringLiteral("force_N")).toArray();
    QVERIFY(!attitude.isEmpty());
    QVERIFY(Near(double(door.AngleX->Val()), attitude[0].toDouble(), 1e-9));
    QVERIFY(Near(double(door.AngleY->Val()), attitude[1].toDouble(), 1e-9));
    QVERIFY(Near(double(door.AngleZ->Val()), attitude[2].toDouble(), 1e-9));
    QVERIFY(Near(double(door.ResResistance->Val()), force[0].toDouble(), 1e-9));
    QVERIFY(Near(double(door.ResSpreading->Val()), force[1].toDouble(), 1e-9));
    QVERIFY(Near(double(door.ResVertical->Val()), force[2].toDouble(), 1e-9));
    QVERIFY(door.HealthLabel()->text().startsWith(QStringLiteral("Last balance: converged, stable; heel ")));
  }

  // Cancel ends the run at once and keeps what was found; while it runs the window
  // answers its events and commands.
  void cancelStopsAtOnceAndKeepsThePartialTable()
  {
    TSandbox sandbox;
    TFDoor door;
    TRiggingAdvisor* advisor = OpenAdvisor(door);
    for (QCheckBox* box : {advisor->AllAreas, advisor->AllBallast, advisor->AllBrackets})
      box->setChecked(true);
    SetDegrees(advisor->HeelMin, -30);
    SetDegrees(advisor->HeelMax, 30);
    SetDegrees(advisor->PitchMin, -30);
    SetDegrees(advisor->PitchMax, 30);
    int ticks = 0;
    QTimer timer;
    connect(&timer, &QTimer::timeout, [&ticks] { ++ticks; });
    timer.start(10);
    advisor->RunBtn->click();
    QVERIFY(advisor->Running());
    QTRY_VERIFY_WITH_TIMEOUT(advisor->Progress->value() > 0, 5000);
    QTest::qWait(300);
    QVERIFY(advisor->Running());
    QVERIFY2(ticks >= 10, qPrintable(QString::number(ticks)));
    door.AngleX->SetValue(12);
    Command(door, "ResetModel")->trigger();  // a command of the window, mid-search
    QCOMPARE(double(door.AngleX->Val()), 0.0);

    QElapsedTimer clock;
    clock.start();
    advisor->CancelBtn->click();
    const qint64 elapsed = clock.elapsed();
    QVERIFY(!advisor->Running());
    QVERIFY2(elapsed < 100, qPrintable(QStringLiteral("%1 ms").arg(elapsed)));
    const TRiggingSearchResult& r = advisor->Result();
    QVERIFY(r.Cancelled);
    QVERIFY(r.Balanced > 0 && r.Balanced < r.Total);
    QVERIFY(!r.Best.empty());
    QCOMPARE(advisor->Table->model()->rowCount(), int(r.Best.size()));
    QVERIFY(advisor->Summary->text().contains(QStringLiteral("cancelled")));
    QVERIFY(advisor->RunBtn->isEnabled());
  }

  // Closing the dialog or the window during a run, or deleting the dialog, stops the
  // search and waits for its workers.
  void closingDuringARunStopsIt_data()
  {
    QTest::addColumn<int>("how");
    QTest::newRow("dialog closed") << 0;
    QTest::newRow("window closed") << 1;
    QTest::newRow("dialog deleted") << 2;
  }
  void closingDuringARunStopsIt()
  {
    QFETCH(int, how);
    TSandbox sandbox;
    TFDoor door;
    QPointer<TRiggingAdvisor> advisor = OpenAdvisor(door);
    for (QCheckBox* box : {advisor->AllAreas, advisor->AllBallast, advisor->AllBrackets})
      box->setChecked(true);
    advisor->RunBtn->click();
    QTest::qWait(50);
    QVERIFY(advisor->Running());
    QElapsedTimer clock;
    clock.start();
    if (how == 0)
      advisor->close();
    else if (how == 1)
      door.close();
    else
      delete advisor.data();
    QVERIFY2(clock.elapsed() < 100, qPrintable(QStringLiteral("%1 ms").arg(clock.elapsed())));
    if (how < 2) {
      QVERIFY(!advisor->Running());
      QVERIFY(advisor->Result().Cancelled);
    }
    QTest::qWait(150);  // reports still on their way find nothing to do
  }

  // The windows, the ranking, the count and the family come back with the dialog.
  void windowsAndRankingAreKept()
  {
    TSandbox sandbox;
    {
      TFDoor door;
      TRiggingAdvisor* advisor = OpenAdvisor(door);
      SetDegrees(advisor->HeelMin, -3);
      SetDegrees(advisor->HeelMax, 4);
      SetDegrees(advisor->PitchMin, -2);
      SetDegrees(advisor->PitchMax, 6);
      advisor->RankBox->setCurrentIndex(1);
      advisor->TopBox->setValue(7);
      advisor->AllBallast->setChecked(true);
      advisor->close();
    }
    TFDoor door;
    TRiggingAdvisor* advisor = OpenAdvisor(door);
    QVERIFY(Near(double(advisor->HeelMin->Val()), -3 * kDeg, 1e-12));
    QVERIFY(Near(double(advisor->HeelMax->Val()), 4 * kDeg, 1e-12));
    QVERIFY(Near(double(advisor->PitchMin->Val()), -2 * kDeg, 1e-12));
    QVERIFY(Near(double(advisor->PitchMax->Val()), 6 * kDeg, 1e-12));
    QCOMPARE(advisor->RankBox->currentIndex(), 1);
    QCOMPARE(advisor->TopBox->value(), 7);
    QVERIFY(advisor->AllBallast->isChecked());
    QVERIFY(!advisor->AllAreas->isChecked());
    QVERIFY(FCapture->Messages().empty());
  }

  // Save as CSV writes what the command line's --csv writes for the same search; a file
  // that cannot be written is reported and nothing is left behind.
  void exportWritesTheTable()
  {
    TSandbox sandbox;
    TFDoor door;
    TRiggingAdvisor* advisor = OpenAdvisor(door);
    QVERIFY(RunToTheEnd(*advisor));
    const QString path = sandbox.Path(QStringLiteral("riggings.csv"));
    QVERIFY(advisor->SaveCsv(path));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), RunBalanceTool({QStringLiteral("advise"), QStringLiteral("--csv")}));
    QVERIFY(FCapture->Messages().empty());

    const QString lost = sandbox.Path(QStringLiteral("no-such-folder/riggings.csv"));
    QVERIFY(!advisor->SaveCsv(lost));
    QCOMPARE(int(FCapture->Messages().size()), 1);
    QVERIFY(FCapture->Messages()[0].Text.contains(lost));
    QVERIFY(!QFile::exists(lost));

    advisor->CopyBtn->click();
    const QStringList lines = QApplication::clipboard()->text().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 11);
    QVERIFY(lines[0].contains(QStringLiteral("Spreading, kN")));
  }

  // A bar file of a program without the advisor gets its button beside Animate, and keeps
  // what it says of the others; a file that knew the advisor keeps it as the file says.
  void barFilesOfOlderProgramsGetTheAdvisor()
  {
    TSandbox sandbox;
    TFDoor door;
    TCommandBars& bars = door.Bars();
    const QString bar = QStringLiteral("ActionToolBar1");
    const auto write = [&](const QString& name, const QStringList& commands, bool advisorVisible, bool listKnown) {
      const QString file = sandbox.Path(name);
      QSettings ini(file, QSettings::IniFormat);
      ini.setValue(QStringLiteral("Bars/Format"), 1);
      if (listKnown) {
        QStringList known;  // every command of this program
        for (const QAction* command : door.Commands().Commands())
          known << command->objectName();
        ini.setValue(QStringLiteral("Bars/Commands"), known);
      }
      ini.beginWriteArray(bar, int(commands.size()));
      for (int i = 0; i < int(commands.size()); ++i) {
        ini.setArrayIndex(i);
        ini.setValue(QStringLiteral("Command"), commands[i]);
        ini.setValue(QStringLiteral("Caption"), commands[i]);
        ini.setValue(QStringLiteral("Visible"), commands[i] != QLatin1String("ResetModel") &&
                                                    (advisorVisible || commands[i] != QLatin1String("RiggingAdvisor")));
      }
      ini.endArray();
      ini.sync();
      return file;
    };
    const auto commandsOf = [&] {
      QStringList names;
      for (const TCommandBars::TItem& item : bars.Items(bar))
        names << item.Command + (item.Visible ? QString() : QStringLiteral("(hidden)"));
      return names;
    };

    const QString old = write(QStringLiteral("Old.Ini"), {"BalanceAct", "Animate", "ResetModel"}, true, false);
    QCOMPARE(bars.LoadCustomization(old), TCommandBars::TLoadResult::Loaded);
    QCOMPARE(commandsOf(), (QStringList{"BalanceAct", "Animate", "RiggingAdvisor", "ResetModel(hidden)"}));

    const QString hidden =
        write(QStringLiteral("Hidden.Ini"), {"RiggingAdvisor", "BalanceAct", "Animate", "ResetModel"}, false, true);
    QCOMPARE(bars.LoadCustomization(hidden), TCommandBars::TLoadResult::Loaded);
    QCOMPARE(commandsOf(), (QStringList{"RiggingAdvisor(hidden)", "BalanceAct", "Animate", "ResetModel(hidden)"}));

    const QString without = write(QStringLiteral("Without.Ini"), {"BalanceAct", "Animate"}, true, true);
    QCOMPARE(bars.LoadCustomization(without), TCommandBars::TLoadResult::Loaded);
    QCOMPARE(commandsOf(), (QStringList{"BalanceAct", "Animate"}));

    // What this program writes names every command it has, the advisor among them.
    const QString saved = sandbox.Path(QStringLiteral("Saved.Ini"));
    QVERIFY(bars.SaveCustomization(saved));
    QVERIFY(QSettings(saved, QSettings::IniFormat)
                .value(QStringLiteral("Bars/Commands"))
                .toStringList()
                .contains(QStringLiteral("RiggingAdvisor")));
    QVERIFY(FCapture->Messages().empty());
  }

  // After every balance the status bar states the door's health in the words of the
  // command line; a passing message covers it and it comes back.
  void statusBarStatesTheHealth_data()
  {
    QTest::addColumn<double>("warpPlan");
    QTest::addColumn<double>("bridlePlan");
    QTest::addColumn<double>("solverFactor");
    QTest::addColumn<QStringList>("warnings");  // what the command line says of the same balance
    QTest::newRow("start-up door") << 0.0 << 0.0 << 10000.0 << QStringList{};
    QTest::newRow("stalled by the angles") << 40.0 << 60.0 << 10000.0 << QStringList{QStringLiteral("stalled")};
    QTest::newRow("too coarse a solver")
        << 0.0 << 0.0 << 5.0 << QStringList{QStringLiteral("not_converged"), QStringLiteral("falling_over")};
  }
  void statusBarStatesTheHealth()
  {
    QFETCH(double, warpPlan);
    QFETCH(double, bridlePlan);
    QFETCH(double, solverFactor);
    QFETCH(QStringList, warnings);
    TSandbox sandbox;
    TFDoor door;
    TDoorCollaborators collaborators;
    collaborators.ReadConditions = [=](TDoorInputs& in) {
      in.WarpAngleOnPlan = warpPlan * kDeg;
      in.BridleAngleOnPlan = bridlePlan * kDeg;
    };
    door.SetCollaborators(collaborators);
    door.show();
    door.Model().SetSolverFactor(solverFactor);
    QVERIFY(door.HealthLabel()->text().isEmpty());
    Command(door, "BalanceAct")->trigger();

    const QJsonObject cli =
        BalanceToolJson({QStringLiteral("balance"), QStringLiteral("--warp-plan"), Number(warpPlan),
                         QStringLiteral("--bridle-plan"), Number(bridlePlan), QStringLiteral("--solver-factor"),
                         Number(solverFactor)});
    QStringList said;
    for (const QJsonValue w : cli.value(QStringLiteral("warnings")).toArray())
      said << w.toString();
    QCOMPARE(said, warnings);
    const auto oneDecimal = [&](const char* key) { return QString::number(cli.value(QLatin1String(key)).toDouble(), 'f', 1); };
    const bool converged = cli.value(QStringLiteral("converged")).toBool();
    const QString heelPitch = QStringLiteral("heel %1 deg, pitch %2 deg").arg(oneDecimal("heel_deg"), oneDecimal("pitch_deg"));
    // A run that does not converge wanders for 10000 steps, and the last bits of the
    // arithmetic decide where it stops: only its words are compared, not its numbers.
    QStringList sentences{converged ? QStringLiteral("Last balance: converged, stable; %1.").arg(heelPitch)
                                    : QStringLiteral("Last balance: not converged; heel ")};
    if (warnings.contains(QStringLiteral("not_converged")))
      sentences << QStringLiteral(" The balance did not converge: the moments add up to ");
    if (warnings.contains(QStringLiteral("stalled")))
      sentences << QStringLiteral(" Wing stalled: attack angle %1 deg, beyond the lift peak at 47.5 deg.")
                       .arg(oneDecimal("attack_angle_deg"));
    if (warnings.contains(QStringLiteral("falling_over")))
      sentences << (converged ? QStringLiteral(" Door falling over: %1 (30 deg or more).").arg(heelPitch)
                              : QStringLiteral(" Door falling over: heel "));
    QLabel* health = door.HealthLabel();
    const QString shown = health->text();
    QVERIFY2(shown.startsWith(sentences[0]), qPrintable(shown));
    for (const QString& sentence : sentences)
      QVERIFY2(shown.contains(sentence), qPrintable(shown));
    if (warnings.isEmpty())
      QCOMPARE(shown, sentences[0]);

    door.statusBar()->showMessage(QStringLiteral("Show Plan"));
    QVERIFY(!health->isVisible());
    door.statusBar()->clearMessage();
    QVERIFY(health->isVisible());
    QCOMPARE(health->text(), shown);

    // A door turned or towed otherwise since is no longer the one the words describe;
    // an evaluation that changes nothing leaves them standing.
    Command(door, "ResetModel")->trigger();
    QCOMPARE(health->text(), QStringLiteral("Door changed since the last balance. ") + shown);
    Command(door, "BalanceAct")->trigger();
    QVERIFY(!health->text().startsWith(QStringLiteral("Door changed")));
    if (!converged)
      return;
    QCOMPARE(health->text(), shown);
    door.TrawlSpeed->SetValue(2.5);
    door.EvaluationCycle();
    QVERIFY(health->text().startsWith(QStringLiteral("Door changed since the last balance. Last balance: ")));
    door.TrawlSpeed->SetValue(2);
    door.EvaluationCycle();
    QCOMPARE(health->text(), shown);
  }

private:
  std::unique_ptr<TMessageCapture> FCapture;
};

QTEST_MAIN(TRiggingAdvisorTest)
#include "RiggingAdvisor_test.moc"
