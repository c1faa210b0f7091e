// TFDoor: the main window. It owns the door model, the input panel with its numeric
// edits and read-outs, the command table with the menu and tool bars built from it, the
// view area and the placement store, and runs the evaluation cycle every input ends in.
#pragma once

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include "app/DoorCommands.h"
#include "app/DoorConnect.h"
#include "mechanics/DoorDisplay.h"
#include "mechanics/DoorModel.h"
#include "mechanics/DoorSolver.h"
#include "view/DoorView.h"

class QAction;
class QCheckBox;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QScrollArea;
class TAskAny;
class TCommandBars;
class TCommandTable;
class TCustomizeDlg;
class TEditF;
class THelpViewer;
class TPos;
class TRegistry;
class TRiggingAdvisor;
class TSpinButton;
struct TRiggingCandidate;
struct TDoorChoice;

// The windows the main window works with but does not own: created by the program after
// the main window, in the order environment, value prompt, warp and bridles, graph.
struct TDoorCollaborators {
  TAskAny* AskAny = nullptr;
  // Opens a conditions dialog modally (environment, warp and bridles); none until the
  // dialogs exist.
  std::function<void()> ShowEnvironment;
  std::function<void()> ShowBridleAngles;
  // The water density and the five warp and bridle angles, read at every evaluation.
  std::function<void(TDoorInputs&)> ReadConditions;
  // The coefficient graph: whether it is shown, show/hide, redraw at an attack angle.
  std::function<bool()> GraphVisible;
  std::function<void(bool)> ShowGraph;
  std::function<void(Real)> RedrawGraph;
  // The conditions edits of the dialogs, which the balance link reads and sets; while a
  // dialog is missing the window keeps that value itself.
  TEditF* WDens = nullptr;
  TEditF* WarpAngleOnPlan = nullptr;
  TEditF* WarpAngleOnSide = nullptr;
  TEditF* BridleAngleOnPlan = nullptr;
  TEditF* BridleAngleOnSide = nullptr;
  // The 3D view; without one the window shows a null view (a cream panel).
  std::shared_ptr<TDoorView> View;
};

class TFDoor : public QMainWindow, private TBalanceHost {
  Q_OBJECT
public:
  // FormCreate: builds the window, the command table and the bars, chooses where the bar
  // customization lives and reads it. The model is built at the first showing.
  explicit TFDoor(QWidget* parent = nullptr);
  ~TFDoor() override;

  void SetCollaborators(TDoorCollaborators collaborators);
  // Called when a balance run has ended and the edits show its attitude, with its result;
  // Balancing() then tells whether the run ended inside another one.
  void SetBalanceListener(std::function<void(const TSolveResult&)> listener) { FBalanceListener = std::move(listener); }
  // The balance link for other programs.
  const TDoorConnect& Link() const { return *FDoorConnect; }

  // --- the evaluation cycle and the solver ---------------------------------------------
  void AngleXInput();
  void EvaluationCycle();
  void ShowResults();
  void BalanceActExecute() override;
  void AnimateExecute();
  void AskSolverFactorExecute();
  void ResetModelExecute();
  void BuildModel();

  // --- the camera stations and the mouse over the view ---------------------------------
  void ResetCameraExecute();
  void ShowPlanExecute();
  void ShowFrontExecute();
  void ShowSideExecute();
  void ShowBackExecute();
  void ShowBracketExecute();
  void ShowIsoExecute();
  // The held modifier keys and mouse buttons of a mouse event.
  struct TShiftState {
    Qt::KeyboardModifiers Keys;
    Qt::MouseButtons Buttons;
    // Exactly that button: no key, no other button.
    bool Only(Qt::MouseButton button) const { return Keys == Qt::NoModifier && Buttons == button; }
  };
  // Viewer pixels, Y downward.
  void GLSceneViewer1MouseDown(Qt::MouseButton button, TShiftState shift, int x, int y);
  void GLSceneViewer1MouseMove(TShiftState shift, int x, int y);
  void GLSceneViewer1MouseUp(Qt::MouseButton button, TShiftState shift, int x, int y);
  // Wheel notches away from the user (fractions for fine wheels); back is negative.
  void GLSceneViewer1MouseWheel(Real notches);
  // How rolling turns the up vector (0 plan, 1 side, 2 front), what the pointer was last
  // over, and the marker grabbed by the button that is down.
  int ViewKind() const { return FViewKind; }
  const TViewPick& HoverObject() const { return FHoverObject; }
  const TViewPick& PickedCube() const { return FPickedCube; }

  // To be run after the event loop: deletes the settings key when Restore Defaults was
  // chosen, then writes the bar customization (once).
  void FinishRun();

  TDoorModel& Model() { return FModel; }
  TCommandTable& Commands() { return *ActionManager1; }
  // The command of that id.
  QAction* Command(TDoorCommand id) const { return FCommands[std::size_t(id)]; }
  TCommandBars& Bars() { return *FBars; }
  TDoorView& View() { return *FView; }
  const TScenePoses& ScenePoses() const { return FView->Poses(); }
  Real GridXZ() const { return FView->GridXZ(); }
  Real GridXY() const { return FView->GridXY(); }
  bool Balancing() const { return FBalancing; }
  QString CustomizationPath() const { return FCustomizationPath; }
  QString BandFileName() const { return FBandFileName; }
  bool RestoreDefaults() const { return FRestoreDefaults; }
  // The rigging advisor once its command has opened it; null before.
  TRiggingAdvisor* Advisor() const;
  // The door's health after the last balance run, in the status bar.
  QLabel* HealthLabel() const { return FHealthLabel; }
  // The member of the family the window shows: area (0 for the start-up door), ballast,
  // bracket.
  TDoorChoice CurrentDoor() const;
  // Sets the advised door and rigging, puts the advised attitude into the rotation edits,
  // runs one evaluation cycle and then the Balance command.
  void ApplyAdvice(const TRiggingCandidate& advice);
  // The settings key of the main window and the warp and bridle dialog.
  static const char* SettingsKey();

