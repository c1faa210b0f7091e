// Runs N evaluations of the start-up door at changing attitudes, for counting the
// instructions of one evaluation under callgrind (tools/count-instructions.sh).
#include <cstdlib>

#include "mechanics/DoorModel.h"

int main(int argc, char** argv)
{
  const int n = argc > 1 ? std::atoi(argv[1]) : 1000;
  TDoorModel model;
  Txyz attitude{0.02L, -0.05L, 0.6L};
  Real sum = 0;
  for (int i = 0; i < n; ++i) {
    attitude.Z = attitude.Z + 1e-9L;
    sum = sum + model.EvaluateDoor(attitude).X;
  }
  return sum > 1e30L ? 1 : 0;
}
