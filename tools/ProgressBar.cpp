// The progress bar: the estimate of the time left assumes the remaining items cost
// what the finished ones did on average.
#include "ProgressBar.h"

#include <cmath>
#include <cstdio>
#include <ostream>

namespace {
constexpr int kBarWidth = 30;
}

TProgressBar::TProgressBar(std::ostream& err, bool enabled, std::string what)
    : FErr(err), FEnabled(enabled), FWhat(std::move(what)), FStart(std::chrono::steady_clock::now())
{
}

std::string ClockText(double seconds)
{
  const long s = static_cast<long>(std::lround(std::fmax(seconds, 0)));
  char buffer[32];
  if (s >= 3600)
    std::snprintf(buffer, sizeof buffer, "%ld:%02ld:%02ld", s / 3600, s / 60 % 60, s % 60);
  else
    std::snprintf(buffer, sizeof buffer, "%ld:%02ld", s / 60, s % 60);
  return buffer;
}

void TProgressBar::Show(long done, long total)
{
  if (!FEnabled || total <= 0)
    return;
  const double share = static_cast<double>(done) / static_cast<double>(total);
  const int filled = static_cast<int>(share * kBarWidth);
  const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - FStart).count();
  std::string left = "--:--";
  if (done > 0)
    left = ClockText(elapsed * static_cast<double>(total - done) / static_cast<double>(done));
  char head[32];
  std::snprintf(head, sizeof head, "\r%3d%% [", static_cast<int>(share * 100));
  FErr << head << std::string(filled, '#') << std::string(kBarWidth - filled, '.') << "] " << done << "/" << total
       << " " << FWhat << ", " << left << " left \x1b[K" << std::flush;
  FShown = true;
}

void TProgressBar::Clear()
{
  if (FShown)
    FErr << "\r\x1b[K" << std::flush;
  FShown = false;
}
