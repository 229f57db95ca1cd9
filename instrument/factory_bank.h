// The eight programs every new instance starts with.
#pragma once

#include "instrument/program_bank.h"

// 8 × 220 bytes, copied whole into the bank at construction. Values are the
// shortest decimals that convert to the intended floats, so the bytes are
// exact: 0.28499994f is 83 EB 91 3E.
extern const ProgramRecord kFactoryBank[kProgramCount];
