// The sweep: runs of consecutive cases along the last axis, handed to the worker pool.
#include "DoorSweep.h"

#include <algorithm>
#include <memory>

#include "WorkPool.h"

long SweepCaseCount(const TSweepDef& def)
{
  long n = def.Axes.empty() ? 0 : 1;
  for (const TSweepAxis& axis : def.Axes)
    n *= static_cast<long>(axis.Values.size());
  return n;
}

std::vector<int> SweepCaseIndices(const TSweepDef& def, long i)
{
  std::vector<int> idx(def.Axes.size());
  for (int k = static_cast<int>(def.Axes.size()) - 1; k >= 0; --k) {
    const long n = static_cast<long>(def.Axes[k].Values.size());
    idx[k] = static_cast<int>(i % n);
    i /= n;
  }
  return idx;
}

TSweepResult RunSweep(const TSweepDef& def, const std::function<void(long, long)>& progress,
                      const std::atomic<bool>* cancel)
{
  TSweepResult result;
  const long total = SweepCaseCount(def);
  result.Cases.resize(total);
  if (total == 0)
    return result;
  const long line = static_cast<long>(def.Axes.back().Values.size());
  const long runsPerLine = (line + kSweepRun - 1) / kSweepRun;
  const long runs = (total / line) * runsPerLine;

  const int workers = static_cast<int>(std::min<long>(def.Workers > 0 ? def.Workers : DefaultWorkerCount(), runs));
  std::vector<std::unique_ptr<TDoorModel>> models(workers);
  std::vector<Txyz> starts(workers);
  std::atomic<long> done{0};

  RunPool(static_cast<int>(runs), workers,
      [&](int w, int run) {
        if (!models[w]) {
          models[w] = std::make_unique<TDoorModel>();
          def.SetUp(*models[w]);
          starts[w] = models[w]->Attitude();
        }
        TDoorModel& model = *models[w];
        const long first = (run / runsPerLine) * line + (run % runsPerLine) * kSweepRun;
        const long last = std::min(first + kSweepRun, (run / runsPerLine + 1) * line);
        Txyz from = starts[w];
        for (long i = first; i < last; ++i) {
          if (cancel && cancel->load())
            return;
          const std::vector<int> idx = SweepCaseIndices(def, i);
          for (std::size_t k = 0; k < def.Axes.size(); ++k)
            model.Inputs().*(def.Axes[k].Field) = def.Axes[k].Values[idx[k]];
          model.SetAttitude(from);
          TSweepCase& c = result.Cases[i];
          c.Outcome = BalanceDoor(model, def.Method);
          c.Attitude = model.Attitude();
          c.Force = model.Results().FForce;
          c.Done = true;
          if (c.Outcome.Converged)
            from = c.Attitude;
          done.fetch_add(1);
        }
      },
      cancel, [&] {
        if (progress)
          progress(done.load(), total);
      });
  result.Done = done.load();
  result.Cancelled = result.Done < total;
  return result;
}
