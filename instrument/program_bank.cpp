// The instrument's bank is compiled once here; other users of the header get
// the declaration only.
#include "instrument/program_bank.h"

template class ProgramBankOf<49>;
