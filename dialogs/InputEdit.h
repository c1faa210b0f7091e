// Numeric edits of the balance inputs: an edit takes its name, range, decimals, default and
// display unit from the input's definition, so that every window shows the same numbers.
#pragma once

#include "mechanics/InputDefs.h"

class TEditF;

// Names the edit after the input and gives it the input's range (each bound inclusive or
// not), decimals, default and display multiplier, with the range enforced; then shows
// the start value. A labelled edit whose unit is set afterwards takes that unit's
// multiplier instead.
void SetUpInputEdit(TEditF& edit, TInput input);
