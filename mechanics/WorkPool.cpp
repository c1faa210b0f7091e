// The worker pool: an atomic job counter, one std::thread per worker, and a condition
// variable the calling thread waits on between progress reports.
#include "WorkPool.h"

#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

int DefaultWorkerCount()
{
  const unsigned n = std::thread::hardware_concurrency();
  return n == 0 ? 1 : static_cast<int>(n);
}

void RunPool(int jobCount, int workers, const std::function<void(int, int)>& job, const std::atomic<bool>* cancel,
             const std::function<void()>& tick)
{
  if (workers < 1)
    workers = 1;
  std::atomic<int> next{0};
  std::mutex mutex;
  std::condition_variable finished;
  int running = workers;

  std::vector<std::thread> threads;
  threads.reserve(workers);
  for (int w = 0; w < workers; ++w) {
    threads.emplace_back([&, w] {
      for (;;) {
        if (cancel && cancel->load())
          break;
        const int index = next.fetch_add(1);
        if (index >= jobCount)
          break;
        job(w, index);
      }
      const std::lock_guard lock(mutex);
      if (--running == 0)
        finished.notify_all();
    });
  }
  {
    std::unique_lock lock(mutex);
    while (!finished.wait_for(lock, kProgressPeriod, [&] { return running == 0; })) {
      lock.unlock();
      if (tick)
        tick();
      lock.lock();
    }
  }
  for (std::thread& t : threads)
    t.join();
  if (tick)
    tick();
}
