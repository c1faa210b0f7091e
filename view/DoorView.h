// TDoorView: the one interface between the main window and its 3D view. The window hands
// it the poses of every evaluation, the view switches and the camera moves; the view
// answers what lies under a pixel as a marker (group and index), never as a scene object.
// The display state that belongs to the view lives here: the clock of the water grids and
// their offsets, the last poses and the cursors. A null view (NullDoorView.h) keeps
// widget tests free of OpenGL.
#pragma once

#include <QCursor>
#include <QString>

#include <array>
#include <chrono>

#include "mechanics/DoorDisplay.h"

class QWidget;

// The view commands that switch something on or off.
enum class TViewSwitch { ShowAxes, ShowGridXY, ShowGridXZ, HideHull, HideBracket, Transparent, ShowPerspective };

// Focal lengths of the two projections of the ShowPerspective switch.
inline constexpr Real kPerspectiveFocalLength = 100;
inline constexpr Real kOrthogonalFocalLength = 10;

// What the variant-dependent part of the scene is built for.
struct TSceneVariant {
  Real DoorScale = 5;
  int BracketMesh = 1311;  // mesh resource of the bracket (its command's tag)
  int BallastCount = 3;
};

// Where the camera stands: position, direction and up vector (it always aims at the axes
// cross at the origin).
struct TCameraStation {
  TxyzSingle Position{0, -10, 0};
  TxyzSingle Direction{0, 1, 0};
  TxyzSingle Up{0, 0, 1};
};

// The groups of marker cubes a click can choose from, and the centre cubes, which belong
// to none.
enum class TMarkerGroup {
  None,
  UpperHole,    // index 0 .. 14, 5 (row - 1) + (hole - 1)
  LowerHole,    // likewise
  BracketPair,  // 0 .. 5: CubeBrU1, CubeBrD1, CubeBrU2, CubeBrD2, CubeBrU3, CubeBrD3
  TowHole,      // 0 .. 4: CubeF2u, CubeF1u, CubeF0, CubeF1d, CubeF2d
  Centre,       // 0 .. 4: GravityDoor, GravityBracket, CubeGravity, CubeHydroW, CubeHydroS
};

// What is drawn nearest the eye around a pixel of the view.
struct TViewPick {
  enum class TKind { Nothing, Cube, Other };
  TKind Kind = TKind::Nothing;
  TMarkerGroup Group = TMarkerGroup::None;  // for a cube of the door's scene
  int Index = -1;
  bool operator==(const TViewPick&) const = default;
};

// What a marker is called in the status bar while the pointer is over it ("Upper bridle
// hole: row 3, hole 2", "Bracket pair 2", "Towing hole F1u", ...); empty for anything
// that is no cube of the door's scene.
QString MarkerCaption(const TViewPick& pick);

class TDoorView {
public:
  TDoorView();
  virtual ~TDoorView();
  TDoorView(const TDoorView&) = delete;
  TDoorView& operator=(const TDoorView&) = delete;

  // The widget the window shows, named "GLSceneViewer1".
  virtual QWidget* Widget() = 0;

  // --- the scene --------------------------------------------------------------------
  // The scene steps of building the model: the hull and bracket meshes loaded again and
  // scaled, the ballast pieces made anew, the fitted ones shown. Nothing is placed: the
  // next ShowResults does that.
  virtual void BuildModel(const TSceneVariant& variant) = 0;
  // Shows pieces 0 .. count - 1 and hides the others.
  virtual void SetBallastCount(int count) = 0;
  virtual void SetSwitch(TViewSwitch which, bool on) = 0;

  // --- the display update -------------------------------------------------------------
  // Moves the water grids on by the time since the last refresh at the trawl speed
  // (m/s), keeps the poses and puts every object where they say. Only transforms change:
  // balance runs paint while they solve.
  void ShowResults(const TScenePoses& poses, Real trawlSpeed);
  // The next refresh counts its time from now (the window was shown, a run starts).
  void RestartClock() { FLastShowTime = std::chrono::steady_clock::now(); }
  // Both grids back to X = 0 (building the model ends so).
  void ResetGrids();
  const TScenePoses& Poses() const { return FPoses; }
  Real GridXZ() const { return FGridXZ; }
  Real GridXY() const { return FGridXY; }

  // --- camera, picking, mouse feedback ------------------------------------------------
  virtual TCameraStation CameraStation() const = 0;
  virtual void SetCameraStation(const TCameraStation& station) = 0;
  // Orbits the camera about its target (degrees); scales its distance to the target.
  virtual void OrbitCamera(Real pitchDegrees, Real turnDegrees) = 0;
  virtual void ScaleCameraDistance(Real ratio) = 0;
  virtual bool Perspective() const = 0;
  virtual Real FocalLength() const = 0;
  virtual void SetFocalLength(Real focalLength) = 0;
  // What is drawn nearest the eye within the 3 x 3 pixels around (x, y), widget pixels.
  virtual TViewPick Pick(int x, int y) = 0;
  // Lights a cube up (white emission) or puts it out (black); anything else is left alone.
  virtual void SetHighlight(const TViewPick& cube, bool on) = 0;
  // Draws the circle of 200 pixels about the view's centre over the scene until the next
  // frame without it.
  virtual void SetGuideCircle(bool shown) = 0;
  // The view cursors 1 orbit, 2 roll, 3 zoom, loaded once (at the window's first showing);
  // 0 or any other number gives the ordinary arrow.
  void LoadCursors();
  void SetViewCursor(int number);

protected:
  // Puts the objects where the poses say and the grids at their X offsets.
  virtual void ApplyPoses(const TScenePoses& poses, Real gridXZ, Real gridXY) = 0;

private:
  std::chrono::steady_clock::time_point FLastShowTime;
  std::chrono::steady_clock::time_point FShowTime;
  Real FGridXZ = 0;
  Real FGridXY = 0;
  TScenePoses FPoses;
  std::array<QCursor, 4> FCursors;
};
