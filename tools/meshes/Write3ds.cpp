// The 3DS chunk layout: every chunk is a 16-bit id and a 32-bit length that counts its
// own 6-byte header, all numbers little-endian.
#include "Write3ds.h"

#include <bit>
#include <initializer_list>

namespace {

class TChunks {
 public:
  size_t Begin(std::uint16_t id)
  {
    U16(id);
    const size_t at = FBytes.size();
    U32(0);
    return at;
  }
  void End(size_t at)
  {
    const auto length = static_cast<std::uint32_t>(FBytes.size() - at + 2);
    for (int k = 0; k < 4; ++k)
      FBytes[at + k] = static_cast<std::uint8_t>(length >> (8 * k));
  }
  void U8(std::uint8_t v) { FBytes.push_back(v); }
  void U16(std::uint16_t v) { U8(v & 0xff), U8(static_cast<std::uint8_t>(v >> 8)); }
  void U32(std::uint32_t v) { U16(v & 0xffff), U16(static_cast<std::uint16_t>(v >> 16)); }
  void F32(float v) { U32(std::bit_cast<std::uint32_t>(v)); }
  void Text(const std::string& s)
  {
    FBytes.insert(FBytes.end(), s.begin(), s.end());
    U8(0);
  }
  std::vector<std::uint8_t>& Bytes() { return FBytes; }

