// Drawing and picking. Two programs: a lit one for cubes and meshes (the fixed-function
// lighting model per vertex: emission, scene ambient, and per light diffuse and
// Blinn-Phong specular; back faces take the back colours) and a flat one for lines, grids,
// axes and the object numbers of picking. Translucent objects come after the opaque ones,
// the farthest first, without writing depth; a translucent mesh shows only its nearest
// surface, so that a hull of many shells reads as one tinted skin.
#include "Renderer.h"

#include <QOpenGLFramebufferObject>

#include <algorithm>

#include "Camera.h"
#include "Cube.h"
#include "DummyCube.h"
#include "FreeForm.h"
#include "Light.h"
#include "Lines.h"
#include "Projection.h"
#include "Scene.h"
#include "XYZGrid.h"

namespace {

// Lit per vertex, as the fixed-function pipeline lit: cheap on a software renderer, where
// the fragments are the cost.
const char* const kLitVertex = R"(#version 330 core
struct Face { vec4 ambient; vec4 diffuse; vec4 specular; vec4 emission; float shininess; };
layout(location = 0) in vec3 aPosition;
layout(location = 1) in vec3 aNormal;
uniform mat4 uModel;
uniform mat4 uViewProjection;
uniform mat3 uNormalMatrix;
uniform Face uFront;
uniform Face uBack;
uniform vec3 uEye;
uniform vec4 uSceneAmbient;
uniform int uLightCount;
uniform vec3 uLightPosition[8];
uniform vec4 uLightDiffuse[8];
uniform float uLightIntensity[8];
uniform bool uSameSides;
out vec4 vFront;
out vec4 vBack;
vec3 Lit(Face f, vec3 p, vec3 n, vec3 v)
{
  vec3 c = f.emission.rgb + f.ambient.rgb * uSceneAmbient.rgb;
  for (int i = 0; i < uLightCount; ++i) {
    vec3 l = normalize(uLightPosition[i] - p);
    float nl = max(dot(n, l), 0.0);
    c += uLightIntensity[i] * nl * f.diffuse.rgb * uLightDiffuse[i].rgb;
    if (nl > 0.0 && f.shininess > 0.0)
      c += uLightIntensity[i] * pow(max(dot(n, normalize(l + v)), 0.0), f.shininess) * f.specular.rgb;
  }
  return min(c, vec3(1.0));
}
void main()
{
  vec4 world = uModel * vec4(aPosition, 1.0);
  vec3 v = normalize(uEye - world.xyz);
  // Lit on the side the eye sees, whatever way the file wound the triangle.
  vec3 n = normalize(uNormalMatrix * aNormal);
  if (dot(n, v) < 0.0)
    n = -n;
  // One opacity for both sides: the front diffuse alpha.
  vFront = vec4(Lit(uFront, world.xyz, n, v), uFront.diffuse.a);
  vBack = uSameSides ? vFront : vec4(Lit(uBack, world.xyz, n, v), uFront.diffuse.a);
  gl_Position = uViewProjection * world;
}
)";

const char* const kLitFragment = R"(#version 330 core
in vec4 vFront;
in vec4 vBack;
out vec4 fColor;
void main() { fColor = gl_FrontFacing ? vFront : vBack; }
)";

const char* const kFlatVertex = R"(#version 330 core
layout(location = 0) in vec3 aPosition;
uniform mat4 uMvp;
void main() { gl_Position = uMvp * vec4(aPosition, 1.0); }
)";

const char* const kFlatFragment = R"(#version 330 core
uniform vec4 uColor;
out vec4 fColor;
void main() { fColor = uColor; }
)";

// A cube of edge 1 about the origin: 36 vertices, position and normal.
std::vector<float> UnitCube()
{
  std::vector<float> out;
  for (int axis = 0; axis < 3; ++axis)
    for (float side : {-1.f, 1.f}) {
      const int u = (axis + 1) % 3, v = (axis + 2) % 3;
      const float corners[6][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, -1}, {1, 1}, {-1, 1}};
      for (const auto& c : corners) {
        float p[3], n[3] = {0, 0, 0};
        p[axis] = side * 0.5f;
        p[u] = c[0] * 0.5f * side;  // keeps the winding outward on both sides
        p[v] = c[1] * 0.5f;
        n[axis] = side;
        out.insert(out.end(), {p[0], p[1], p[2], n[0], n[1], n[2]});
      }
    }
  return out;
}

// The axes of a dummy cube: positive halves, then negative halves.
constexpr float kAxes[] = {0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 1,
                           0, 0, 0, -1, 0, 0, 0, 0, 0, 0, -1, 0, 0, 0, 0, 0, 0, -1};
