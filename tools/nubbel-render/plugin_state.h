// The plug-in's programs, parameters, presets and banks as a host handles
// them: choosing a program by number or name, setting parameters by name,
// and moving state between the plug-in and .fxp / .fxb files.
#pragma once

#include <string>
#include <vector>

#include "tools/nubbel-render/plugin.h"
#include "tools/nubbel-render/preset_file.h"

namespace render {

std::vector<std::string> programNames(Plugin& plugin);
// A program number, or a name (compared without regard to case). Throws
// Failure naming subject when there is no such program.
VstInt32 findProgram(Plugin& plugin, const std::string& numberOrName, const std::string& subject);
void selectProgram(Plugin& plugin, VstInt32 program);

// "NAME=VALUE" (or "INDEX=VALUE"), the value normalised 0..1; throws Failure
// naming subject for an unknown name or a value that is no number.
void setParameterByName(Plugin& plugin, const std::string& assignment, const std::string& subject);

// The current program as a preset, or all programs as a bank: opaque chunks
// when the plug-in keeps its state in chunks, else parameter lists.
PresetFile capturePreset(Plugin& plugin);
PresetFile captureBank(Plugin& plugin);

// Loads a preset into the current program or a bank into the plug-in; throws
// Failure naming path when the file is for another plug-in or the plug-in
// refuses it.
void applyPreset(Plugin& plugin, const PresetFile& preset, const std::string& path);

}  // namespace render
