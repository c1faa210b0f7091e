// The environment dialog: its edits, where they stand on the water drawing, and the
// values it keeps in the settings store.
#include "Envir.h"

#include <QPalette>
#include <QPushButton>

#include "controls/EditF.h"
#include "controls/InvText.h"
#include "controls/LabeledEditF.h"
#include "controls/LinkLabel.h"
#include "controls/ToolsRegistry.h"
#include "dialogs/SvgDrawing.h"
#include "mechanics/DoorModel.h"
#include "platform/Registry.h"

namespace {

const QString kWDensValue = QStringLiteral("WDens");
const QString kGDensValue = QStringLiteral("GDens");
const QString kGCoefValue = QStringLiteral("GCoef");

// Fractions of the panel at which the density edit's top-left corner stands.
constexpr double kWDensLeftFraction = 0.5;
constexpr double kWDensTopFraction = 0.6;

TDrawingDialogDef EnvironmentDef()
{
  TDrawingDialogDef def;
  def.Name = "Environment";
  def.Caption = QStringLiteral("Environment");
  def.Client = {492, 390};
  def.MinimumClient = {492, 373};
  def.Panel = {4, 4, 396, 380};
  def.OKBtn = {407, 4, 77, 27};
  def.CancelBtn = {407, 36, 77, 27};
  def.ButtonCorner = Qt::TopRightCorner;
  def.Drawing = ":/drawings/environment.svg";
  def.Icon = TWindowIconKind::Environment;
  def.SettingsPath = "\\Software\\Software\\Tamarek\\Ravlen";
  def.PlacementValue = "posEnvironment";
  return def;
}

// The numbers of one edit, internal units; the range includes both ends.
struct TEditNumbers {
  Real Value = 0;
  Real Min = 0;
  Real Max = 1;
  int Decimals = 3;
};

void SetNumbers(TEditF& edit, const TEditNumbers& n)
{
  {
    TEditFInit init(edit);
    edit.SetValMultiplier(1);
    edit.SetValMin(n.Min);
    edit.SetValMinIncl(true);
    edit.SetValMax(n.Max);
    edit.SetValMaxIncl(true);
    edit.SetValPrecision(n.Decimals);
    edit.SetValDefault(n.Value);
    edit.SetValCheck(true);
  }
  edit.SetValue(n.Value);
}

// A labelled edit of the water or the ground: dimensionless unit, caption on the left and
// unit caption on the right, both white and bold so that they read on the water.
TLabeledEditF* WaterEdit(QWidget* panel, const char* name, const QRect& bounds, const QString& caption,
                         const QString& unit, const TEditNumbers& numbers)
{
  auto* edit = new TLabeledEditF(panel);
  edit->setObjectName(QString::fromLatin1(name));
  edit->setGeometry(bounds);
  SetNumbers(*edit, numbers);
  for (TCaptionLabel* label : {static_cast<TCaptionLabel*>(edit->ValLabel()), static_cast<TCaptionLabel*>(edit->ValDimLabel())}) {
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(palette);
  }
  edit->ValLabel()->SetCaption(caption);
  edit->ValDimLabel()->SetCaption(unit);
  edit->SetValLabelPosition(TLabelPosition::lpLeft);
  edit->SetValDimPosition(TLabelPosition::lpRight);
  edit->PlaceLabel();
  edit->PlaceDimLabel();
  return edit;
}

TInvText* Marker(QWidget* panel, const char* name, const QRect& bounds)
{
  auto* marker = new TInvText(panel);
  marker->setObjectName(QString::fromLatin1(name));
  marker->setGeometry(bounds);
  return marker;
}

}  // namespace

