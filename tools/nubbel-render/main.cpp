// nubbel-render: plays a MIDI file (or a built-in demo phrase) through a VST 2
// plug-in into WAV files. Every failure ends the program with one line,
// "nubbel-render: SUBJECT: reason", and leaves no partial file behind.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sys/stat.h>

#include "nubbel_version.h"
#include "tools/nubbel-render/demo_phrase.h"
#include "tools/nubbel-render/failure.h"
#include "tools/nubbel-render/midi_file.h"
#include "tools/nubbel-render/open_plugin.h"
#include "tools/nubbel-render/options.h"
#include "tools/nubbel-render/output_names.h"
#include "tools/nubbel-render/pending_file.h"
#include "tools/nubbel-render/plugin_state.h"
#include "tools/nubbel-render/renderer.h"

namespace render {
namespace {

// With only an input signal and no MIDI file, an effect is fed this long.
constexpr double kDefaultInputSeconds = 2.0;

Score chooseScore(const Options& o) {
    const bool lengthGiven = o.minimumLengthSeconds >= 0.0;
    if (o.midiPath.empty() && o.render.inputSineHz > 0.0) {
        Score input;
        input.description = "input";
        input.lengthSeconds = lengthGiven ? o.minimumLengthSeconds : kDefaultInputSeconds;
        return input;
    }
    Score score = o.midiPath.empty() ? demoPhrase() : readMidiFile(o.midiPath);
    if (lengthGiven) score.lengthSeconds = std::max(score.lengthSeconds, o.minimumLengthSeconds);
    return score;
}

struct LoadedFile {
    std::string path;
    PresetFile preset;
};

std::vector<LoadedFile> readPresetFiles(const std::vector<std::string>& paths) {
    std::vector<LoadedFile> files;
    for (const std::string& path : paths) {
        std::ifstream in(path, std::ios::binary);
        if (!in) throw Failure(path, "cannot open the preset file");
        std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        try {
            files.push_back({path, decodePreset(bytes)});
        } catch (const std::runtime_error& e) {
            throw Failure(path, e.what());
        }
    }
    return files;
}

// Banks first, then the program, then presets into it, then single values.
void setUp(Plugin& plugin, const Options& o, const std::vector<LoadedFile>& files, VstInt32 program) {
    for (const LoadedFile& f : files)
        if (f.preset.isBank()) applyPreset(plugin, f.preset, f.path);
    if (program >= 0) selectProgram(plugin, program);
    for (const LoadedFile& f : files)
        if (!f.preset.isBank()) applyPreset(plugin, f.preset, f.path);
    for (const std::string& a : o.assignments) setParameterByName(plugin, a, "--set " + a);
}

void save(const std::string& path, const PresetFile& state) {
    const bool chunk = state.kind == PresetKind::ProgramChunk || state.kind == PresetKind::BankChunk;
    if (chunk && state.chunk.empty()) throw Failure(path, "the plug-in gave no state chunk to save");
    writeWholeFile(path, encodePreset(state));
}

void requireAudio(const Plugin& plugin, const Options& o) {
    if (plugin.info().numOutputs < 1) throw Failure(o.pluginPath, "the plug-in has no audio outputs");
    if (o.render.inputSineHz > 0.0 && plugin.info().numInputs < 1)
        throw Failure(o.pluginPath, "--input-sine needs an effect, but the plug-in has no audio inputs");
}

void renderOne(Plugin& plugin, const Options& o, const Score& score, const std::string& path) {
    WavWriter out(path, plugin.info().numOutputs, static_cast<int>(o.render.sampleRate), o.format);
    ProgressBar progress(path, !o.quiet && stderrIsTerminal());
    const RenderStats stats = renderScore(plugin, score, o.render, out, progress);
    progress.clear();
    out.finish();
    const bool clipped = o.format != SampleFormat::Float32 && out.levels().peak > 1.0;
    std::printf("%s: %.1f s, peak %s, RMS %s%s%s\n", path.c_str(),
                static_cast<double>(stats.frames) / o.render.sampleRate, dbText(out.levels().peakDb()).c_str(),
                dbText(out.levels().rmsDb()).c_str(), clipped ? " (clipped)" : "",
                stats.tailLimited ? " (tail cut at the limit)" : "");
    std::fflush(stdout);
}

void list(Plugin& plugin) {
    const PluginInfo& info = plugin.info();
    std::printf("ID '%s', version %d, %d inputs, %d outputs, %s%s\n", fourCCText(info.uniqueID).c_str(), info.version,
                info.numInputs, info.numOutputs, info.isSynth() ? "instrument" : "effect",
                info.hasChunks() ? ", state in chunks" : "");
    std::vector<std::string> names = programNames(plugin);
    std::printf("programs:\n");
    for (size_t i = 0; i < names.size(); ++i) std::printf("  %zu %s\n", i, names[i].c_str());
    std::printf("parameters:\n");
    for (VstInt32 i = 0; i < info.numParams; ++i)
        std::printf("  %d %s = %g\n", i, plugin.text(effGetParamName, i).c_str(), plugin.getParameter(i));
}

std::string inFolder(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

int run(const Options& o) {
    if (o.list) {
        list(*openPlugin(o.pluginPath, o.bridge));
        return 0;
    }
    // The inputs that are quick to check come first.
    const Score score = chooseScore(o);
    const std::vector<LoadedFile> files = readPresetFiles(o.loads);
    if (o.allPrograms) {
        for (const LoadedFile& f : files)
            if (!f.preset.isBank()) throw Failure(f.path, "--all-programs takes banks only, not a single preset");
        struct stat folder;
        if (!o.output.empty() && (stat(o.output.c_str(), &folder) != 0 || !S_ISDIR(folder.st_mode)))
            throw Failure(o.output, "--all-programs writes into a folder, and this is none");
    }
    std::unique_ptr<Plugin> plugin = openPlugin(o.pluginPath, o.bridge);
    requireAudio(*plugin, o);

    if (!o.allPrograms) {
        const VstInt32 program = o.program.empty() ? -1 : findProgram(*plugin, o.program, o.pluginPath);
        setUp(*plugin, o, files, program);
        if (!o.savePreset.empty()) save(o.savePreset, capturePreset(*plugin));
        if (!o.saveBank.empty()) save(o.saveBank, captureBank(*plugin));
        const VstInt32 current = static_cast<VstInt32>(plugin->dispatch(effGetProgram, 0, 0, 0.0f));
        const std::string path = !o.output.empty() ? o.output
                                                   : programFileName(o.pluginPath, current, plugin->info().numPrograms,
                                                                     plugin->text(effGetProgramName, 0));
        renderOne(*plugin, o, score, path);
        return 0;
    }

    const VstInt32 count = std::max<VstInt32>(plugin->info().numPrograms, 1);
    for (VstInt32 p = 0; p < count; ++p) {
        // Every program starts from a freshly opened plug-in, so no sound or
        // state of one program reaches the next.
        if (p > 0) plugin->reopen();
        setUp(*plugin, o, files, plugin->info().numPrograms > 0 ? p : -1);
        const std::string name = programFileName(o.pluginPath, p, count, plugin->text(effGetProgramName, 0));
        renderOne(*plugin, o, score, inFolder(o.output, name));
    }
    return 0;
}

}  // namespace
}  // namespace render

int main(int argc, char** argv) {
    using namespace render;
    installInterruptCleanup();
    Options options;
    try {
        options = parseOptions(argc, argv);
    } catch (const Failure& f) {
        std::fprintf(stderr, "nubbel-render: %s\n", f.what());
        return kExitUsage;
    }
    if (options.help) {
        std::fputs(usageText(), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("nubbel-render %s\n", NUBBEL_VERSION);
        return 0;
    }
    try {
        return run(options);
    } catch (const Failure& f) {
        std::fflush(stdout);
        std::fprintf(stderr, "nubbel-render: %s\n", f.what());
        return kExitFailure;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "nubbel-render: %s: %s\n", options.pluginPath.c_str(), e.what());
        return kExitFailure;
    }
}
