#include "tools/nubbel-render/plugin_state.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <strings.h>

#include "tools/nubbel-render/failure.h"

namespace render {

namespace {

std::string trimmed(const std::string& s) {
    const size_t first = s.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

// The whole text as a non-negative integer, or -1.
long wholeNumber(const std::string& text) {
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos) return -1;
    return std::strtol(text.c_str(), nullptr, 10);
}

std::string currentProgramName(Plugin& plugin) { return plugin.text(effGetProgramName, 0); }

PresetFile captureProgramParams(Plugin& plugin) {
    const PluginInfo& info = plugin.info();
    PresetFile p;
    p.kind = PresetKind::ProgramParams;
    p.fxID = info.uniqueID;
    p.fxVersion = info.version;
    p.numParams = info.numParams;
    p.name = currentProgramName(plugin);
    for (VstInt32 i = 0; i < info.numParams; ++i) p.params.push_back(plugin.getParameter(i));
    return p;
}

void applyProgramParams(Plugin& plugin, const PresetFile& p, const std::string& path) {
    if (p.numParams != plugin.info().numParams)
        throw Failure(path, "made for " + std::to_string(p.numParams) + " parameters, the plug-in has " +
                                std::to_string(plugin.info().numParams));
    for (VstInt32 i = 0; i < p.numParams; ++i) plugin.setParameter(i, p.params[static_cast<size_t>(i)]);
    plugin.setProgramName(p.name);
}

}  // namespace

std::vector<std::string> programNames(Plugin& plugin) {
    std::vector<std::string> names;
    bool anyIndexed = false;
    for (VstInt32 i = 0; i < plugin.info().numPrograms; ++i) {
        names.push_back(plugin.text(effGetProgramNameIndexed, i));
        anyIndexed = anyIndexed || !names.back().empty();
    }
    // Older plug-ins name only their current program.
    if (!anyIndexed && plugin.info().numPrograms > 0) {
        const VstIntPtr current = plugin.dispatch(effGetProgram, 0, 0, 0.0f);
        for (VstInt32 i = 0; i < plugin.info().numPrograms; ++i) {
            plugin.dispatch(effSetProgram, 0, i, 0.0f);
            names[static_cast<size_t>(i)] = currentProgramName(plugin);
        }
        plugin.dispatch(effSetProgram, 0, current, 0.0f);
    }
    return names;
}

VstInt32 findProgram(Plugin& plugin, const std::string& numberOrName, const std::string& subject) {
    const VstInt32 count = plugin.info().numPrograms;
    const long number = wholeNumber(numberOrName);
    if (number >= 0) {
        if (number >= count)
            throw Failure(subject, "no program " + numberOrName + " (the plug-in has " + std::to_string(count) + ")");
        return static_cast<VstInt32>(number);
    }
    const std::vector<std::string> names = programNames(plugin);
    for (size_t i = 0; i < names.size(); ++i)
        if (strcasecmp(trimmed(names[i]).c_str(), trimmed(numberOrName).c_str()) == 0) return static_cast<VstInt32>(i);
    throw Failure(subject, "no program named \"" + numberOrName + "\"");
}

void selectProgram(Plugin& plugin, VstInt32 program) {
    plugin.dispatch(effBeginSetProgram, 0, 0, 0.0f);
    plugin.dispatch(effSetProgram, 0, program, 0.0f);
    plugin.dispatch(effEndSetProgram, 0, 0, 0.0f);
}

void setParameterByName(Plugin& plugin, const std::string& assignment, const std::string& subject) {
    const size_t equals = assignment.rfind('=');
    if (equals == std::string::npos || equals == 0) throw Failure(subject, "\"" + assignment + "\" is not NAME=VALUE");
    const std::string name = trimmed(assignment.substr(0, equals));
    const std::string valueText = trimmed(assignment.substr(equals + 1));
    char* end = nullptr;
    errno = 0;
    const float value = std::strtof(valueText.c_str(), &end);
    if (valueText.empty() || *end != 0 || errno == ERANGE || !std::isfinite(value))
        throw Failure(subject, "\"" + valueText + "\" is not a number (parameter values run from 0 to 1)");

    VstInt32 index = -1;
    for (VstInt32 i = 0; i < plugin.info().numParams && index < 0; ++i)
        if (strcasecmp(trimmed(plugin.text(effGetParamName, i)).c_str(), name.c_str()) == 0) index = i;
    const long number = wholeNumber(name);
    if (index < 0 && number >= 0 && number < plugin.info().numParams) index = static_cast<VstInt32>(number);
    if (index < 0) throw Failure(subject, "the plug-in has no parameter named \"" + name + "\"");
    plugin.setParameter(index, value);
}

PresetFile capturePreset(Plugin& plugin) {
    const PluginInfo& info = plugin.info();
    if (!info.hasChunks()) return captureProgramParams(plugin);
    PresetFile p;
    p.kind = PresetKind::ProgramChunk;
    p.fxID = info.uniqueID;
    p.fxVersion = info.version;
    p.numParams = info.numParams;
    p.name = currentProgramName(plugin);
    p.chunk = plugin.getChunk(true);
    return p;
}

PresetFile captureBank(Plugin& plugin) {
    const PluginInfo& info = plugin.info();
    PresetFile p;
    p.formatVersion = 2;
    p.fxID = info.uniqueID;
    p.fxVersion = info.version;
    p.numPrograms = info.numPrograms;
    p.currentProgram = static_cast<VstInt32>(plugin.dispatch(effGetProgram, 0, 0, 0.0f));
    if (info.hasChunks()) {
        p.kind = PresetKind::BankChunk;
        p.chunk = plugin.getChunk(false);
        return p;
    }
    p.kind = PresetKind::BankParams;
    for (VstInt32 i = 0; i < info.numPrograms; ++i) {
        selectProgram(plugin, i);
        p.programs.push_back(captureProgramParams(plugin));
    }
    selectProgram(plugin, p.currentProgram);
    return p;
}

void applyPreset(Plugin& plugin, const PresetFile& preset, const std::string& path) {
    const PluginInfo& info = plugin.info();
    if (preset.fxID != info.uniqueID)
        throw Failure(path, "made for another plug-in (ID '" + fourCCText(preset.fxID) + "', this plug-in is '" +
                                fourCCText(info.uniqueID) + "')");
    const bool chunk = preset.kind == PresetKind::ProgramChunk || preset.kind == PresetKind::BankChunk;
    if (chunk && !info.hasChunks()) throw Failure(path, "holds an opaque chunk, but the plug-in does not take chunks");
    switch (preset.kind) {
        case PresetKind::ProgramParams: applyProgramParams(plugin, preset, path); return;
        case PresetKind::ProgramChunk:
            if (plugin.setChunk(preset.chunk, true) == 0) throw Failure(path, "the plug-in refused the preset");
            plugin.setProgramName(preset.name);
            return;
        case PresetKind::BankChunk:
            if (plugin.setChunk(preset.chunk, false) == 0) throw Failure(path, "the plug-in refused the bank");
            break;
        case PresetKind::BankParams: {
            if (preset.numPrograms > info.numPrograms)
                throw Failure(path, "holds " + std::to_string(preset.numPrograms) + " programs, the plug-in has " +
                                        std::to_string(info.numPrograms));
            for (VstInt32 i = 0; i < preset.numPrograms; ++i) {
                selectProgram(plugin, i);
                applyProgramParams(plugin, preset.programs[static_cast<size_t>(i)], path);
            }
            break;
        }
    }
    // A bank of format 2 says which program was current when it was saved.
    const VstInt32 current = preset.formatVersion >= 2 ? preset.currentProgram : 0;
    if (current >= 0 && current < info.numPrograms) selectProgram(plugin, current);
}

}  // namespace render