TEnvironment::TEnvironment(QWidget* parent) : TDrawingDialog(EnvironmentDef(), parent)
{
  wposWDENS = Marker(Panel1, "wposWDENS", {226, 185, 64, 13});
  wposWVISC = Marker(Panel1, "wposWVISC", {203, 274, 54, 13});

  WDens = WaterEdit(Panel1, "WDens", {255, 125, 59, 21}, QStringLiteral("Water Density:"), QStringLiteral("kg/m^3"),
                    {1030, 800, 1100, 3});
  // The viscosity is held in m^2/s (1.63E-06 for sea water), and its label says so: in
  // stokes the same water reads 0.0163.
  WVisc = WaterEdit(Panel1, "WVisc", {154, 163, 59, 21}, QStringLiteral("Kinematic Viscosity:"),
                    QStringLiteral("m^2/s"), {1.63e-06L, 0, 1, 10});
  GDens = WaterEdit(Panel1, "GDens", {166, 248, 59, 21}, QStringLiteral("Ground Density:"), QStringLiteral("kg/m^3"),
                    {2000, 800, 22000, 3});
  GFric = WaterEdit(Panel1, "GFric", {242, 302, 59, 21}, QStringLiteral("Steel-Ground Friction Coefficient:"),
                    QStringLiteral("m"), {0.2L, 0, 1, 3});

  GCoef = new TEditF(Panel1);
  GCoef->setObjectName(QStringLiteral("GCoef"));
  GCoef->setGeometry(158, 327, 50, 21);
  SetNumbers(*GCoef, {0.35L, 0, 100, 5});
  LinkLabel3 = new TLinkLabel(Panel1);
  LinkLabel3->setObjectName(QStringLiteral("LinkLabel3"));
  LinkLabel3->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  LinkLabel3->SetCaption(QStringLiteral("Ground coefficient,\ncm^3/newton "));
  LinkLabel3->SetLinkMode(TLinkMode::lmLeft);
  LinkLabel3->SetLinkSpace(2);
  LinkLabel3->SetLinkTo(GCoef);

  for (QWidget* hidden : {static_cast<QWidget*>(GDens), static_cast<QWidget*>(GFric), static_cast<QWidget*>(GCoef),
                          static_cast<QWidget*>(LinkLabel3)})
    hidden->hide();
  for (QWidget* control : {static_cast<QWidget*>(wposWDENS), static_cast<QWidget*>(wposWVISC), static_cast<QWidget*>(WDens),
                           static_cast<QWidget*>(WVisc), static_cast<QWidget*>(GDens), static_cast<QWidget*>(GFric),
                           static_cast<QWidget*>(GCoef)})
    Spots().Keep(control);
  setTabOrder(WDens, WVisc);
  setTabOrder(WVisc, OKBtn);
  setTabOrder(OKBtn, CancelBtn);

  FormCreate();
}

int TEnvironment::Execute()
{
  Image2->show();
  // The edits take the spots of their markers, which become their spots from now on.
  WDens->show();
  WDens->move(wposWDENS->pos());
  Spots().Keep(WDens);
  WVisc->show();
  WVisc->move(wposWVISC->pos());
  Spots().Keep(WVisc);
  LinkLabel3->hide();
  GCoef->hide();
  GFric->hide();
  GDens->hide();
  FormResize();
  return TDrawingDialog::Execute();
}

void TEnvironment::ReadConditions(TDoorInputs& inputs) const { inputs.WaterDensity = WDens->Val(); }

void TEnvironment::FormResize()
{
  WDens->move(qRound(kWDensLeftFraction * Panel1->width()), qRound(kWDensTopFraction * Panel1->height()));
  GDens->move(WDens->x(), GDens->y());
  GCoef->move(WDens->x(), GCoef->y());
}

void TEnvironment::Pos1Read(TRegistry& registry)
{
  WDens->SetValue(RegReadRealDef(registry, kWDensValue, WDens->Val()));
  GDens->SetValue(RegReadRealDef(registry, kGDensValue, GDens->Val()));
  GCoef->SetValue(RegReadRealDef(registry, kGCoefValue, GCoef->Val()));
}

void TEnvironment::Pos1Write(TRegistry& registry)
{
  registry.WriteReal(kWDensValue, WDens->Val());
  registry.WriteReal(kGDensValue, GDens->Val());
  registry.WriteReal(kGCoefValue, GCoef->Val());
}
