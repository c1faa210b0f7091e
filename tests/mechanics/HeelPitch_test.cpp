// Heel and pitch on attitudes whose answer can be seen without arithmetic.
#include <gtest/gtest.h>

#include <cmath>

#include "mechanics/HeelPitch.h"

namespace {

TEST(HeelPitch, HandMadeAttitudes)
{
  struct Case {
    const char* Name;
    Txyz AttitudeDeg;
    Real HeelDeg, PitchDeg;
  };
  const Real yawedPitch = -std::asin(std::cos(30 * kDegToRad) * std::sin(20 * kDegToRad)) / kDegToRad;
  const Case cases[] = {
      {"upright", {0, 0, 0}, 0, 0},
      // About X, Y turns toward Z: the top of the span swings toward -Y, inward.
      {"turned about X", {10, 0, 0}, -10, 0},
      {"turned back about X", {-20, 0, 0}, 20, 0},
      // About Y the trailing edge (+X) rises toward +Z, so the leading edge goes down.
      {"turned about Y", {0, 15, 0}, 0, -15},
      // About Z the chord stays level and the span vertical.
      {"yawed", {0, 0, 40}, 0, 0},
      // Yawed a quarter turn the chord lies across the flow, so a turn about X both
      // heels the door inward and lowers the leading edge by the same angle.
      {"across the flow", {25, 0, 90}, -25, -25},
      // Yawed, then turned about Y: the span leans only downstream (no heel); the
      // leading edge goes down by asin(cos 30 sin 20).
      {"yawed and pitched", {0, 20, 30}, 0, yawedPitch},
  };
  for (const Case& c : cases) {
    const THeelPitch hp = HeelPitchOf(c.AttitudeDeg * kDegToRad);
    EXPECT_NEAR(hp.Heel / kDegToRad, c.HeelDeg, 1e-12L) << c.Name;
    EXPECT_NEAR(hp.Pitch / kDegToRad, c.PitchDeg, 1e-12L) << c.Name;
  }
  // Upside down, the span points straight down: a half turn of heel.
  EXPECT_NEAR(std::fabs(HeelPitchOf(Txyz{180, 0, 0} * kDegToRad).Heel), kPi, 1e-12L);
}

}  // namespace
