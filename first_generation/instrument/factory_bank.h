// The first generation's program bank and the eight programs every new
// instance starts with.
#pragma once

#include "plugin_base/program_bank.h"

namespace firstgen {

// 23 parameters: 116-byte records, a 92-byte preset chunk and a 928-byte bank
// chunk, the sizes hosts have stored in their projects.
using ProgramRecord = ProgramRecordOf<23>;
using ProgramBank = ProgramBankOf<23>;
static_assert(sizeof(ProgramRecord) == 116 && ProgramBank::presetChunkSize == 92 && ProgramBank::bankChunkSize == 928,
              "chunk sizes the host has stored in its projects");

// 8 x 116 bytes, copied whole into the bank at construction. Each value is
// the float nearest to its three-decimal setting (0.635f is 5C 8F 22 3F);
// names are zero-padded.
extern const ProgramRecord kFactoryBank[kProgramCount];

}  // namespace firstgen

extern template class ProgramBankOf<23>;
