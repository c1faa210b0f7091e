// The mouse arithmetic of the 3D view, against hand numbers for a viewer of 600 x 450
// pixels (centre 300, 225) unless a case says otherwise.
#include <gtest/gtest.h>

#include <cmath>

#include "mechanics/ViewMouse.h"

namespace {

constexpr Real kTol = 1e-15L;
constexpr Real kW = 600, kH = 450;

void ExpectUp(const TxyzSingle& got, float x, float y, float z)
{
  EXPECT_NEAR(got.X, x, 1e-6f);
  EXPECT_NEAR(got.Y, y, 1e-6f);
  EXPECT_NEAR(got.Z, z, 1e-6f);
}

TEST(ViewMouse, RotateZoneIsStrictlyWithin200PixelsOfTheRealCentre)
{
  struct Case {
    Real X, Y, W, H;
    bool Inside;
  };
  const Case cases[] = {
      {300, 225, kW, kH, true},
      {499, 225, kW, kH, true},
      {500, 225, kW, kH, false},        // exactly 200 out
      {420, 385, kW, kH, false},        // 120, 160: 200 again
      {420, 66, kW, kH, true},          // 120, 159: 199.2
      {500, 225, 601, kH, true},        // the centre of an odd width is 300.5: 199.5 out
      {100, 225, 601, kH, false},       // 200.5 out
      {300, 425, kW, 451, true},        // likewise for the height: 199.5 below 225.5
  };
  for (const Case& c : cases)
    EXPECT_EQ(InRotateZone(c.X, c.Y, c.W, c.H), c.Inside) << c.X << ", " << c.Y << " in " << c.W << " x " << c.H;
}

TEST(ViewMouse, PointerAngleCountsUpwardFromTheRight)
{
  struct Case {
    Real X, Y, Angle;
  };
  const Case cases[] = {
      {400, 225, 0}, {300, 125, kPi / 2}, {200, 225, kPi}, {300, 325, 3 * kPi / 2}, {400, 125, kPi / 4},
      {300, 225, 0},  // the centre itself
  };
  for (const Case& c : cases)
    EXPECT_NEAR(PointerAngle(c.X, c.Y, kW, kH), c.Angle, kTol) << c.X << ", " << c.Y;
}

// The pointer at 45 degrees up and right of the centre; a move to the same spot keeps
// the up vector of the station: (0, 0, 1) upright from side and front, (0, 1, 0) from plan.
TEST(ViewMouse, FirstRollMoveAtTheGrabSpotKeepsTheStationsUp)
{
  struct Case {
    const char* Station;
    int Kind;
    TxyzSingle Up;
    Real Grab;  // a + b (+ pi/2 but for plan)
  };
  const Case cases[] = {
      {"side", kViewSide, {0, 0, 1}, 0 + kPi / 4 + kPi / 2},
      {"front", kViewFront, {0, 0, 1}, 0 + kPi / 4 + kPi / 2},
      {"plan", kViewPlan, {0, 1, 0}, kPi / 2 + kPi / 4},
  };
  for (const Case& c : cases) {
    const Real grab = GrabAngle(c.Up, 400, 125, kW, kH, c.Kind);
    EXPECT_NEAR(grab, c.Grab, kTol) << c.Station;
    const TxyzSingle up = RolledUp(RollAngle(grab, 400, 125, kW, kH), c.Kind);
    ExpectUp(up, c.Up.X, c.Up.Y, c.Up.Z);
  }
}

TEST(ViewMouse, RollTurnsUpInThePlaneOfItsStation)
{
  const float c = 0.5f, s = static_cast<float>(std::sqrt(3.0L) / 2);
  ExpectUp(RolledUp(kPi / 3, kViewPlan), c, s, 0);
  ExpectUp(RolledUp(kPi / 3, kViewSide), c, 0, s);
  ExpectUp(RolledUp(kPi / 3, kViewFront), 0, -c, s);
  ExpectUp(RolledUp(0, kViewFront), 0, -1, 0);
  // A quarter turn of the pointer about the centre rolls the view a quarter turn back.
  const Real grab = GrabAngle({0, 0, 1}, 400, 225, kW, kH, kViewSide);  // pointer at 0
  ExpectUp(RolledUp(RollAngle(grab, 300, 125, kW, kH), kViewSide), 1, 0, 0);  // pointer at pi/2
}

TEST(ViewMouse, DragZoom)
{
  struct Case {
    Real Dy, Height, Ratio;
  };
  const Case cases[] = {
      {225, 450, 0.5L},  // up by half the height halves the distance
      {-45, 450, 1.1L},  // down moves away
      {0, 450, 1},
      {405, 450, 0.1L},
      {450, 450, kMinZoomRatio},  // the eye would sit on the target
      {900, 450, kMinZoomRatio},  // or pass through it
      {10, 0, 1},                 // a viewer of no height
  };
  for (const Case& c : cases)
    EXPECT_NEAR(DragDistanceRatio(c.Dy, c.Height), c.Ratio, kTol) << c.Dy << " of " << c.Height;
  EXPECT_EQ(DraggedFocalLength(10, 5), 15);
  EXPECT_EQ(DraggedFocalLength(100, -30), 70);
  EXPECT_EQ(DraggedFocalLength(10, -9), 1);
  EXPECT_EQ(DraggedFocalLength(10, -10), kMinFocalLength);  // 0 would blow the picture up
  EXPECT_EQ(DraggedFocalLength(10, -25), kMinFocalLength);  // below, it would be mirrored
}

TEST(ViewMouse, WheelNotchIsATenthStepAndBackUndoesIt)
{
  EXPECT_NEAR(WheelDistanceRatio(1), 0.9L, kTol);
  EXPECT_NEAR(WheelDistanceRatio(1), DragDistanceRatio(kH / 10, kH), kTol);
  EXPECT_NEAR(WheelDistanceRatio(-1), 1 / 0.9L, kTol);
  EXPECT_NEAR(WheelDistanceRatio(2), 0.81L, kTol);
  EXPECT_NEAR(WheelDistanceRatio(0.5L), std::sqrt(0.9L), kTol);
  EXPECT_NEAR(WheelFocalLength(10, 1), 10 / 0.9L, kTol);
  EXPECT_NEAR(WheelFocalLength(10, -1), 9, kTol);
  EXPECT_NEAR(WheelFocalLength(WheelFocalLength(100, 3), -3), 100, 1e-13L);
}

}  // namespace
