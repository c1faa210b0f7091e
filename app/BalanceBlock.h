// The balance link's block in this program's terms: the seven towing inputs and the
// results of a balance run, read from and written into the 408 bytes field by field.
// Every real crosses as an explicitly encoded 80-bit extended number, never as a copy of
// memory, and each side writes only the fields it owns.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "app/BalanceLink.h"
#include "mechanics/DoorSolver.h"

// The seven inputs, in the order of the block; SI units and radians.
struct TBalanceInputs {
  Real TrawlSpeed = 0;         // m/s
  Real TrawlResistance = 0;    // N
  Real WaterDensity = 0;       // kg/m^3
  Real WarpAngleOnPlan = 0;    // rad
  Real WarpAngleOnSide = 0;    // rad
  Real BridleAngleOnPlan = 0;  // rad
  Real BridleAngleOnSide = 0;  // rad
};

// What a balance run leaves in the block; flow frame.
struct TBalanceResults {
  Txyz Attitude;   // balanced rotations about x, y, z, rad
  Txyz Moment;     // moment at the final attitude, N*m (y reversed)
  Txyz Force;      // FForce: resistance, spreading and vertical force, N
  Txyz PairUpper;  // FPairUpperPos, m
  Txyz PairLower;  // FPairLowerPos, m
  Txyz TowPoint;   // FTowPoint, m
};

// value as an x87 extended real: 10 bytes, little-endian. Exact for every Real.
void EncodeExtended(Real value, unsigned char* bytes);
// The extended real in 10 bytes; an exponent of 1..32766 with the integer bit clear
// (an "unnormal", which the x87 refuses) reads as NaN.
Real DecodeExtended(const unsigned char* bytes);

// A 16-byte slot: the encoded value, then six zero bytes.
void WriteSlot(unsigned char* slot, Real value);
// A 16-byte slot's value; bytes 10 to 15 are not read.
inline Real ReadSlot(const unsigned char* slot) { return DecodeExtended(slot); }

// The two handles, unsigned 32-bit little-endian.
inline std::uint32_t MainWindowOf(const TBalanceBlock& block) { return BalanceLinkGetHandle(block.MainWindow); }
inline void SetMainWindow(TBalanceBlock& block, std::uint32_t window) { BalanceLinkPutHandle(block.MainWindow, window); }
inline std::uint32_t CallerWindowOf(const TBalanceBlock& block) { return BalanceLinkGetHandle(block.CallerWindow); }
inline void SetCallerWindow(TBalanceBlock& block, std::uint32_t window) { BalanceLinkPutHandle(block.CallerWindow, window); }

// The input slots, offsets 8 to 119.
TBalanceInputs InputsOf(const TBalanceBlock& block);
void SetInputs(TBalanceBlock& block, const TBalanceInputs& inputs);
// The result slots, offsets 120 to 407.
TBalanceResults ResultsOf(const TBalanceBlock& block);
void SetResults(TBalanceBlock& block, const TBalanceResults& results);

// The results of the run that just ended on model: its attitude, the moment the run
// returned, and the force and points of the model's last evaluation (at that attitude).
TBalanceResults BalanceResultsOf(const TDoorModel& model, const TSolveResult& run);

// Name of this user's shared block: "/BalancingOfOtterboard-<uid>", or the name in the
// environment variable RAVLEN_LINK_BLOCK, which lets tests run beside a real copy of the
// program. Empty when that variable is set but holds no valid name ("/" and 1 to 254
// characters without "/"): a test meant to be private must never reach the real block.
std::optional<std::string> LinkBlockName();
// The message for an invalid RAVLEN_LINK_BLOCK, naming what it holds (escaped).
std::string InvalidLinkBlockText();
