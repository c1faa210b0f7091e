// The real type of the door model and the one assertion macro of the core.
// Every quantity of the model is computed in x87 extended precision; anything that
// leaves the process is encoded explicitly elsewhere.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <numbers>

using Real = long double;

inline constexpr Real kPi = std::numbers::pi_v<Real>;
inline constexpr Real kHalfPi = kPi / 2;
inline constexpr Real kTwoPi = kPi * 2;
// Degrees to radians, in extended precision (0.017453292519943295...).
inline constexpr Real kDegToRad = kPi / 180;

// Always on, also in release builds: only for cheap checks of the caller's duty.
// The message says what the caller probably did wrong.
#define RAVLEN_ASSERT(cond, message)                                                       \
  do {                                                                                     \
    if (!(cond)) {                                                                         \
      std::fprintf(stderr, "%s:%d: assertion '%s' failed: %s\n", __FILE__, __LINE__, #cond, \
                   message);                                                               \
      std::abort();                                                                        \
    }                                                                                      \
  } while (false)
