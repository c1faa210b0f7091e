// Heel and pitch from the attitude: the span axis and the chord turned into the flow
// frame by the same rotation as every door point.
#include "HeelPitch.h"

#include <cmath>

#include "DoorData.h"

THeelPitch HeelPitchOf(const Txyz& attitude)
{
  const TRotation rotation(attitude);
  const Txyz span = rotation.Rotate(SpanAxis);
  // The leading edge is toward door-frame -X: the bracket end, upstream at zero attitude.
  const Txyz lead = rotation.Rotate(Txyz{-1, 0, 0});
  return {std::atan2(span.Y, span.Z), std::atan2(lead.Z, std::hypot(lead.X, lead.Y))};
}
