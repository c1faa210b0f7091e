// TWrpBrdAttack: the modal dialog "Attack Angles of Warp and Bridle " in which the user sets
// the directions of the warp and of the bridles against the towing direction, seen from the
// side and from above, and the angle between the upper and the lower bridle, on a drawing
// of both views. The door model takes the five angles from it at every evaluation; the
// balance link sets the four directions.
#pragma once

#include "coefficients/Real.h"
#include "dialogs/DrawingDialog.h"

struct TDoorInputs;
class TEditF;
class TLabeledEditF;
class TLinkLabel;

// Display multiplier of the four direction edits: they hold radians and show degrees.
inline constexpr Real kAngleEditMultiplier = 0.017453292519943295L;
// The four direction edits accept magnitudes below this many degrees only: at 90 degrees
// the bridle pull along the flow has no finite lateral part, and an entry that shows as
// 90.000 at three decimals is that angle.
inline constexpr Real kAngleEditLimitDegrees = 89.9995L;
// Their open range, radians: ]-kAngleEditBound .. kAngleEditBound[.
inline constexpr Real kAngleEditBound = kAngleEditLimitDegrees * kAngleEditMultiplier;

class TWrpBrdAttack : public TDrawingDialog {
  Q_OBJECT

public:
  // FormCreate: the controls, then the placement and the stored angles (staying hidden).
  explicit TWrpBrdAttack(QWidget* parent = nullptr);

  // Puts the five angles, radians, into the model's inputs.
  void ReadConditions(TDoorInputs& inputs) const;

  TEditF* WarpAngleOnPlan;     // Wh: warp attack angle, horizontal projection, rad
  TEditF* BridleAngleOnPlan;   // Bh: bridle attack angle, horizontal projection, rad
  TEditF* WarpAngleOnSide;     // Wv: warp attack angle, vertical projection, rad
  TEditF* BridleAngleOnSide;   // Bv: bridle attack angle, vertical projection, rad
  TLabeledEditF* BridleAngleBridle;  // BB: angle between the upper and lower bridle, rad
  TLinkLabel* LinkLabel1;  // caption over WarpAngleOnSide
  TLinkLabel* LinkLabel2;  // caption over BridleAngleOnSide
  TLinkLabel* LinkLabel3;  // caption over BridleAngleOnPlan
  TLinkLabel* LinkLabel4;  // caption over WarpAngleOnPlan

protected:
  void Pos1Read(TRegistry& registry) override;
  void Pos1Write(TRegistry& registry) override;
};