const TColor kAxisColors[3] = {{1, 0, 0, 1}, {0, 0.6f, 0, 1}, {0, 0, 1, 1}};

bool Translucent(const TSceneObject& object)
{
  switch (object.Kind()) {
    case TObjectKind::Cube: return static_cast<const TCube&>(object).Material().Blending == TBlending::Transparency;
    case TObjectKind::FreeForm: return static_cast<const TFreeForm&>(object).Translucent();
    case TObjectKind::Lines: return static_cast<const TLines&>(object).LineColor().w() < 1;
    case TObjectKind::Grid: return static_cast<const TXYZGrid&>(object).LineColor().w() < 1;
    case TObjectKind::Dummy:
    case TObjectKind::Light:
    case TObjectKind::Camera: return false;
  }
  return false;
}

TColor PickColor(int number)
{
  return {static_cast<float>(number & 0xff) / 255, static_cast<float>((number >> 8) & 0xff) / 255,
          static_cast<float>((number >> 16) & 0xff) / 255, 1};
}

}  // namespace

TRenderer::TRenderer() = default;

TRenderer::~TRenderer() = default;

bool TRenderer::Initialize()
{
  initializeOpenGLFunctions();
  FLit = std::make_unique<QOpenGLShaderProgram>();
  FFlat = std::make_unique<QOpenGLShaderProgram>();
  const auto build = [this](QOpenGLShaderProgram& program, const char* vertex, const char* fragment) {
    if (program.addShaderFromSourceCode(QOpenGLShader::Vertex, vertex) &&
        program.addShaderFromSourceCode(QOpenGLShader::Fragment, fragment) && program.link())
      return true;
    FError = program.log();
    return false;
  };
  if (!build(*FLit, kLitVertex, kLitFragment) || !build(*FFlat, kFlatVertex, kFlatFragment))
    return false;
  const auto u = [](QOpenGLShaderProgram& p, const char* name) { return p.uniformLocation(name); };
  QOpenGLShaderProgram& lit = *FLit;
  const auto face = [&](const char* prefix) {
    const QByteArray p(prefix);
    return TFaceUniforms{u(lit, p + ".ambient"), u(lit, p + ".diffuse"), u(lit, p + ".specular"),
                         u(lit, p + ".emission"), u(lit, p + ".shininess")};
  };
  FLitU = {u(lit, "uModel"), u(lit, "uViewProjection"), u(lit, "uNormalMatrix"), u(lit, "uEye"),
           u(lit, "uSceneAmbient"), u(lit, "uLightCount"), u(lit, "uLightPosition"), u(lit, "uLightDiffuse"),
           u(lit, "uLightIntensity"), u(lit, "uSameSides"), face("uFront"), face("uBack")};
  FFlatU = {u(*FFlat, "uMvp"), u(*FFlat, "uColor")};

  FVao.create();
  const std::vector<float> cube = UnitCube();
  glGenBuffers(1, &FCubeBuffer);
  glBindBuffer(GL_ARRAY_BUFFER, FCubeBuffer);
  glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(cube.size() * sizeof(float)), cube.data(), GL_STATIC_DRAW);
  glGenBuffers(1, &FAxesBuffer);
  glBindBuffer(GL_ARRAY_BUFFER, FAxesBuffer);
  glBufferData(GL_ARRAY_BUFFER, sizeof(kAxes), kAxes, GL_STATIC_DRAW);
  glBindBuffer(GL_ARRAY_BUFFER, 0);
  glGetFloatv(GL_ALIASED_LINE_WIDTH_RANGE, FLineWidthRange.data());
  FTranslucent.reserve(64);
  FInitialized = true;
  return true;
}

void TRenderer::Release()
{
  if (!FInitialized)
    return;
  for (auto& [id, buffers] : FBuffers) {
    glDeleteBuffers(1, &buffers.Vertices);
    if (buffers.Indices)
      glDeleteBuffers(1, &buffers.Indices);
  }
  FBuffers.clear();
  FForgotten.clear();
  glDeleteBuffers(1, &FCubeBuffer);
  glDeleteBuffers(1, &FAxesBuffer);
  FCubeBuffer = FAxesBuffer = 0;
  FPickBuffer.reset();
  FVao.destroy();
  FLit.reset();
  FFlat.reset();
  FInitialized = false;
}

void TRenderer::FreeForgotten()
{
  for (std::uint64_t id : FForgotten)
    if (const auto found = FBuffers.find(id); found != FBuffers.end()) {
      glDeleteBuffers(1, &found->second.Vertices);
      if (found->second.Indices)
        glDeleteBuffers(1, &found->second.Indices);
      FBuffers.erase(found);
    }
  FForgotten.clear();
}

