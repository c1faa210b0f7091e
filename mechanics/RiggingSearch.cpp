// The rigging search. One job is one upper hole of one door (225 riggings); each worker
// keeps its own model, rebuilt only when its next job is another door, and its own
// short list of the best, trimmed as it grows, so that memory stays small over the
// whole family.
#include "RiggingSearch.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "WorkPool.h"

TRigging RiggingAt(int i)
{
  TRigging r;
  r.Tow = static_cast<TTowHole>(i % kTowHoles);
  i /= kTowHoles;
  r.Pair = static_cast<TBracketPair>(i % 3 + 1);
  i /= 3;
  r.LowerHole = i % kHoleCount;
  r.UpperHole = i / kHoleCount;
  return r;
}

std::vector<TDoorChoice> FamilyDoors(const TDoorChoice& door, bool allAreas, bool allBallast, bool allBrackets)
{
  std::vector<TDoorChoice> doors;
  std::vector<int> areas{door.AreaTag};
  if (allAreas)
    areas.assign(kAreaTags.begin(), kAreaTags.end());
  for (int area : areas)
    for (int ballast = 1; ballast <= kMaxBallast; ++ballast)
      for (TBracketSize bracket : {TBracketSize::Small, TBracketSize::Medium, TBracketSize::Large})
        if ((allBallast || ballast == door.Ballast) && (allBrackets || bracket == door.Bracket))
          doors.push_back({area, ballast, bracket});
  return doors;
}

namespace {

constexpr int kRiggingsPerJob = kRiggingsPerDoor / kHoleCount;

// Best first; equal scores in the order the riggings were numbered.
bool Better(const TRiggingCandidate& a, const TRiggingCandidate& b)
{
  if (a.Score != b.Score)  // exact: only equal keys fall through to the index
    return a.Score > b.Score;
  return a.Index < b.Index;
}

void Trim(std::vector<TRiggingCandidate>& list, int top)
{
  if (static_cast<int>(list.size()) <= top)
    return;
  std::nth_element(list.begin(), list.begin() + top, list.end(), Better);
  list.resize(top);
}

struct TWorker {
  std::unique_ptr<TDoorModel> Model;
  int Door = -1;
  std::vector<TRiggingCandidate> Best;
  long Converged = 0, Stable = 0, Kept = 0;
};

bool Inside(Real v, Real lo, Real hi) { return v >= lo && v <= hi; }

}  // namespace

TRiggingSearchResult SearchRiggings(const TRiggingSearchDef& def, const std::function<void(long, long)>& progress,
                                    const std::atomic<bool>* cancel)
{
  TRiggingSearchResult result;
  result.Total = static_cast<long>(def.Doors.size()) * kRiggingsPerDoor;
  const int jobs = static_cast<int>(def.Doors.size()) * kHoleCount;
  const int top = std::max(def.Top, 0);
  const int workerCount = std::min(def.Workers > 0 ? def.Workers : DefaultWorkerCount(), std::max(jobs, 1));
  std::vector<TWorker> workers(workerCount);
  std::atomic<long> balanced{0};

  RunPool(jobs, workerCount,
      [&](int w, int job) {
        TWorker& worker = workers[w];
        const int door = job / kHoleCount;
        if (!worker.Model)
          worker.Model = std::make_unique<TDoorModel>();
        TDoorModel& model = *worker.Model;
        if (worker.Door != door) {
          ApplyDoorChoice(model, def.Doors[door]);
          model.Inputs() = def.Inputs;
          model.SetSolverFactor(def.SolverFactor);
          worker.Door = door;
        }
        for (int k = 0; k < kRiggingsPerJob; ++k) {
          if (cancel && cancel->load())
            return;
          const int rigging = (job % kHoleCount) * kRiggingsPerJob + k;
          TRiggingCandidate c;
          c.Index = static_cast<long>(door) * kRiggingsPerDoor + rigging;
          c.Door = def.Doors[door];
          c.Rigging = RiggingAt(rigging);
          ApplyRigging(model, c.Rigging);
          model.SetAttitude(def.StartAttitude);
          c.Outcome = BalanceDoor(model, def.Method);
          balanced.fetch_add(1);
          const TBalanceOutcome& o = c.Outcome;
          if (!o.Converged)
            continue;
          ++worker.Converged;
          if (!o.Stability.Stable)
            continue;
          ++worker.Stable;
          if (o.Warnings.Has(TBalanceWarning::Stalled) || !Inside(o.HeelPitch.Heel, def.HeelMin, def.HeelMax) ||
              !Inside(o.HeelPitch.Pitch, def.PitchMin, def.PitchMax))
            continue;
          c.Attitude = model.Attitude();
          c.Force = model.Results().FForce;
          c.Score = def.Rank == TRiggingRank::Spreading ? c.Force.Y : Efficiency(c.Force);
          if (!std::isfinite(c.Score))
            continue;
          ++worker.Kept;
          worker.Best.push_back(c);
          if (static_cast<int>(worker.Best.size()) >= 2 * top + 64)
            Trim(worker.Best, top);
        }
      },
      cancel, [&] {
        if (progress)
          progress(balanced.load(), result.Total);
      });

  for (TWorker& worker : workers) {
    result.Converged += worker.Converged;
    result.Stable += worker.Stable;
    result.Kept += worker.Kept;
    result.Best.insert(result.Best.end(), worker.Best.begin(), worker.Best.end());
  }
  Trim(result.Best, top);
  std::sort(result.Best.begin(), result.Best.end(), Better);
  result.Balanced = balanced.load();
  result.Cancelled = result.Balanced < result.Total;
  return result;
}
