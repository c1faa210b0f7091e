// The 3D Studio writer of the tests: chunks of a 16-bit id and a 32-bit length.
#include "Tiny3ds.h"

#include <cstring>

namespace {

// One chunk: a 16-bit id, a 32-bit length that counts the 6 header bytes, then the data
// and the sub-chunks.
class TChunk {
public:
  explicit TChunk(std::uint16_t id) { U16(id).U32(0); }
  TChunk& U8(std::uint8_t v) { return Bytes(&v, 1); }
  TChunk& U16(std::uint16_t v) { return Bytes(&v, 2); }
  TChunk& U32(std::uint32_t v) { return Bytes(&v, 4); }
  TChunk& F32(float v) { return Bytes(&v, 4); }
  TChunk& Text(const std::string& s) { return Bytes(s.c_str(), s.size() + 1); }
  TChunk& Sub(const TChunk& c)
  {
    FData += c.Done();
    return *this;
  }
  QByteArray Done() const
  {
    QByteArray out = FData;
    const auto size = static_cast<std::uint32_t>(out.size());
    std::memcpy(out.data() + 2, &size, 4);  // the file is little-endian, as the host
    return out;
  }

private:
  TChunk& Bytes(const void* p, std::size_t n)
  {
    FData.append(static_cast<const char*>(p), static_cast<qsizetype>(n));
    return *this;
  }
  QByteArray FData;
};

TChunk ColorChunk(std::uint16_t id, const std::array<std::uint8_t, 3>& c)
{
  return std::move(TChunk(id).Sub(TChunk(0x0011).U8(c[0]).U8(c[1]).U8(c[2])));
}

}  // namespace

T3dsObject Box3ds(const std::string& name, const std::string& material, std::array<float, 3> lo,
                  std::array<float, 3> hi)
{
  T3dsObject box{name, material, {}, {}};
  for (int i = 0; i < 8; ++i)
    box.Vertices.push_back({(i & 1) ? hi[0] : lo[0], (i & 2) ? hi[1] : lo[1], (i & 4) ? hi[2] : lo[2]});
  box.Faces = {{0, 2, 1}, {1, 2, 3}, {4, 5, 6}, {5, 7, 6}, {0, 1, 4}, {1, 5, 4},
               {2, 6, 3}, {3, 6, 7}, {0, 4, 2}, {2, 4, 6}, {1, 3, 5}, {3, 7, 5}};
  return box;
}

QByteArray Write3ds(const std::vector<T3dsMaterial>& materials, const std::vector<T3dsObject>& objects)
{
  TChunk editor(0x3D3D);
  editor.Sub(TChunk(0x3D3E).U32(3));
  for (const T3dsMaterial& m : materials)
    editor.Sub(TChunk(0xAFFF)
                   .Sub(TChunk(0xA000).Text(m.Name))
                   .Sub(ColorChunk(0xA010, m.Diffuse))
                   .Sub(ColorChunk(0xA020, m.Diffuse))
                   .Sub(ColorChunk(0xA030, {255, 255, 255}))
                   .Sub(TChunk(0xA040).Sub(TChunk(0x0030).U16(50)))
                   .Sub(TChunk(0xA081)));
  editor.Sub(TChunk(0x0100).F32(1));
  for (const T3dsObject& o : objects) {
    TChunk vertices(0x4110);
    vertices.U16(static_cast<std::uint16_t>(o.Vertices.size()));
    for (const auto& v : o.Vertices)
      vertices.F32(v[0]).F32(v[1]).F32(v[2]);
    TChunk matrix(0x4160);
    for (float v : {1.f, 0.f, 0.f, 0.f, 1.f, 0.f, 0.f, 0.f, 1.f, 0.f, 0.f, 0.f})
      matrix.F32(v);
    TChunk faces(0x4120);
    faces.U16(static_cast<std::uint16_t>(o.Faces.size()));
    for (const auto& f : o.Faces)
      faces.U16(f[0]).U16(f[1]).U16(f[2]).U16(7);
    TChunk group(0x4130);
    group.Text(o.Material).U16(static_cast<std::uint16_t>(o.Faces.size()));
    for (std::size_t i = 0; i < o.Faces.size(); ++i)
      group.U16(static_cast<std::uint16_t>(i));
    faces.Sub(group);
    editor.Sub(TChunk(0x4000).Text(o.Name).Sub(TChunk(0x4100).Sub(vertices).Sub(matrix).Sub(faces)));
  }
  return TChunk(0x4D4D).Sub(TChunk(0x0002).U32(3)).Sub(editor).Done();
}
