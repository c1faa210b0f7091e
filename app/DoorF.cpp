// The main window: creation, the input panel, showing and closing.
#include "DoorF.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QToolButton>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QVBoxLayout>

#include "CommandBars.h"
#include "CommandTable.h"
#include "SpinButton.h"
#include "assets/Assets.h"
#include "controls/EditF.h"
#include "controls/Pos.h"
#include "dialogs/RiggingAdvisor.h"
#include "dialogs/InputEdit.h"
#include "view/NullDoorView.h"

namespace {

constexpr int kPanelWidth = 122;
// The window was laid out for an 11-pixel sans-serif font, its menu bar too; at that size
// the panel fits beside the view of a window of the designed bounds.
constexpr int kWindowFontPixels = 11;
// The client area of the window's designed bounds, 851 by 592 with the frame of a
// desktop of 4-pixel borders and a 19-pixel caption.
constexpr QSize kDesignedClient(843, 565);

struct TEditDef {
  const char* Name;
  Real Val;
  Real Min, Max;
  bool Check;
  int Precision;
  Real Multiplier;
};

TEditF* MakeEdit(QWidget* parent, const TEditDef& spec, bool readOnly = false)
{
  auto* edit = new TEditF(parent);
  edit->setObjectName(QString::fromLatin1(spec.Name));
  edit->BeginInit();
  edit->SetVal(spec.Val);
  edit->SetValDefault(spec.Val);
  edit->SetValMin(spec.Min);
  edit->SetValMax(spec.Max);
  edit->SetValCheck(spec.Check);
  edit->SetValPrecision(spec.Precision);
  edit->SetValMultiplier(spec.Multiplier);
  edit->EndInit();
  edit->setFixedHeight(21);
  if (readOnly) {
    // A click gives a read-out the focus, so that its number can be selected and copied;
    // the Tab key passes it by.
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::ClickFocus);
  }
  return edit;
}

// An edit of a balance input, with the input's numbers.
TEditF* MakeInputEdit(QWidget* parent, TInput input)
{
  auto* edit = new TEditF(parent);
  SetUpInputEdit(*edit, input);
  edit->setFixedHeight(21);
  return edit;
}

// Read-outs and the attack angle wear the info-tip colour.
void PaintAsReadout(TEditF* edit)
{
  QPalette palette = edit->palette();
  palette.setColor(QPalette::Base, palette.color(QPalette::ToolTipBase));
  palette.setColor(QPalette::Text, palette.color(QPalette::ToolTipText));
  edit->setPalette(palette);
}

QLabel* Caption(const QString& text, QWidget* parent)
{
  auto* label = new QLabel(text, parent);
  label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  return label;
}

}  // namespace

const char* TFDoor::SettingsKey() { return "\\Software\\Tamarek\\Ravlen"; }

