// Round trip of a synchronous balance request through the link between two processes,
// for a door that is already balanced: writing the inputs, the message port, the
// dispatch into the window's handler, one evaluation, the results and the reply. The
// server is a forked child that serves the link as the window does.
#include <benchmark/benchmark.h>

#include <QCoreApplication>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include "app/DoorConnect.h"

namespace {

const TBalanceInputs kInputs{3, 150000, 1025, 0.1L, -0.05L, 0.03L, 0.02L};

// The window reduced to what a request needs: the edits are the model's inputs.
class TBenchHost final : public TBalanceHost {
public:
  TDoorConnect* Connect = nullptr;

  TWindowHandle LinkWindowHandle() const override { return static_cast<TWindowHandle>(::getpid()); }
  TBalanceInputs LinkInputs() const override { return kInputs; }
  void SetLinkInputs(const TBalanceInputs& in) override
  {
    TDoorInputs& model = FModel.Inputs();
    model.TrawlSpeed = in.TrawlSpeed;
    model.TrawlResistance = in.TrawlResistance;
    model.WaterDensity = in.WaterDensity;
    model.WarpAngleOnPlan = in.WarpAngleOnPlan;
    model.WarpAngleOnSide = in.WarpAngleOnSide;
    model.BridleAngleOnPlan = in.BridleAngleOnPlan;
    model.BridleAngleOnSide = in.BridleAngleOnSide;
  }
  void BalanceActExecute() override
  {
    const TSolveResult run = SolveBalance(FModel, [](int) { QCoreApplication::processEvents(); });
    Connect->WriteResults(BalanceResultsOf(FModel, run));
  }

private:
  TDoorModel FModel;
};

// The child: serves the link until killed. Tells the parent through ready when it does.
[[noreturn]] void Serve(int ready)
{
  int argc = 1;
  char name[] = "link_bench_server";
  char* argv[] = {name, nullptr};
  QCoreApplication application(argc, argv);
  TBenchHost host;
  TDoorConnect connect(host, [](const QString& text) { std::fprintf(stderr, "%s\n", qPrintable(text)); });
  host.Connect = &connect;
  connect.SetUp();
  connect.Publish();
  const char state = connect.IsShared() ? 'y' : 'n';
  (void)::write(ready, &state, 1);
  ::close(ready);
  std::_Exit(QCoreApplication::exec());
}

struct TClient {
  TPosixSharedMemory Memory;
  TBalanceBlock* Block = nullptr;
  TSocketWindowMessages Messages;
  TWindowHandle Window = 0;
};
bool Request(TClient& client)
{
  SetInputs(*client.Block, kInputs);
  return client.Messages.SendMessage(client.Window, {BALANCE_LINK_SYNC_BALANCE_MSG, 0, 0}).has_value();
}

void BM_SyncRoundTrip(benchmark::State& state, TClient* client)
{
  for (auto _ : state) {
    if (!Request(*client)) {
      state.SkipWithError("the server did not answer");
      break;
    }
    benchmark::DoNotOptimize(ResultsOf(*client->Block));
  }
}

// The block alone: the client's input writes and result reads.
void BM_BlockInputsAndResults(benchmark::State& state)
{
  TBalanceBlock block{};
  for (auto _ : state) {
    SetInputs(block, kInputs);
    benchmark::DoNotOptimize(ResultsOf(block));
  }
}
BENCHMARK(BM_BlockInputsAndResults);

}  // namespace

int main(int argc, char** argv)
{
  const std::string name = "/ravlen-bench-" + std::to_string(::getpid());
  ::setenv("RAVLEN_LINK_BLOCK", name.c_str(), 1);
  int pipe[2];
  if (::pipe(pipe) != 0)
    return 1;
  const pid_t server = ::fork();
  if (server == 0) {
    ::close(pipe[0]);
    Serve(pipe[1]);
  }
  ::close(pipe[1]);
  char shared = 'n';
  const bool started = ::read(pipe[0], &shared, 1) == 1 && shared == 'y';
  ::close(pipe[0]);

  int status = 1;
  TClient client;
  if (started && client.Memory.Open(name) == TShmStatus::Ok &&
      (client.Block = reinterpret_cast<TBalanceBlock*>(client.Memory.Map(sizeof(TBalanceBlock))))) {
    client.Window = MainWindowOf(*client.Block);
    // The first request balances the door; from then on every request converges at once.
    if (Request(client) && Request(client)) {
      benchmark::RegisterBenchmark("BM_SyncRoundTrip", BM_SyncRoundTrip, &client)->Unit(benchmark::kMicrosecond);
      benchmark::Initialize(&argc, argv);
      benchmark::RunSpecifiedBenchmarks();
      benchmark::Shutdown();
      status = 0;
    }
  }
  if (status != 0)
    std::fprintf(stderr, "link_bench: the link server did not come up\n");
  ::kill(server, SIGTERM);
  ::waitpid(server, nullptr, 0);
  ::shm_unlink(name.c_str());
  ::unlink(MessagePortPath(static_cast<TWindowHandle>(server)).c_str());
  return status;
}
