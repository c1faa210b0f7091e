// TWrpBrdAttack: the modal dialog "Attack Angles of Warp and Bridle " in which the user sets
// the directions of the warp and of the bridles against the towing direction, seen from the
// side and from above, and the angle between the upper and the lower bridle, on a drawing
// of both views. The door model takes the five angles from it at every evaluation; the
// balance link sets the four directions.
#pragma once

#include "dialogs/DrawingDialog.h"
#include "mechanics/InputDefs.h"

struct TDoorInputs;
class TEditF;
class TLabeledEditF;
class TLinkLabel;

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
