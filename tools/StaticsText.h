// How the tools write the statics of a balance: the warnings as words and as readable
// lines, stability, eigenvalues and CSV fields. Shared by balance, sweep and advise, and
// by the window, which states the health of every balance in the same words.
#pragma once

#include <string>

#include "mechanics/DoorStatics.h"
#include "mechanics/RiggingSearch.h"

// The warnings' words joined by separator ("stalled;falling_over"); empty for none.
std::string WarningWords(const TWarnings& warnings, const char* separator);
// The warnings as a JSON list of words.
std::string JsonWarnings(const TWarnings& warnings);
// One readable sentence for a warning of this balance, without a line end.
std::string WarningLine(TBalanceWarning warning, const TBalanceOutcome& outcome);
// The health of a balance in plain words for the window's status bar: converged or
// not, stable or not, heel and pitch, then each warning as a sentence of its own.
std::string HealthLine(const TBalanceOutcome& outcome);
// true, false, or null when the balance did not converge.
std::string JsonStable(const TBalanceOutcome& outcome);
// [[re, im], [re, im], [re, im]] of the Jacobian, or null when not assessed.
std::string JsonEigenvalues(const TBalanceOutcome& outcome);
// true, false, or empty when the balance did not converge (a CSV field).
std::string CsvStable(const TBalanceOutcome& outcome);
// value with 17 significant digits, empty when it is NaN or infinite.
std::string CsvNumber(Real value);

// The --area value of a door: "4.5" .. "14.4", or "default" for the start-up door.
std::string AreaText(int areaTag);
// "small", "medium" or "large".
const char* BracketName(TBracketSize size);
// A bridle hole as "ROW,HOLE", both counted from 1.
std::string HoleText(int index);
// The advisor's CSV: the header row, and the row of a rigging at its rank (no line ends).
std::string RiggingCsvHeader();
std::string RiggingCsvRow(int rank, const TRiggingCandidate& candidate);
