// Standard VST 2 preset (.fxp) and bank (.fxb) files, as bytes: a big-endian
// header 'CcnK', byte size of the rest, kind, format version, plug-in ID and
// version, then either an opaque chunk ('FPCh', 'FBCh') or plain float
// parameters ('FxCk', and 'FxBk' as a list of 'FxCk' programs).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "plugin_base/vst2_interface.h"

namespace render {

enum class PresetKind : VstInt32 {
    ProgramParams = fourCC("FxCk"),
    ProgramChunk = fourCC("FPCh"),
    BankParams = fourCC("FxBk"),
    BankChunk = fourCC("FBCh"),
};

struct PresetFile {
    PresetKind kind = PresetKind::ProgramChunk;
    VstInt32 formatVersion = 1;  // banks written by us say 2: currentProgram is valid
    VstInt32 fxID = 0;           // the plug-in's unique ID
    VstInt32 fxVersion = 0;      // the plug-in's version
    // Programs: the name (at most 28 bytes in the file) and the parameter count.
    std::string name;
    VstInt32 numParams = 0;
    std::vector<float> params;  // ProgramParams: numParams values
    // Banks.
    VstInt32 numPrograms = 0;
    VstInt32 currentProgram = 0;
    std::vector<PresetFile> programs;  // BankParams: numPrograms ProgramParams records
    // ProgramChunk and BankChunk: the plug-in's opaque bytes.
    std::vector<unsigned char> chunk;

    bool isBank() const { return kind == PresetKind::BankParams || kind == PresetKind::BankChunk; }
};

std::vector<unsigned char> encodePreset(const PresetFile& preset);
// Throws std::runtime_error with a reason when the bytes are no well-formed
// preset or bank (wrong header, sizes that disagree with the file).
PresetFile decodePreset(const std::vector<unsigned char>& bytes);

// "FPCh" and the like, for messages.
std::string fourCCText(VstInt32 code);

}  // namespace render