 private:
  std::vector<std::uint8_t> FBytes;
};

constexpr std::uint16_t kMain = 0x4D4D, kVersion = 0x0002, kEditor = 0x3D3D, kMeshVersion = 0x3D3E,
                        kMasterScale = 0x0100, kColor24 = 0x0011, kIntPercent = 0x0030;
constexpr std::uint16_t kMaterial = 0xAFFF, kMatName = 0xA000, kMatAmbient = 0xA010,
                        kMatDiffuse = 0xA020, kMatSpecular = 0xA030, kMatShininess = 0xA040,
                        kMatShinStrength = 0xA041, kMatTransparency = 0xA050, kMatTwoSided = 0xA081,
                        kMatShading = 0xA100;
constexpr std::uint16_t kObject = 0x4000, kTriMesh = 0x4100, kPoints = 0x4110, kLocalAxes = 0x4160,
                        kFaces = 0x4120, kFaceMaterial = 0x4130, kSmoothing = 0x4150;
constexpr std::uint16_t kKeyframer = 0xB000, kKfHeader = 0xB00A, kKfSegment = 0xB008, kKfTime = 0xB009,
                        kObjectNode = 0xB002, kNodeId = 0xB030, kNodeHeader = 0xB010, kPivot = 0xB013,
                        kPositionTrack = 0xB020, kRotationTrack = 0xB021, kScaleTrack = 0xB022;
constexpr std::uint16_t kNoParent = 0xFFFF;
constexpr std::uint16_t kPhongShading = 3;
constexpr std::uint16_t kShininessStrength = 25;  // percent; without it readers fall back to Gouraud

void Colour(TChunks& c, std::uint16_t id, TRgb rgb)
{
  const size_t at = c.Begin(id);
  const size_t inner = c.Begin(kColor24);
  c.U8(rgb.R), c.U8(rgb.G), c.U8(rgb.B);
  c.End(inner);
  c.End(at);
}

void Percent(TChunks& c, std::uint16_t id, std::uint16_t percent)
{
  const size_t at = c.Begin(id);
  const size_t inner = c.Begin(kIntPercent);
  c.U16(percent);
  c.End(inner);
  c.End(at);
}

void Material(TChunks& c, const TMaterial& m)
{
  const size_t at = c.Begin(kMaterial);
  const size_t name = c.Begin(kMatName);
  c.Text(m.Name);
  c.End(name);
  Colour(c, kMatAmbient, m.Diffuse);
  Colour(c, kMatDiffuse, m.Diffuse);
  Colour(c, kMatSpecular, {229, 229, 229});
  Percent(c, kMatShininess, 50);
  Percent(c, kMatShinStrength, kShininessStrength);
  Percent(c, kMatTransparency, 0);
  // A flag chunk has no data of its own; readers that skip empty chunks miss it, so it
  // carries one ignored byte.
  const size_t twoSided = c.Begin(kMatTwoSided);
  c.U8(0);
  c.End(twoSided);
  const size_t shading = c.Begin(kMatShading);
  c.U16(kPhongShading);
  c.End(shading);
  c.End(at);
}

void Object(TChunks& c, const TFileObject& o)
{
  const TMeshObject& mesh = *o.Mesh;
  const size_t at = c.Begin(kObject);
  c.Text(mesh.Name());
  const size_t tri = c.Begin(kTriMesh);

  const size_t points = c.Begin(kPoints);
  c.U16(static_cast<std::uint16_t>(mesh.Vertices().size()));
  for (const TVec3& p : mesh.Vertices())
    c.F32(static_cast<float>(p.X)), c.F32(static_cast<float>(p.Y)), c.F32(static_cast<float>(p.Z));
  c.End(points);

  // The points are in the file's own frame: identity axes at the origin.
  const size_t axes = c.Begin(kLocalAxes);
  for (const float v : {1.f, 0.f, 0.f, 0.f, 1.f, 0.f, 0.f, 0.f, 1.f, 0.f, 0.f, 0.f})
    c.F32(v);
  c.End(axes);

  const size_t faces = c.Begin(kFaces);
  const auto count = static_cast<std::uint16_t>(mesh.Triangles().size());
  c.U16(count);
  for (const TTriangle& t : mesh.Triangles())
    c.U16(t.V[0]), c.U16(t.V[1]), c.U16(t.V[2]), c.U16(t.EdgeFlags);
  const size_t group = c.Begin(kFaceMaterial);
  c.Text(o.Material.Name);
  c.U16(count);
  for (std::uint16_t k = 0; k < count; ++k)
    c.U16(k);
  c.End(group);
  const size_t smoothing = c.Begin(kSmoothing);
  for (const TTriangle& t : mesh.Triangles())
    c.U32(t.Smoothing);
  c.End(smoothing);
  c.End(faces);

  c.End(tri);
  c.End(at);
}

// A track of one key at frame 0 holding the given values.
void Track(TChunks& c, std::uint16_t id, std::initializer_list<float> key)
{
  const size_t at = c.Begin(id);
  c.U16(0), c.U32(0), c.U32(0);  // flags, two unused words
  c.U32(1);                      // keys
  c.U32(0), c.U16(0);            // frame 0, no spline parameters
  for (const float v : key)
    c.F32(v);
  c.End(at);
}

// The keyframer's node of an object: it names the object and places it where its points
// already are (no pivot, no move, no turn, unit scale).
void ObjectNode(TChunks& c, const std::string& name, std::uint16_t id)
{
  const size_t at = c.Begin(kObjectNode);
  const size_t nodeId = c.Begin(kNodeId);
  c.U16(id);
  c.End(nodeId);
  const size_t header = c.Begin(kNodeHeader);
  c.Text(name);
  c.U16(0), c.U16(0), c.U16(kNoParent);
  c.End(header);
  const size_t pivot = c.Begin(kPivot);
  c.F32(0), c.F32(0), c.F32(0);
  c.End(pivot);
  Track(c, kPositionTrack, {0, 0, 0});
  Track(c, kRotationTrack, {0, 0, 0, 1});
  Track(c, kScaleTrack, {1, 1, 1});
  c.End(at);
}

void Keyframer(TChunks& c, const std::vector<TFileObject>& objects)
{
  const size_t at = c.Begin(kKeyframer);
  const size_t header = c.Begin(kKfHeader);
  c.U16(5);
  c.Text("");
  c.U32(100);
  c.End(header);
  const size_t segment = c.Begin(kKfSegment);
  c.U32(0), c.U32(100);
  c.End(segment);
  const size_t time = c.Begin(kKfTime);
  c.U32(0);
  c.End(time);
  for (size_t i = 0; i < objects.size(); ++i)
    ObjectNode(c, objects[i].Mesh->Name(), static_cast<std::uint16_t>(i));
  c.End(at);
}

}  // namespace

std::vector<std::uint8_t> Write3ds(const std::vector<TFileObject>& objects)
{
  TChunks c;
  const size_t main = c.Begin(kMain);
  const size_t version = c.Begin(kVersion);
  c.U32(3);
  c.End(version);
  const size_t editor = c.Begin(kEditor);
  const size_t meshVersion = c.Begin(kMeshVersion);
  c.U32(3);
  c.End(meshVersion);
  for (const TFileObject& o : objects)
    Material(c, o.Material);
  const size_t scale = c.Begin(kMasterScale);
  c.F32(1.0f);
  c.End(scale);
  for (const TFileObject& o : objects)
    Object(c, o);
  c.End(editor);
  Keyframer(c, objects);
  c.End(main);
  return std::move(c.Bytes());
}