void TRenderer::BeginFrame(const TScene& scene, const TCamera& camera, QSize view, const QMatrix4x4* pick)
{
  FreeForgotten();
  const float aspect = static_cast<float>(view.width()) / static_cast<float>(std::max(view.height(), 1));
  FViewProjection = ProjectionMatrix(camera, aspect) * ViewMatrix(camera);
  if (pick)
    FViewProjection = *pick * FViewProjection;
  FEye = camera.Position();
  FLightCount = 0;
  for (int i = 0; i < scene.Count() && FLightCount < kMaxLights; ++i) {
    const TSceneObject& object = scene.Object(i);
    if (object.Kind() != TObjectKind::Light || !object.Visible())
      continue;
    const auto& light = static_cast<const TLight&>(object);
    FLightPosition[static_cast<std::size_t>(FLightCount)] = light.Position();
    FLightDiffuse[static_cast<std::size_t>(FLightCount)] = light.Diffuse();
    FLightIntensity[static_cast<std::size_t>(FLightCount)] =
        light.ConstantAttenuation() > 0 ? 1 / light.ConstantAttenuation() : 1;
    ++FLightCount;
  }
  FVao.bind();
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);
  glDepthMask(GL_TRUE);
  glDisable(GL_CULL_FACE);
  glDisable(GL_BLEND);
}

void TRenderer::Render(const TScene& scene, const TCamera& camera, QSize view, const TColor& background,
                       const TColor& ambient)
{
  if (!FInitialized)
    return;
  FAmbient = ambient;
  glViewport(0, 0, view.width(), view.height());
  glClearColor(background.x(), background.y(), background.z(), background.w());
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  BeginFrame(scene, camera, view, nullptr);

  FTranslucent.clear();
  for (int i = 0; i < scene.Count(); ++i) {
    const TSceneObject& object = scene.Object(i);
    if (!object.Visible())
      continue;
    if (Translucent(object))
      FTranslucent.push_back(&object);
    else
      Draw(object, TPass::Colour, {});
  }
  // The farthest first, so that each blends over what lies behind it; they do not hide
  // one another in the depth buffer.
  std::stable_sort(FTranslucent.begin(), FTranslucent.end(), [this](const TSceneObject* a, const TSceneObject* b) {
    return (a->Position() - FEye).lengthSquared() > (b->Position() - FEye).lengthSquared();
  });
  glEnable(GL_BLEND);
  // The picture itself stays opaque: the widget's window shows it as it is.
  glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ZERO, GL_ONE);
  glDepthMask(GL_FALSE);
  for (const TSceneObject* object : FTranslucent) {
    if (object->Kind() == TObjectKind::FreeForm) {
      // A translucent mesh shows its nearest surface only, over whatever lies behind
      // it: its depth first, then its colours where they are nearest.
      glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
      glDepthMask(GL_TRUE);
      Draw(*object, TPass::Colour, {});
      glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
      glDepthMask(GL_FALSE);
    }
    Draw(*object, TPass::Colour, {});
  }
  glDepthMask(GL_TRUE);
  glDisable(GL_BLEND);
  FVao.release();
}

TSceneObject* TRenderer::Pick(const TScene& scene, const TCamera& camera, QSize view, int x, int y, int size)
{
  if (!FInitialized || view.isEmpty())
    return nullptr;
  if (!FPickBuffer || FPickBuffer->size() != QSize(size, size))
    FPickBuffer = std::make_unique<QOpenGLFramebufferObject>(QSize(size, size), QOpenGLFramebufferObject::Depth);
  FPickBuffer->bind();
  glViewport(0, 0, size, size);
  glClearColor(0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  const QMatrix4x4 pick = PickMatrix(x, y, view, size);
  BeginFrame(scene, camera, view, &pick);
  for (int i = 0; i < scene.Count(); ++i)
    if (scene.Object(i).Visible())
      Draw(scene.Object(i), TPass::Pick, PickColor(i + 1));
  FVao.release();

  const auto pixels = static_cast<std::size_t>(size * size);
  std::vector<std::uint8_t> colors(pixels * 4);
  std::vector<float> depths(pixels);
  glReadPixels(0, 0, size, size, GL_RGBA, GL_UNSIGNED_BYTE, colors.data());
  glReadPixels(0, 0, size, size, GL_DEPTH_COMPONENT, GL_FLOAT, depths.data());
  FPickBuffer->release();

  int nearest = 0;
  float nearestDepth = 2;
  for (std::size_t p = 0; p < pixels; ++p) {
    const int number = colors[4 * p] | (colors[4 * p + 1] << 8) | (colors[4 * p + 2] << 16);
    if (number != 0 && depths[p] < nearestDepth) {
      nearest = number;
      nearestDepth = depths[p];
    }
  }
  return nearest > 0 && nearest <= scene.Count() ? &scene.Object(nearest - 1) : nullptr;
}

void TRenderer::BindPositions(GLuint buffer, int stride, bool normals)
{
  glBindBuffer(GL_ARRAY_BUFFER, buffer);
  glEnableVertexAttribArray(0);
  glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, stride, nullptr);
  if (normals) {
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<const void*>(3 * sizeof(float)));
  } else {
    glDisableVertexAttribArray(1);
  }
}