TFDoor::TFDoor(QWidget* parent) : QMainWindow(parent)
{
  setObjectName(QStringLiteral("FDoor"));
  setWindowTitle(QStringLiteral("Otterboard \"ORVENA\"."));
  setWindowIcon(WindowIcon(TWindowIconKind::Program));
  QFont windowFont = font();
  windowFont.setPixelSize(kWindowFontPixels);
  setFont(windowFont);
  move(125, 42);

  CreatePanel();
  CreateCommands();

  FView = std::make_shared<TNullDoorView>();
  GLSceneViewer1 = FView->Widget();
  auto* central = new QWidget(this);
  FViewLayout = new QHBoxLayout(central);
  FViewLayout->setContentsMargins(0, 0, 0, 0);
  FViewLayout->setSpacing(0);
  FViewLayout->addWidget(GLSceneViewer1, 1);
  FViewLayout->addWidget(PanelArea());
  setCentralWidget(central);
  WatchViewMouse();
  // The status bar comes below the panel and the view; the window grows by its height so
  // that they keep the designed sizes. It names the marker under the pointer, too.
  statusBar()->setObjectName(QStringLiteral("StatusBar1"));
  resize(kDesignedClient + QSize(0, statusBar()->sizeHint().height()));
  // The health of the last balance: a normal item, so that a passing message covers it
  // and it comes back when the message goes.
  FHealthLabel = new QLabel(statusBar());
  FHealthLabel->setObjectName(QStringLiteral("FHealthLabel"));
  FHealthLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
  statusBar()->addWidget(FHealthLabel, 1);

  Pos1 = new TPos(this);
  Pos1->setObjectName(QStringLiteral("Pos1"));
  Pos1->SetPath(QString::fromLatin1(SettingsKey()));
  Pos1->SetValue(QStringLiteral("posDoor"));
  Pos1->SetInitState(TShowCmd::swSaved);
  Pos1->SetOnRead([this](TRegistry& registry) { Pos1Read(registry); });
  Pos1->SetOnWrite([this](TRegistry& registry) { Pos1Write(registry); });

  FModel.SetInputSource([this](TDoorInputs& in) { ReadInputs(in); });
  FModel.SetAttackObserver([this](Real attackW) {
    // While the door is animated the graph follows every evaluation.
    if (Command(TDoorCommand::Animate)->isChecked() && FCollaborators.GraphVisible &&
        FCollaborators.GraphVisible() && FCollaborators.RedrawGraph)
      FCollaborators.RedrawGraph(attackW);
  });

  FDoorConnect = std::make_unique<TDoorConnect>(static_cast<TBalanceHost&>(*this));
  FDoorConnect->SetUp();

  ChooseCustomizationPath();
  ReadCustomization();
  TCommandTable::SetChecked(Command(TDoorCommand::Ballast3), true);
  TCommandTable::SetChecked(Command(TDoorCommand::Area_104), true);
}

TFDoor::~TFDoor() = default;

void TFDoor::ReadInputs(TDoorInputs& in) const
{
  in = FConditions;
  in.TrawlResistance = TrawlResistance->Val();
  in.TrawlSpeed = TrawlSpeed->Val();
  if (FCollaborators.ReadConditions)
    FCollaborators.ReadConditions(in);
}

void TFDoor::SetCollaborators(TDoorCollaborators collaborators)
{
  FCollaborators = std::move(collaborators);
  if (FCollaborators.View && FCollaborators.View != FView) {
    // The new view takes the old one's place beside the panel.
    QWidget* widget = FCollaborators.View->Widget();
    delete FViewLayout->replaceWidget(GLSceneViewer1, widget);
    FViewLayout->setStretchFactor(widget, 1);
    FView = FCollaborators.View;  // the old view goes, and its widget with it
    GLSceneViewer1 = widget;
    WatchViewMouse();
  }
}

