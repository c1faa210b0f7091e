// The progress bar of the long runs on stderr: share done, a bar, the count and an
// estimate of the time left, redrawn in place. Drawn only when stderr is a terminal,
// so that logs and pipes get nothing but the results and the errors.
#pragma once

#include <chrono>
#include <iosfwd>
#include <string>

class TProgressBar {
public:
  // what names the items ("riggings", "cases"); nothing is drawn unless enabled.
  TProgressBar(std::ostream& err, bool enabled, std::string what);
  // Redraws the bar for done of total.
  void Show(long done, long total);
  // Wipes the bar, leaving the cursor at the start of an empty line.
  void Clear();

private:
  std::ostream& FErr;
  bool FEnabled;
  bool FShown = false;
  std::string FWhat;
  std::chrono::steady_clock::time_point FStart;
};

// "m:ss" (or "h:mm:ss") for a number of seconds.
std::string ClockText(double seconds);
