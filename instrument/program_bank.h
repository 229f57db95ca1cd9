// The third-generation instrument's program bank.
#pragma once

#include "plugin_base/program_bank.h"

// The third-generation instrument: 49 parameters, 220-byte records, a
// 196-byte preset chunk and a 1760-byte bank chunk.
using ProgramRecord = ProgramRecordOf<49>;
using ProgramBank = ProgramBankOf<49>;
static_assert(sizeof(ProgramRecord) == 220 && ProgramBank::presetChunkSize == 196 && ProgramBank::bankChunkSize == 1760,
              "chunk sizes the host has stored in its projects");

extern template class ProgramBankOf<49>;
