// The rigging advisor's search: balances every rigging of one door, or of several
// members of the family (15 upper holes x 15 lower holes x 3 bracket pairs x 5 towing
// holes = 3375 each), keeps the balanced, stable, unstalled ones whose heel and pitch lie
// in the asked ranges, and ranks them by spreading force or by spreading per unit of
// the door's resistance. The command line and the window's advisor both call it.
#pragma once

#include <atomic>
#include <functional>
#include <vector>

#include "DoorChoice.h"
#include "DoorStatics.h"

inline constexpr int kRiggingsPerDoor = kHoleCount * kHoleCount * 3 * kTowHoles;  // 3375

enum class TRiggingRank {
  Spreading,   // FForce.Y, N
  Efficiency,  // FForce.Y / FForce.X: spreading per unit of the door's own resistance
};

// Spreading per unit of the door's own resistance: the efficiency ranking's key, from the
// door's force (resistance X, spreading Y).
inline Real Efficiency(const Txyz& force) { return force.Y / force.X; }

struct TRiggingSearchDef {
  std::vector<TDoorChoice> Doors{TDoorChoice{}};
  TDoorInputs Inputs;       // towing conditions of every balance
  Txyz StartAttitude;       // every rigging is balanced from here, radians
  Real SolverFactor = 10000;  // used by the relaxation (and Newton's fallback)
  TBalanceMethod Method = TBalanceMethod::Newton;
  Real HeelMin = -5 * kDegToRad, HeelMax = 5 * kDegToRad;    // kept heel range, inclusive, radians
  Real PitchMin = -5 * kDegToRad, PitchMax = 5 * kDegToRad;  // kept pitch range, inclusive, radians
  TRiggingRank Rank = TRiggingRank::Spreading;
  int Top = 10;      // how many of the best to return
  int Workers = 0;   // 0: every core
};

struct TRiggingCandidate {
  long Index = 0;  // door index * kRiggingsPerDoor + rigging index (RiggingAt)
  TDoorChoice Door;
  TRigging Rigging;
  Txyz Attitude;   // balanced attitude, radians
  Txyz Force;      // FForce there: resistance, spreading, vertical, N
  TBalanceOutcome Outcome;
  Real Score = 0;  // the ranking key
};

struct TRiggingSearchResult {
  std::vector<TRiggingCandidate> Best;  // best first; ties in the order of Index
  long Total = 0;      // configurations asked for
  long Balanced = 0;   // balanced before the run ended
  long Converged = 0;
  long Stable = 0;     // converged and stable
  long Kept = 0;       // passed every filter
  bool Cancelled = false;
};

// The members of the family a search covers: the given door, or every area, every
// ballast count and every bracket where asked, areas slowest, then ballast, then bracket.
std::vector<TDoorChoice> FamilyDoors(const TDoorChoice& door, bool allAreas, bool allBallast, bool allBrackets);

// Rigging i of a door, 0 .. kRiggingsPerDoor - 1: upper hole slowest, then lower hole,
// bracket pair, towing hole.
TRigging RiggingAt(int i);

// Runs the search. progress(balanced, total) runs on the calling thread about every
// kProgressPeriod; once *cancel is set the workers stop after the rigging in hand and
// the result ranks what was balanced.
TRiggingSearchResult SearchRiggings(const TRiggingSearchDef& def, const std::function<void(long, long)>& progress = {},
                                    const std::atomic<bool>* cancel = nullptr);
