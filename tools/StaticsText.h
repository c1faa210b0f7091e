// How the tools write the statics of a balance: the warnings as words and as readable
// lines, stability, eigenvalues and CSV fields. Shared by balance, sweep and advise.
#pragma once

#include <string>

#include "mechanics/DoorStatics.h"

// The warnings' words joined by separator ("stalled;falling_over"); empty for none.
std::string WarningWords(const TWarnings& warnings, const char* separator);
// The warnings as a JSON list of words.
std::string JsonWarnings(const TWarnings& warnings);
// One readable sentence for a warning of this balance, without a line end.
std::string WarningLine(TBalanceWarning warning, const TBalanceOutcome& outcome);
// true, false, or null when the balance did not converge.
std::string JsonStable(const TBalanceOutcome& outcome);
// [[re, im], [re, im], [re, im]] of the Jacobian, or null when not assessed.
std::string JsonEigenvalues(const TBalanceOutcome& outcome);
// true, false, or empty when the balance did not converge (a CSV field).
std::string CsvStable(const TBalanceOutcome& outcome);
// value with 17 significant digits, empty when it is NaN or infinite.
std::string CsvNumber(Real value);
