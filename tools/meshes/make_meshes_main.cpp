// Build-time generator of the door's 3DS meshes: writes Wing.3ds (hull), the small, medium
// and large bracket and the ballast plate into the folder given on the command line,
// after checking that every object is a closed, outward-facing surface.
#include <cstdio>
#include <fstream>
#include <string>

#include "DoorMeshes.h"

namespace {

bool WriteFile(const std::string& path, const TMeshFile& file, bool verbose)
{
  int vertices = 0, triangles = 0;
  for (const TMeshObject& o : file.Objects) {
    const TMeshReport r = o.Check();
    if (!r.Fault.empty()) {
      std::fprintf(stderr, "%s: object %s: %s\n", path.c_str(), o.Name().c_str(), r.Fault.c_str());
      return false;
    }
    vertices += r.Vertices;
    triangles += r.Triangles;
    if (verbose)
      std::printf("  %-8s %5d V %5d T %2d solids %2d holes  X %8.2f %8.2f  Y %8.2f %8.2f  Z %8.2f %8.2f\n",
                  o.Name().c_str(), r.Vertices, r.Triangles, r.Solids, r.Holes, r.Min.X, r.Max.X, r.Min.Y,
                  r.Max.Y, r.Min.Z, r.Max.Z);
  }
  if (verbose)
    std::printf("%s: %zu objects, %d vertices, %d triangles\n", path.c_str(), file.Objects.size(), vertices,
                triangles);
  const std::vector<std::uint8_t> bytes = Write3ds(file.FileObjects());
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv)
{
  if (argc < 2) {
    std::fprintf(stderr, "usage: make_meshes OUTPUT-FOLDER [--verbose]\n");
    return 2;
  }
  const std::string dir = argv[1];
  const bool verbose = argc > 2 && std::string(argv[2]) == "--verbose";
  try {
    const bool ok = WriteFile(dir + "/1300.3ds", HullMeshes(), verbose) &&
                    WriteFile(dir + "/1301.3ds", BracketMeshes(TBracketSize::Small), verbose) &&
                    WriteFile(dir + "/1311.3ds", BracketMeshes(TBracketSize::Medium), verbose) &&
                    WriteFile(dir + "/1321.3ds", BracketMeshes(TBracketSize::Large), verbose) &&
                    WriteFile(dir + "/1302.3ds", BallastMeshes(), verbose);
    return ok ? 0 : 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_meshes: %s\n", e.what());
    return 1;
  }
}