void TFDoor::CreatePanel()
{
  Panel1 = new QWidget(this);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  Panel1->setFixedWidth(kPanelWidth);
  auto* panel = new QVBoxLayout(Panel1);
  panel->setContentsMargins(3, 1, 3, 1);
  panel->setSpacing(1);

  const auto group = [this, panel](const char* name, const QString& caption) {
    auto* box = new QGroupBox(caption, Panel1);
    box->setObjectName(QString::fromLatin1(name));
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(4, 1, 4, 2);
    grid->setHorizontalSpacing(2);
    grid->setVerticalSpacing(1);
    grid->setColumnStretch(1, 1);
    panel->addWidget(box);
    return std::pair{box, grid};
  };
  // A labelled row: a short label beside the edit, a long one right above it.
  const auto row = [](QGridLayout* grid, QWidget* box, const QString& label, TEditF* edit, TSpinButton* spin) {
    const int r = grid->rowCount();
    if (label.size() <= 2) {
      grid->addWidget(Caption(label, box), r, 0);
      grid->addWidget(edit, r, 1);
    } else {
      auto* above = new QVBoxLayout;
      above->setSpacing(0);
      above->addWidget(Caption(label, box));
      above->addWidget(edit);
      grid->addLayout(above, r, 0, 1, 2);
    }
    if (spin)
      grid->addWidget(spin, r, 2, Qt::AlignBottom);
  };
  const auto spinFor = [this](TEditF* edit, const char* name, Real up, Real down) {
    auto* spin = new TSpinButton(edit->parentWidget());
    spin->setObjectName(QString::fromLatin1(name));
    const auto step = [this, edit](Real delta) {
      CommitEntries();
      edit->SetValue(edit->Val() + delta);
      AngleXInput();
    };
    connect(spin, &TSpinButton::UpClick, this, [step, up] { step(up); });
    connect(spin, &TSpinButton::DownClick, this, [step, down] { step(down); });
    return spin;
  };

  auto [rotation, rotationGrid] = group("GroupBox1", tr("Door Rotation, deg"));
  GroupBox1 = rotation;
  AngleX = MakeEdit(rotation, {"AngleX", 0, 0, 1, false, 1, 1});
  AngleY = MakeEdit(rotation, {"AngleY", 0, 0, 1, false, 3, 1});
  AngleZ = MakeEdit(rotation, {"AngleZ", 0, 0, 1, false, 3, 1});
  AngleAttack = MakeEdit(rotation, {"AngleAttack", 0, 0, 1, false, 3, 0.01745329252L});
  PaintAsReadout(AngleAttack);
  ScrollX = spinFor(AngleX, "ScrollX", +1, -1);
  ScrollY = spinFor(AngleY, "ScrollY", +1, -1);
  ScrollZ = spinFor(AngleZ, "ScrollZ", -1, +1);  // the Z spin runs the other way
  row(rotationGrid, rotation, QStringLiteral("X"), AngleX, ScrollX);
  row(rotationGrid, rotation, QStringLiteral("Y"), AngleY, ScrollY);
  row(rotationGrid, rotation, QStringLiteral("Z"), AngleZ, ScrollZ);
  row(rotationGrid, rotation, tr("Attack Angle"), AngleAttack, nullptr);

  auto [trawl, trawlGrid] = group("GroupBox2", tr("Trawl"));
  GroupBox2 = trawl;
  TrawlResistance = MakeInputEdit(trawl, TInput::TrawlResistance);
  TrawlSpeed = MakeInputEdit(trawl, TInput::TrawlSpeed);
  ScrollTrlRes = spinFor(TrawlResistance, "ScrollTrlRes", +100, -100);
  ScrollSpeed = spinFor(TrawlSpeed, "ScrollSpeed", +0.1L, -0.1L);
  row(trawlGrid, trawl, tr("Resistance, kN"), TrawlResistance, ScrollTrlRes);
  row(trawlGrid, trawl, tr("Speed, m/s"), TrawlSpeed, ScrollSpeed);

  auto [moments, momentGrid] = group("GroupBox3", tr("Moments, kN*m"));
  GroupBox3 = moments;
  MomX = MakeEdit(moments, {"MomX", 0, 0, 1, false, 3, 1000}, true);
  MomY = MakeEdit(moments, {"MomY", 0, 0, 1, false, 3, 1000}, true);
  MomZ = MakeEdit(moments, {"MomZ", 0, 0, 1, false, 3, 1000}, true);
  for (auto [label, edit] : {std::pair{"X", MomX}, {"Y", MomY}, {"Z", MomZ}}) {
    PaintAsReadout(edit);
    row(momentGrid, moments, QString::fromLatin1(label), edit, nullptr);
  }

  auto [forces, forceGrid] = group("GroupBox4", tr("Forces, kN"));
  GroupBox4 = forces;
  ResResistance = MakeEdit(forces, {"ResResistance", 0, 0, 1, false, 3, 1000}, true);
  ResSpreading = MakeEdit(forces, {"ResSpreading", 0, 0, 1, false, 3, 1000}, true);
  ResVertical = MakeEdit(forces, {"ResVertical", 0, 0, 1, false, 3, 1000}, true);
  for (auto [label, edit] : {std::pair{tr("Resistance"), ResResistance}, {tr("Spreading"), ResSpreading},
                             {tr("Vertical"), ResVertical}}) {
    PaintAsReadout(edit);
    row(forceGrid, forces, label, edit, nullptr);
  }

  // The force scale row: newtons per scene unit of the force arrows, "Auto" beside its caption.
  auto* scaleRow = new QGridLayout;
  scaleRow->setContentsMargins(0, 0, 0, 0);
  scaleRow->setHorizontalSpacing(2);
  scaleRow->setVerticalSpacing(0);
  ForceScale = MakeEdit(Panel1, {"ForceScale", 15000, 100, 10000000, false, 3, 1});
  SpinButton1 = spinFor(ForceScale, "SpinButton1", -100, +100);  // reversed too
  AutoForceScale = new QCheckBox(tr("Auto"), Panel1);
  AutoForceScale->setObjectName(QStringLiteral("AutoForceScale"));
  connect(AutoForceScale, &QCheckBox::clicked, this, [this] {
    CommitEntries();
    EvaluationCycle();
  });
  scaleRow->addWidget(Caption(tr("Force scale"), Panel1), 0, 0);
  scaleRow->addWidget(AutoForceScale, 0, 1, 1, 2, Qt::AlignRight);
  scaleRow->addWidget(ForceScale, 1, 0, 1, 2);
  scaleRow->addWidget(SpinButton1, 1, 2);
  panel->addLayout(scaleRow);
  panel->addStretch(1);

  for (TEditF* edit : {AngleX, AngleY, AngleZ, AngleAttack, TrawlResistance, TrawlSpeed, ForceScale})
    connect(edit, &TEditF::OnInput, this, &TFDoor::AngleXInput);
  // Enter in these edits evaluates even when the value did not change.
  for (TEditF* edit : {AngleX, AngleY, AngleZ, TrawlResistance, TrawlSpeed})
    edit->installEventFilter(this);

  // One stop per spin button, each after its edit.
  setTabOrder(AngleX, ScrollX);
  setTabOrder(ScrollX, AngleY);
  setTabOrder(AngleY, ScrollY);
  setTabOrder(ScrollY, AngleZ);
  setTabOrder(AngleZ, ScrollZ);
  setTabOrder(ScrollZ, AngleAttack);
  setTabOrder(AngleAttack, TrawlResistance);
  setTabOrder(TrawlResistance, ScrollTrlRes);
  setTabOrder(ScrollTrlRes, TrawlSpeed);
  setTabOrder(TrawlSpeed, ScrollSpeed);
  setTabOrder(ScrollSpeed, ForceScale);
  setTabOrder(ForceScale, SpinButton1);
  setTabOrder(SpinButton1, AutoForceScale);
}

