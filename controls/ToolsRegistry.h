// Reading settings with a fall-back: the window settings code reads every stored real
// and flag through these, so a missing or damaged value never stops a window.
#pragma once

#include <QString>

#include "coefficients/Real.h"

class TRegistry;

// The real stored under name in the open key (a binary value of exactly 8 bytes, an
// IEEE-754 double, little-endian); def when it is missing or of another type or size.
Real RegReadRealDef(const TRegistry& registry, const QString& name, Real def);
// The flag stored under name in the open key (an integer value, non-zero meaning set);
// def when it is missing or of another type.
bool RegReadBoolDef(const TRegistry& registry, const QString& name, bool def);