  // Components, under the names the rest of the program knows them by.
  QWidget* Panel1;
  QGroupBox* GroupBox1;
  QGroupBox* GroupBox2;
  QGroupBox* GroupBox3;
  QGroupBox* GroupBox4;
  TEditF* AngleX;
  TEditF* AngleY;
  TEditF* AngleZ;
  TEditF* AngleAttack;
  TEditF* TrawlResistance;
  TEditF* TrawlSpeed;
  TEditF* MomX;
  TEditF* MomY;
  TEditF* MomZ;
  TEditF* ResResistance;
  TEditF* ResSpreading;
  TEditF* ResVertical;
  TEditF* ForceScale;
  QCheckBox* AutoForceScale;
  TSpinButton* ScrollX;
  TSpinButton* ScrollY;
  TSpinButton* ScrollZ;
  TSpinButton* ScrollSpeed;
  TSpinButton* ScrollTrlRes;
  TSpinButton* SpinButton1;
  QWidget* GLSceneViewer1;
  TCommandTable* ActionManager1;
  TPos* Pos1;

protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void CreatePanel();
  // The scrolling area that holds Panel1.
  QWidget* PanelArea();
  // Commits every panel edit whose text the user changed and has not committed.
  void CommitEntries();
  void CreateCommands();
  // Runs the handler of command id; the command is the one executed.
  void ExecuteCommand(TDoorCommand id, const QAction& command);
  void CallBridleAnglesExecute();
  void CallEnvironmentExecute();
  void FormShow();
  bool FormCloseQuery();
  void FormClose();
  void Pos1Read(TRegistry& registry);
  void Pos1Write(TRegistry& registry);
  void ChooseCustomizationPath();
  bool MayWriteBarFile(const QString& path) const;
  void ReadCustomization();
  void RestoreDefaultsExecute();
  void CustomizeExecute();
  void ResetToolBarsExecute();
  void Area_045Execute(int tag);
  void Ballast1Execute(int tag);
  void ViewSwitchExecute(TViewSwitch which, const QAction& command);
  void SetStation(const TCameraStation& station, int viewKind);
  // The hover step: the cube under the pointer lit and named in the status bar, the one
  // before put out.
  void HoverOver(const TViewPick& pick);
  void SetCursorNumber(int number);
  // Hands the view widget's mouse events to the handlers above.
  bool ViewMouseEvent(QEvent* event);
  void WatchViewMouse();
  void BracketSmallExecute();
  void GraphExecute();
  void Action1Execute();
  void Action2Execute();
  void RiggingAdvisorExecute();
  // The towing conditions as the next evaluation reads them.
  void ReadInputs(TDoorInputs& in) const;
  void KeepLive();
  // What the balance link asks of the window.
  TWindowHandle LinkWindowHandle() const override;
  TBalanceInputs LinkInputs() const override;
  void SetLinkInputs(const TBalanceInputs& inputs) override;

  // The health of the last balance, marked when the door shows another state since.
  void ShowHealth();

  TDoorModel FModel;
  TDoorCollaborators FCollaborators;
  std::shared_ptr<TDoorView> FView;
  QHBoxLayout* FViewLayout = nullptr;
  std::function<void(const TSolveResult&)> FBalanceListener;
  std::unique_ptr<TDoorConnect> FDoorConnect;
  std::array<QAction*, kDoorCommandCount> FCommands{};  // by id
  TDoorInputs FConditions;  // density and angles while their dialogs are missing
  TCommandBars* FBars = nullptr;
  QPointer<TCustomizeDlg> FCustomizeDlg;  // forgets the dialog when it deletes itself
  THelpViewer* FHelpViewer = nullptr;
  QPointer<TRiggingAdvisor> FAdvisor;
  QLabel* FHealthLabel = nullptr;
  // The health of the last balance run, and the attitude and moment it left the door at:
  // once the door shows another, the words no longer describe it.
  QString FHealthText;
  Txyz FHealthAttitude;
  Txyz FHealthMoment;
  QScrollArea* FPanelArea = nullptr;
  bool FShown = false;
  bool FBalancing = false;
  bool FCloseAfterRun = false;
  bool FRestoreDefaults = false;
  bool FFinished = false;
  int FViewKind = 1;
  bool FMouseDown = false;
  std::int32_t FLastMouseX = 0;
  std::int32_t FLastMouseY = 0;
  Real FGrabAngle = 0;
  bool FRotateZone = false;
  TViewPick FHoverObject;
  bool FHoverLit = false;  // FHoverObject glows white
  TViewPick FPickedCube;
  int FCursorNumber = 0;   // the view cursor shown, 0 the arrow
  bool FGuideShown = false;
  QString FCustomizationPath;
  QString FBandFileName;
  bool FBarFolderIsPrivate = false;  // the bar files live in this user's folder under the temporary folder
};