void TRenderer::UseLit(const QMatrix4x4& model)
{
  FLit->bind();
  FLit->setUniformValue(FLitU.Model, model);
  FLit->setUniformValue(FLitU.ViewProjection, FViewProjection);
  FLit->setUniformValue(FLitU.NormalMatrix, model.normalMatrix());
  FLit->setUniformValue(FLitU.Eye, FEye);
  FLit->setUniformValue(FLitU.SceneAmbient, FAmbient);
  FLit->setUniformValue(FLitU.LightCount, FLightCount);
  FLit->setUniformValueArray(FLitU.LightPosition, FLightPosition.data(), kMaxLights);
  FLit->setUniformValueArray(FLitU.LightDiffuse, FLightDiffuse.data(), kMaxLights);
  FLit->setUniformValueArray(FLitU.LightIntensity, FLightIntensity.data(), kMaxLights, 1);
}

void TRenderer::SetMaterial(const TMaterial& material)
{
  const auto face = [this](const TFaceUniforms& u, const TFaceColors& c) {
    FLit->setUniformValue(u.Ambient, c.Ambient);
    FLit->setUniformValue(u.Diffuse, c.Diffuse);
    FLit->setUniformValue(u.Specular, c.Specular);
    FLit->setUniformValue(u.Emission, c.Emission);
    FLit->setUniformValue(u.Shininess, c.Shininess);
  };
  face(FLitU.Front, material.Front);
  const TFaceColors& f = material.Front;
  const TFaceColors& b = material.Back;
  const bool same = f.Ambient == b.Ambient && f.Diffuse == b.Diffuse && f.Specular == b.Specular &&
                    f.Emission == b.Emission && f.Shininess == b.Shininess;  // exact: the same colours given
  FLit->setUniformValue(FLitU.SameSides, same);
  if (!same)
    face(FLitU.Back, material.Back);
}

void TRenderer::UseFlat(const QMatrix4x4& model, const TColor& color)
{
  FFlat->bind();
  FFlat->setUniformValue(FFlatU.Mvp, FViewProjection * model);
  FFlat->setUniformValue(FFlatU.Color, color);
}

TRenderer::TGpuBuffers& TRenderer::Buffers(const TSceneObject& object)
{
  TGpuBuffers& buffers = FBuffers[object.Id()];
  if (!buffers.Vertices)
    glGenBuffers(1, &buffers.Vertices);
  return buffers;
}

void TRenderer::UploadVertices(TGpuBuffers& buffers, const void* data, GLsizeiptr bytes)
{
  glBindBuffer(GL_ARRAY_BUFFER, buffers.Vertices);
  // The buffer is kept and refilled while the new data fit, as the nodes of a line do.
  if (bytes > buffers.Capacity || bytes == 0) {
    glBufferData(GL_ARRAY_BUFFER, bytes, data, GL_DYNAMIC_DRAW);
    buffers.Capacity = bytes;
  } else {
    glBufferSubData(GL_ARRAY_BUFFER, 0, bytes, data);
  }
}

void TRenderer::DrawUnitCube(const QMatrix4x4& model, const TMaterial& material, TPass pass, const TColor& pickColor)
{
  if (pass == TPass::Pick) {
    UseFlat(model, pickColor);
    BindPositions(FCubeBuffer, 6 * sizeof(float), false);
  } else {
    UseLit(model);
    SetMaterial(material);
    BindPositions(FCubeBuffer, 6 * sizeof(float), true);
  }
  glDrawArrays(GL_TRIANGLES, 0, 36);
}

