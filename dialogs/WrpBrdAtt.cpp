// The warp and bridle angle dialog: its edits, where they stand on the drawing, and the
// angles it keeps in the settings store.
#include "WrpBrdAtt.h"

#include <QPushButton>

#include "controls/EditF.h"
#include "controls/LabeledEditF.h"
#include "controls/LinkLabel.h"
#include "controls/ToolsRegistry.h"
#include "mechanics/DoorModel.h"
#include "platform/Registry.h"

namespace {

// The between-bridles edit: 5 degrees at first, up to just under 80 degrees.
constexpr Real kBridleSpreadDefault = 0.08726646259971647L;
constexpr Real kBridleSpreadMax = 1.396L;

const QString kBridleAngleBridleValue = QStringLiteral("BridleAngleBridle");

TDrawingDialogDef WrpBrdAttackDef()
{
  TDrawingDialogDef def;
  def.Name = "WrpBrdAttack";
  def.Caption = QStringLiteral("Attack Angles of Warp and Bridle ");
  def.Client = {450, 414};
  def.MinimumClient = {392, 323};
  def.Panel = {4, 4, 441, 368};
  def.OKBtn = {6, 380, 76, 27};
  def.CancelBtn = {86, 380, 76, 27};
  def.ButtonCorner = Qt::BottomLeftCorner;
  def.Drawing = ":/drawings/warp-bridle.svg";
  def.Icon = TWindowIconKind::WarpBridle;
  def.SettingsPath = "\\Software\\Tamarek\\Ravlen";
  def.PlacementValue = "posWarpBridleAttack";
  return def;
}

// A direction edit: radians shown in degrees, 0 at first, the open range of the bound.
TEditF* AngleEdit(QWidget* panel, const char* name, const QRect& bounds)
{
  auto* edit = new TEditF(panel);
  edit->setObjectName(QString::fromLatin1(name));
  edit->setGeometry(bounds);
  {
    TEditFInit init(*edit);
    edit->SetValMultiplier(kAngleEditMultiplier);
    edit->SetValMin(-kAngleEditBound);
    edit->SetValMinIncl(false);
    edit->SetValMax(kAngleEditBound);
    edit->SetValMaxIncl(false);
    edit->SetValPrecision(3);
    edit->SetValDefault(0);
    edit->SetValCheck(true);
  }
  edit->SetValue(0);
  return edit;
}

// The centred caption hung over a direction edit.
TLinkLabel* AngleCaption(QWidget* panel, const char* name, TEditF* edit, const QString& caption)
{
  auto* label = new TLinkLabel(panel);
  label->setObjectName(QString::fromLatin1(name));
  label->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
  label->SetCaption(caption);
  label->SetLinkMode(TLinkMode::lmTop);
  label->SetLinkSpace(2);
  label->SetLinkTo(edit);
  return label;
}

}  // namespace

