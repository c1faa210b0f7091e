// Heel and pitch of the door, as the people at sea name them, from its attitude.
//   heel:  the angle of the span axis from the vertical in the plane across the flow
//          (flow-frame Y-Z), positive when the top leans toward the spreading side (+Y);
//   pitch: the angle of the chord from the horizontal, positive when the leading edge
//          (door-frame -X, toward the bracket) is up.
#pragma once

#include "Tools.h"

struct THeelPitch {
  Real Heel = 0;   // radians, (-pi, pi]
  Real Pitch = 0;  // radians, [-pi/2, pi/2]
};

THeelPitch HeelPitchOf(const Txyz& attitude);