void TRenderer::DrawLineBuffer(const TGpuBuffers& buffers, GLenum mode, const QMatrix4x4& model, const TColor& color,
                               float width)
{
  if (buffers.Count < 2)
    return;
  UseFlat(model, color);
  BindPositions(buffers.Vertices, 3 * sizeof(float), false);
  glLineWidth(std::clamp(width, FLineWidthRange[0], FLineWidthRange[1]));
  glDrawArrays(mode, 0, buffers.Count);
  glLineWidth(1);
}

void TRenderer::Draw(const TSceneObject& object, TPass pass, const TColor& pickColor)
{
  const bool pick = pass == TPass::Pick;
  switch (object.Kind()) {
    case TObjectKind::Cube: {
      const auto& cube = static_cast<const TCube&>(object);
      QMatrix4x4 model = cube.Matrix();
      model.scale(cube.Size());
      DrawUnitCube(model, cube.Material(), pass, pickColor);
      break;
    }
    case TObjectKind::FreeForm: {
      const auto& form = static_cast<const TFreeForm&>(object);
      const TMeshData* mesh = form.Mesh();
      if (!mesh || mesh->Indices.empty())
        break;
      TGpuBuffers& buffers = Buffers(object);
      if (buffers.Version != object.GeometryVersion()) {
        UploadVertices(buffers, mesh->Vertices.data(),
                       static_cast<GLsizeiptr>(mesh->Vertices.size() * sizeof(TMeshVertex)));
        if (!buffers.Indices)
          glGenBuffers(1, &buffers.Indices);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffers.Indices);
        glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(mesh->Indices.size() * sizeof(std::uint32_t)),
                     mesh->Indices.data(), GL_STATIC_DRAW);
        buffers.Version = object.GeometryVersion();
      }
      const QMatrix4x4 model = form.Matrix();
      if (pick)
        UseFlat(model, pickColor);
      else
        UseLit(model);
      BindPositions(buffers.Vertices, sizeof(TMeshVertex), !pick);
      glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffers.Indices);
      for (int p = 0; p < static_cast<int>(mesh->Parts.size()); ++p) {
        const TMeshPart& part = mesh->Parts[static_cast<std::size_t>(p)];
        if (!pick)
          SetMaterial(form.PartMaterial(p));
        glDrawElements(GL_TRIANGLES, part.IndexCount, GL_UNSIGNED_INT,
                       reinterpret_cast<const void*>(static_cast<std::uintptr_t>(part.FirstIndex) * sizeof(std::uint32_t)));
      }
      glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
      break;
    }
    case TObjectKind::Lines: {
      const auto& lines = static_cast<const TLines&>(object);
      TGpuBuffers& buffers = Buffers(object);
      if (buffers.Version != object.GeometryVersion()) {
        UploadVertices(buffers, lines.Nodes().data(), static_cast<GLsizeiptr>(lines.Nodes().size() * sizeof(QVector3D)));
        buffers.Count = lines.NodeCount();
        buffers.Version = object.GeometryVersion();
      }
      DrawLineBuffer(buffers, GL_LINE_STRIP, lines.Matrix(), pick ? pickColor : lines.LineColor(), lines.LineWidth());
      break;
    }
    case TObjectKind::Grid: {
      const auto& grid = static_cast<const TXYZGrid&>(object);
      TGpuBuffers& buffers = Buffers(object);
      if (buffers.Version != object.GeometryVersion()) {
        const std::vector<QVector3D> vertices = grid.LineVertices();
        UploadVertices(buffers, vertices.data(), static_cast<GLsizeiptr>(vertices.size() * sizeof(QVector3D)));
        buffers.Count = static_cast<int>(vertices.size());
        buffers.Version = object.GeometryVersion();
      }
      DrawLineBuffer(buffers, GL_LINES, grid.Matrix(), pick ? pickColor : grid.LineColor(), 1);
      break;
    }
    case TObjectKind::Dummy: {
      const auto& dummy = static_cast<const TDummyCube&>(object);
      if (!dummy.ShowAxes())
        break;
      QMatrix4x4 model = dummy.Matrix();
      model.scale(dummy.CubeSize());
      BindPositions(FAxesBuffer, 3 * sizeof(float), false);
      for (int axis = 0; axis < 3; ++axis) {
        const TColor strong = kAxisColors[axis];
        const TColor pale{0.5f + strong.x() / 2, 0.5f + strong.y() / 2, 0.5f + strong.z() / 2, 1};
        UseFlat(model, pick ? pickColor : strong);
        glDrawArrays(GL_LINES, 2 * axis, 2);
        UseFlat(model, pick ? pickColor : pale);
        glDrawArrays(GL_LINES, 6 + 2 * axis, 2);
      }
      break;
    }
    case TObjectKind::Light:
    case TObjectKind::Camera: break;
  }
}