TWrpBrdAttack::TWrpBrdAttack(QWidget* parent) : TDrawingDialog(WrpBrdAttackDef(), parent)
{
  WarpAngleOnPlan = AngleEdit(Panel1, "WarpAngleOnPlan", {39, 99, 69, 21});
  BridleAngleOnPlan = AngleEdit(Panel1, "BridleAngleOnPlan", {198, 113, 69, 21});
  WarpAngleOnSide = AngleEdit(Panel1, "WarpAngleOnSide", {21, 326, 69, 21});
  BridleAngleOnSide = AngleEdit(Panel1, "BridleAngleOnSide", {163, 308, 69, 21});
  // The OK button's tag tells that the user changed a direction since it was last cleared.
  for (TEditF* edit : {WarpAngleOnPlan, BridleAngleOnPlan, WarpAngleOnSide, BridleAngleOnSide})
    edit->SetValChangedTag(OKBtn);

  BridleAngleBridle = new TLabeledEditF(Panel1);
  BridleAngleBridle->setObjectName(QStringLiteral("BridleAngleBridle"));
  BridleAngleBridle->setGeometry(308, 332, 73, 21);
  BridleAngleBridle->SetValDimensionType(QStringLiteral("Angle"));
  BridleAngleBridle->SetValDimension(QStringLiteral("Degrees [deg]"));
  {
    TEditFInit init(*BridleAngleBridle);
    BridleAngleBridle->SetValMin(0);
    BridleAngleBridle->SetValMinIncl(true);
    BridleAngleBridle->SetValMax(kBridleSpreadMax);
    BridleAngleBridle->SetValMaxIncl(true);
    BridleAngleBridle->SetValPrecision(3);
    BridleAngleBridle->SetValDefault(kBridleSpreadDefault);
    BridleAngleBridle->SetValCheck(true);
  }
  BridleAngleBridle->SetValue(kBridleSpreadDefault);
  BridleAngleBridle->ValLabel()->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
  BridleAngleBridle->ValLabel()->SetCaption(QStringLiteral("BB - Angle \nbetween bridles"));
  BridleAngleBridle->SetValLabelPosition(TLabelPosition::lpAbove);
  BridleAngleBridle->SetValLabelSpacing(3);
  BridleAngleBridle->SetValDimPosition(TLabelPosition::lpRight);
  BridleAngleBridle->SetValDimSpacing(3);

  LinkLabel4 = AngleCaption(Panel1, "LinkLabel4", WarpAngleOnPlan,
                            QStringLiteral("Wh - Warp attack\nangle (horizontal\nprojection), deg"));
  LinkLabel3 = AngleCaption(Panel1, "LinkLabel3", BridleAngleOnPlan,
                            QStringLiteral("Bh - Bridle attack\nangle (horizontal\nprojection), deg"));
  LinkLabel1 = AngleCaption(Panel1, "LinkLabel1", WarpAngleOnSide,
                            QStringLiteral("Wv - Warp attack\nangle (vertical\nprojection), deg"));
  LinkLabel2 = AngleCaption(Panel1, "LinkLabel2", BridleAngleOnSide,
                            QStringLiteral("Bv - Bridle attack\nangle (vertical\nprojection), deg"));

  for (QWidget* edit : {static_cast<QWidget*>(WarpAngleOnPlan), static_cast<QWidget*>(BridleAngleOnPlan),
                        static_cast<QWidget*>(WarpAngleOnSide), static_cast<QWidget*>(BridleAngleOnSide),
                        static_cast<QWidget*>(BridleAngleBridle)})
    Spots().Keep(edit);
  setTabOrder(WarpAngleOnPlan, BridleAngleOnPlan);
  setTabOrder(BridleAngleOnPlan, WarpAngleOnSide);
  setTabOrder(WarpAngleOnSide, BridleAngleOnSide);
  setTabOrder(BridleAngleOnSide, BridleAngleBridle);
  setTabOrder(BridleAngleBridle, OKBtn);
  setTabOrder(OKBtn, CancelBtn);

  FormCreate();
}

void TWrpBrdAttack::ReadConditions(TDoorInputs& inputs) const
{
  inputs.BridleAngleOnSide = BridleAngleOnSide->Val();
  inputs.BridleAngleOnPlan = BridleAngleOnPlan->Val();
  inputs.BridleAngleBridle = BridleAngleBridle->Val();
  inputs.WarpAngleOnSide = WarpAngleOnSide->Val();
  inputs.WarpAngleOnPlan = WarpAngleOnPlan->Val();
}

void TWrpBrdAttack::Pos1Read(TRegistry& registry)
{
  for (TEditF* edit : {BridleAngleOnSide, BridleAngleOnPlan, WarpAngleOnSide, WarpAngleOnPlan})
    edit->SetValue(RegReadRealDef(registry, edit->objectName(), edit->Val()));
  BridleAngleBridle->LoadFromRegistry(registry, kBridleAngleBridleValue);
}

void TWrpBrdAttack::Pos1Write(TRegistry& registry)
{
  for (TEditF* edit : {BridleAngleOnSide, BridleAngleOnPlan, WarpAngleOnSide, WarpAngleOnPlan})
    registry.WriteReal(edit->objectName(), edit->Val());
  BridleAngleBridle->SaveToRegistry(registry, kBridleAngleBridleValue);
}
