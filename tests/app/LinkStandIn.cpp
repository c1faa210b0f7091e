// Serves the balance link the way the main window does, without the window: the seven
// input edits (the real numeric edits, set up as the window's are), the real door
// model and its solver, the link set up, published, served and torn down. Tells the tests
// what a user would see, one line at a time on stdout (every message box, CR shown as
// "|"); closes its "window" when stdin ends.
//
//   link_standin [--solver-factor F] [--hold-first-run]
//
// --hold-first-run keeps the first balance run at its first event pump until a request
// served inside it has ended, so a test can make a request arrive during a run.
#include <QApplication>
#include <QDeadlineTimer>
#include <QSocketNotifier>
#include <QThread>

#include <array>
#include <cstdio>
#include <string>

#include <unistd.h>

#include "app/DoorConnect.h"
#include "controls/EditF.h"
#include "dialogs/InputEdit.h"
#include "platform/MessageBox.h"

namespace {

// The longest a held run waits for a request to be served inside it, ms.
constexpr int kHoldLimitMs = 20000;
// How often a held run looks for that request, ms.
constexpr int kHoldPollMs = 2;

void Say(const std::string& line)
{
  std::fputs((line + "\n").c_str(), stdout);
  std::fflush(stdout);
}

std::string Number(Real value)
{
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.17Lg", value);
  return buffer;
}

// Every box is printed instead of shown.
class TPrintedBoxes final : public TMessageCapture {
public:
  TMessageAnswer Show(TMessageKind kind, const QString& text, TMessageButtons buttons) override
  {
    Say("message: " + QString(text).replace(QChar('\r'), QChar('|')).toStdString());
    return TMessageCapture::Show(kind, text, buttons);
  }
};

// The seven edits the link reads and sets, in the order of the block.
constexpr std::array<TInput, 7> kEdits = {TInput::TrawlSpeed,        TInput::TrawlResistance,  TInput::WaterDensity,
                                          TInput::WarpAngleOnPlan,   TInput::WarpAngleOnSide,  TInput::BridleAngleOnPlan,
                                          TInput::BridleAngleOnSide};

class TStandInHost final : public TBalanceHost {
public:
  explicit TStandInHost(bool holdFirstRun) : FHoldFirstRun(holdFirstRun)
  {
    FPanel.setObjectName("StandInPanel");
    for (std::size_t i = 0; i < kEdits.size(); ++i) {
      FEdits[i] = new TEditF(&FPanel);
      SetUpInputEdit(*FEdits[i], kEdits[i]);
    }
    FModel.SetInputSource([this](TDoorInputs& in) {
      in.TrawlSpeed = FEdits[0]->Val();
      in.TrawlResistance = FEdits[1]->Val();
      in.WaterDensity = FEdits[2]->Val();
      in.WarpAngleOnPlan = FEdits[3]->Val();
      in.WarpAngleOnSide = FEdits[4]->Val();
      in.BridleAngleOnPlan = FEdits[5]->Val();
      in.BridleAngleOnSide = FEdits[6]->Val();
    });
  }

  void SetConnect(TDoorConnect* connect) { FConnect = connect; }
  TDoorModel& Model() { return FModel; }

  TWindowHandle LinkWindowHandle() const override { return static_cast<TWindowHandle>(::getpid()); }

  TBalanceInputs LinkInputs() const override
  {
    return {FEdits[0]->Val(), FEdits[1]->Val(), FEdits[2]->Val(), FEdits[3]->Val(),
            FEdits[4]->Val(), FEdits[5]->Val(), FEdits[6]->Val()};
  }

  void SetLinkInputs(const TBalanceInputs& in) override
  {
    const Real values[] = {in.TrawlSpeed,      in.TrawlResistance, in.WaterDensity,     in.WarpAngleOnPlan,
                           in.WarpAngleOnSide, in.BridleAngleOnPlan, in.BridleAngleOnSide};
    for (std::size_t i = 0; i < FEdits.size(); ++i)
      FEdits[i]->SetValue(values[i]);
  }

  void BalanceActExecute() override
  {
    const int depth = ++FDepth;
    const bool hold = ++FRuns == 1 && FHoldFirstRun;
    Say("run begin " + std::to_string(depth));
    bool held = false;
    const TSolveResult run = SolveBalance(FModel, [&](int) {
      if (hold && !held) {
        held = true;
        const QDeadlineTimer limit(kHoldLimitMs);
        while (!FNestedEnded && !limit.hasExpired()) {
          QCoreApplication::processEvents();
          QThread::msleep(kHoldPollMs);
        }
      }
      QCoreApplication::processEvents();
    });
    FConnect->WriteResults(BalanceResultsOf(FModel, run));
    FModel.EvaluateDoor(FModel.Attitude());
    const Txyz a = DivXyz(FModel.Attitude(), kDegToRad);
    Say("attitude " + Number(a.X) + " " + Number(a.Y) + " " + Number(a.Z));
    Say("run end " + std::to_string(depth) + " " + std::to_string(run.Iterations));
    if (depth > 1)
      FNestedEnded = true;
    --FDepth;
  }

private:
  TDoorModel FModel;
  QWidget FPanel;
  std::array<TEditF*, 7> FEdits{};
  TDoorConnect* FConnect = nullptr;
  bool FHoldFirstRun;
  int FDepth = 0;
  int FRuns = 0;
  bool FNestedEnded = false;
};

}  // namespace

int main(int argc, char** argv)
{
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  TPrintedBoxes boxes;
  bool hold = false;
  Real solverFactor = 10000;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--hold-first-run") {
      hold = true;
    } else if (arg == "--solver-factor" && i + 1 < argc) {
      solverFactor = std::strtold(argv[++i], nullptr);
    } else {
      std::fprintf(stderr, "link_standin: unexpected argument '%s'\n", argv[i]);
      return 2;
    }
  }

  TStandInHost host(hold);
  host.Model().SetSolverFactor(solverFactor);
  TDoorConnect connect(host);
  host.SetConnect(&connect);
  connect.SetUp();
  connect.Publish();
  Say(std::string("ready ") + (connect.IsShared() ? "shared " : "private ") + std::to_string(host.LinkWindowHandle()));

  // The "window" closes when the test closes our stdin.
  QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
  QObject::connect(&input, &QSocketNotifier::activated, [&] {
    char buffer[256];
    if (::read(STDIN_FILENO, buffer, sizeof buffer) <= 0) {
      input.setEnabled(false);
      connect.TearDown();
      Say("closed");
      QCoreApplication::quit();
    }
  });
  return QCoreApplication::exec();
}
