// TEnvironment: the modal dialog "Environment" in which the user sets the water the door is
// towed in, its density and its kinematic viscosity, on a drawing of the situation. The
// door model takes the density from it at every evaluation; the balance link sets it.
// Three ground properties live on the dialog too, kept hidden.
#pragma once

#include "dialogs/DrawingDialog.h"

struct TDoorInputs;
class TEditF;
class TInvText;
class TLabeledEditF;
class TLinkLabel;

class TEnvironment : public TDrawingDialog {
  Q_OBJECT

public:
  // FormCreate: the controls, then the placement and the stored values (staying hidden).
  explicit TEnvironment(QWidget* parent = nullptr);

  // Shows the water on its own: density and viscosity over their spots, the ground
  // properties hidden; modal, Accepted for OK.
  int Execute() override;
  // Puts the water density, kg/m^3, into the model's inputs.
  void ReadConditions(TDoorInputs& inputs) const;

  TLabeledEditF* WDens;  // water density, kg/m^3, 800 .. 1100
  TLabeledEditF* WVisc;  // kinematic viscosity, 0 .. 1; read by nothing else
  TLabeledEditF* GDens;  // ground density, kg/m^3; hidden
  TLabeledEditF* GFric;  // steel-ground friction coefficient; hidden
  TEditF* GCoef;         // ground coefficient, cm^3/N; hidden
  TLinkLabel* LinkLabel3;  // caption of GCoef; hidden with it
  TInvText* wposWDENS;   // spot of the drawing for the density edit
  TInvText* wposWVISC;   // spot of the drawing for the viscosity edit

protected:
  // The density edit's top-left corner at half the panel's width and 0.6 of its height;
  // the ground edits line up with it.
  void FormResize() override;
  void Pos1Read(TRegistry& registry) override;
  void Pos1Write(TRegistry& registry) override;
};
