// The GPU side of the engine: shader programs, the GPU copies of the objects' geometry,
// drawing a scene through a camera, and picking by drawing object numbers into a small
// offscreen framebuffer. Every call needs the GL context current; Initialize comes from
// initializeGL and Release before the context goes.
#pragma once

#include <QOpenGLFunctions>
#include <QOpenGLShaderProgram>
#include <QOpenGLVertexArrayObject>
#include <QSize>

#include <array>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "Material.h"

class QOpenGLFramebufferObject;
class TCamera;
class TScene;
class TSceneObject;

class TRenderer : protected QOpenGLFunctions {
public:
  TRenderer();
  ~TRenderer();
  TRenderer(const TRenderer&) = delete;
  TRenderer& operator=(const TRenderer&) = delete;

  // Compiles the shaders and makes the shared shapes; false with Error() on failure.
  bool Initialize();
  // Frees every GPU object; Render and Pick do nothing until the next Initialize.
  void Release();
  bool Initialized() const { return FInitialized; }
  const QString& Error() const { return FError; }

  // Draws the scene into the bound framebuffer, view pixels in size: the opaque objects in
  // scene order, then the translucent ones from the farthest to the nearest. ambient is
  // the light that falls on every surface from all sides.
  void Render(const TScene& scene, const TCamera& camera, QSize view, const TColor& background,
              const TColor& ambient);
  // The object drawn nearest the eye within the size x size pixels around pixel (x, y)
  // (from the top-left corner), or none.
  TSceneObject* Pick(const TScene& scene, const TCamera& camera, QSize view, int x, int y, int size);
  // Drops the GPU copy of an object that left the scene (freed at the next Render or Pick).
  void Forget(std::uint64_t id) { FForgotten.push_back(id); }

private:
  struct TGpuBuffers {
    GLuint Vertices = 0;
    GLuint Indices = 0;
    GLsizeiptr Capacity = 0;  // bytes of Vertices
    int Count = 0;            // vertices of a line set
    std::uint64_t Version = 0;
  };
  struct TFaceUniforms {
    int Ambient, Diffuse, Specular, Emission, Shininess;
  };
  struct TLitUniforms {
    int Model, ViewProjection, NormalMatrix, Eye, SceneAmbient, LightCount, LightPosition, LightDiffuse,
        LightIntensity, SameSides;
    TFaceUniforms Front, Back;
  };
  struct TFlatUniforms {
    int Mvp, Color;
  };
  enum class TPass { Colour, Pick };

  static constexpr int kMaxLights = 8;

  void Draw(const TSceneObject& object, TPass pass, const TColor& pickColor);
  void DrawUnitCube(const QMatrix4x4& model, const TMaterial& material, TPass pass, const TColor& pickColor);
  void DrawLineBuffer(const TGpuBuffers& buffers, GLenum mode, const QMatrix4x4& model, const TColor& color,
                      float width);
  void UseLit(const QMatrix4x4& model);
  void SetMaterial(const TMaterial& material);
  void UseFlat(const QMatrix4x4& model, const TColor& color);
  void BindPositions(GLuint buffer, int stride, bool normals);
  TGpuBuffers& Buffers(const TSceneObject& object);
  void UploadVertices(TGpuBuffers& buffers, const void* data, GLsizeiptr bytes);
  void FreeForgotten();
  void BeginFrame(const TScene& scene, const TCamera& camera, QSize view, const QMatrix4x4* pick);

  bool FInitialized = false;
  QString FError;
  // Made in each context anew: a program belongs to the context it was linked in.
  std::unique_ptr<QOpenGLShaderProgram> FLit, FFlat;
  TLitUniforms FLitU{};
  TFlatUniforms FFlatU{};
  QOpenGLVertexArrayObject FVao;
  GLuint FCubeBuffer = 0;
  GLuint FAxesBuffer = 0;
  std::array<float, 2> FLineWidthRange{1, 1};
  std::unordered_map<std::uint64_t, TGpuBuffers> FBuffers;
  std::vector<std::uint64_t> FForgotten;
  std::unique_ptr<QOpenGLFramebufferObject> FPickBuffer;

  // The frame being drawn.
  QMatrix4x4 FViewProjection;
  TColor FAmbient{0.2f, 0.2f, 0.2f, 1};
  QVector3D FEye;
  std::vector<const TSceneObject*> FTranslucent;
  int FLightCount = 0;
  std::array<QVector3D, kMaxLights> FLightPosition{};
  std::array<QVector4D, kMaxLights> FLightDiffuse{};
  std::array<float, kMaxLights> FLightIntensity{};
};
