// The base of every object of the scene: its kind, name, visibility and placement (position,
// orientation as direction and up vectors, scale). Every change asks the scene to be drawn
// again; a change of shape also bumps the geometry version that the renderer's GPU copy
// follows.
#pragma once

#include <QMatrix4x4>
#include <QString>
#include <QVector3D>

#include <cstdint>

class TScene;

// What an object is; picking reports it.
enum class TObjectKind { Dummy, Cube, Lines, FreeForm, Light, Grid, Camera };

class TSceneObject {
public:
  explicit TSceneObject(TObjectKind kind);
  virtual ~TSceneObject();
  TSceneObject(const TSceneObject&) = delete;
  TSceneObject& operator=(const TSceneObject&) = delete;

  TObjectKind Kind() const { return FKind; }
  // A number of its own, never reused in the run.
  std::uint64_t Id() const { return FId; }
  const QString& Name() const { return FName; }
  void SetName(const QString& name) { FName = name; }
  TScene* Scene() const { return FScene; }

  bool Visible() const { return FVisible; }
  void SetVisible(bool visible);

  // Position of the object's origin (scene units).
  const QVector3D& Position() const { return FPosition; }
  void SetPosition(const QVector3D& position);
  // One coordinate: 0 x, 1 y, 2 z.
  void SetPositionComponent(int index, float value);
  // Position += k v.
  void Move(const QVector3D& v, float k);

  // Orientation: the unit vectors of the object's own Z axis (direction) and Y axis (up);
  // its X axis (right) is up x direction. At rest direction is (0, 0, 1), up (0, 1, 0).
  const QVector3D& Direction() const { return FDirection; }
  const QVector3D& Up() const { return FUp; }
  QVector3D Right() const { return QVector3D::crossProduct(FUp, FDirection); }
  // The direction as given; up keeps its part at right angles to it.
  void SetDirection(const QVector3D& direction);
  // The up vector as given; the direction keeps its part at right angles to it.
  void SetUp(const QVector3D& up);
  // Both at once: the direction as given, up made square to it.
  void SetOrientation(const QVector3D& direction, const QVector3D& up);

  // Turns about the object's own axes, degrees by the right-hand rule: roll about the
  // direction, pitch about the right vector, turn about the up vector. Setting an angle
  // turns by its change; the angles are kept as set and are not read back from the axes.
  float RollAngle() const { return FRoll; }
  float PitchAngle() const { return FPitch; }
  float TurnAngle() const { return FTurn; }
  void SetRollAngle(float degrees);
  void SetPitchAngle(float degrees);
  void SetTurnAngle(float degrees);
  // Turns about the scene's fixed X axis, then its Y axis, then its Z axis (degrees), each
  // on top of the orientation reached so far. The angles above are left as they are.
  void RotateAbsolute(float aboutX, float aboutY, float aboutZ);

  const QVector3D& Scale() const { return FScale; }
  void SetScale(const QVector3D& scale);

  // Model matrix: scale, then orientation, then position.
  QMatrix4x4 Matrix() const;
  // Bumped whenever the shape (not the placement) changes.
  std::uint64_t GeometryVersion() const { return FGeometryVersion; }

protected:
  // The object looks different: draw the scene again.
  void Changed();
  // The object's shape changed: its GPU copy is out of date.
  void GeometryChanged();
  // Copies visibility and placement (not the name) from another object.
  void AssignPlacement(const TSceneObject& other);

private:
  friend class TScene;
  void Turn(const QVector3D& axis, float degrees);

  TObjectKind FKind;
  std::uint64_t FId;
  QString FName;
  TScene* FScene = nullptr;
  bool FVisible = true;
  QVector3D FPosition{0, 0, 0};
  QVector3D FDirection{0, 0, 1};
  QVector3D FUp{0, 1, 0};
  QVector3D FScale{1, 1, 1};
  float FRoll = 0, FPitch = 0, FTurn = 0;
  std::uint64_t FGeometryVersion = 1;
};