QWidget* TFDoor::PanelArea()
{
  // A window smaller than designed, or a larger font, scrolls the panel rather than
  // growing the window; the bar, when shown, widens the panel instead of narrowing it.
  auto* area = new QScrollArea(this);
  area->setObjectName(QStringLiteral("PanelArea"));
  area->setFrameShape(QFrame::NoFrame);
  area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  area->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  area->setWidgetResizable(true);
  area->setWidget(Panel1);
  area->setFixedWidth(kPanelWidth);
  QScrollBar* bar = area->verticalScrollBar();
  bar->installEventFilter(this);
  FPanelArea = area;
  return area;
}

void TFDoor::CommitEntries()
{
  // What the user typed and has not committed yet is what the panel shows: a command that
  // evaluates takes it first, as leaving the edit would. Untouched edits are not re-read,
  // so values with more decimals than they show stay as they are.
  for (TEditF* edit : {AngleX, AngleY, AngleZ, AngleAttack, TrawlResistance, TrawlSpeed, ForceScale})
    if (edit->isModified())
      edit->AcceptInput();
}

void TFDoor::WatchViewMouse()
{
  GLSceneViewer1->setMouseTracking(true);  // the hover highlight needs moves without a button
  GLSceneViewer1->installEventFilter(this);
}

bool TFDoor::eventFilter(QObject* watched, QEvent* event)
{
  if (watched == GLSceneViewer1 && ViewMouseEvent(event))
    return true;
  if (FPanelArea && watched == FPanelArea->verticalScrollBar() &&
      (event->type() == QEvent::Show || event->type() == QEvent::Hide)) {
    const int bar = event->type() == QEvent::Show ? FPanelArea->verticalScrollBar()->sizeHint().width() : 0;
    FPanelArea->setFixedWidth(kPanelWidth + bar);
  }
  // AngleXKeyUp: the release of Enter in an input edit runs one cycle; other keys do not.
  if (event->type() == QEvent::KeyRelease) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && !static_cast<QKeyEvent*>(event)->isAutoRepeat())
      AngleXInput();
  }
  return QMainWindow::eventFilter(watched, event);
}

