// A pool of std::threads for the long runs (sweeps, rigging searches): each worker
// takes the next job until none is left or the run is cancelled, while the calling
// thread waits and reports progress. Workers share nothing but the job counter; each
// keeps its own door model.
#pragma once

#include <atomic>
#include <chrono>
#include <functional>

// How often the calling thread reports progress while the workers run.
inline constexpr std::chrono::milliseconds kProgressPeriod{100};

// The number of workers a run uses when asked for 0: every core, at least one.
int DefaultWorkerCount();

// Runs job(worker, index) once for every index in 0 .. jobCount - 1 on `workers`
// threads (worker is 0 .. workers - 1; each index goes to one worker, in rising order
// of start). Once *cancel is set no further job starts; jobs read it too, to stop
// early. tick() runs on the calling thread every kProgressPeriod and once at the end.
void RunPool(int jobCount, int workers, const std::function<void(int worker, int index)>& job,
             const std::atomic<bool>* cancel, const std::function<void()>& tick);