void TFDoor::showEvent(QShowEvent* event)
{
  QMainWindow::showEvent(event);
  if (!FShown) {
    FShown = true;
    FormShow();
  }
}

void TFDoor::FormShow()
{
  FView->RestartClock();
  // The bands learn their widths only once shown: lay the window out again at its size.
  if (QLayout* frame = layout()) {
    frame->invalidate();
    frame->activate();
  }
  FView->LoadCursors();
  BuildModel();
  if (QAction* perspective = Command(TDoorCommand::ShowPerspective); !perspective->isChecked())
    perspective->trigger();
  Pos1->ReadPlacement();
  FDoorConnect->Publish();
}

void TFDoor::closeEvent(QCloseEvent* event)
{
  if (!FormCloseQuery()) {
    event->ignore();
    return;
  }
  FormClose();
  QMainWindow::closeEvent(event);
}

bool TFDoor::FormCloseQuery()
{
  QAction* animate = Command(TDoorCommand::Animate);
  if (animate->isChecked()) {
    TCommandTable::SetChecked(animate, false);
    return false;
  }
  if (FBalancing) {
    // The run is short; the window closes as soon as it is over.
    FCloseAfterRun = true;
    return false;
  }
  return true;
}

void TFDoor::FormClose()
{
  // A search of the advisor ends with the window, its workers with it.
  if (FAdvisor)
    FAdvisor->CancelSearch();
  Pos1->WritePlacement();
  FDoorConnect->TearDown();
}

TWindowHandle TFDoor::LinkWindowHandle() const { return static_cast<TWindowHandle>(QCoreApplication::applicationPid()); }

TBalanceInputs TFDoor::LinkInputs() const
{
  const auto value = [](TEditF* edit, Real fallback) { return edit ? edit->Val() : fallback; };
  const TDoorCollaborators& c = FCollaborators;
  return {TrawlSpeed->Val(),
          TrawlResistance->Val(),
          value(c.WDens, FConditions.WaterDensity),
          value(c.WarpAngleOnPlan, FConditions.WarpAngleOnPlan),
          value(c.WarpAngleOnSide, FConditions.WarpAngleOnSide),
          value(c.BridleAngleOnPlan, FConditions.BridleAngleOnPlan),
          value(c.BridleAngleOnSide, FConditions.BridleAngleOnSide)};
}

void TFDoor::SetLinkInputs(const TBalanceInputs& in)
{
  // Each value goes through its edit with the edit's range check, in the block's order.
  const auto set = [](TEditF* edit, Real value, Real& fallback) {
    if (edit)
      edit->SetValue(value);
    else
      fallback = value;
  };
  TrawlSpeed->SetValue(in.TrawlSpeed);
  TrawlResistance->SetValue(in.TrawlResistance);
  const TDoorCollaborators& c = FCollaborators;
  set(c.WDens, in.WaterDensity, FConditions.WaterDensity);
  set(c.WarpAngleOnPlan, in.WarpAngleOnPlan, FConditions.WarpAngleOnPlan);
  set(c.WarpAngleOnSide, in.WarpAngleOnSide, FConditions.WarpAngleOnSide);
  set(c.BridleAngleOnPlan, in.BridleAngleOnPlan, FConditions.BridleAngleOnPlan);
  set(c.BridleAngleOnSide, in.BridleAngleOnSide, FConditions.BridleAngleOnSide);
}
