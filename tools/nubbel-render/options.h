// The command line of nubbel-render.
#pragma once

#include <string>
#include <vector>

#include "tools/nubbel-render/renderer.h"
#include "tools/nubbel-render/wav_writer.h"

namespace render {

struct Options {
    std::string pluginPath;
    std::string midiPath;  // empty: the demo phrase (or nothing, with an input signal)
    std::string output;    // a file; with allPrograms a folder
    std::string program;   // number or name; empty: the plug-in's current program
    bool allPrograms = false;
    bool list = false;
    std::vector<std::string> loads;        // .fxp / .fxb, in order
    std::vector<std::string> assignments;  // NAME=VALUE, in order
    std::string savePreset, saveBank;
    SampleFormat format = SampleFormat::Pcm24;
    RenderSettings render;
    double minimumLengthSeconds = -1.0;  // < 0: not given
    std::string bridge;                  // helper program; empty: chosen by the plug-in's kind
    bool quiet = false;
    bool help = false;
    bool version = false;
};

// Throws Failure naming the offending option (exit code kExitUsage).
Options parseOptions(int argc, char** argv);
const char* usageText();

}  // namespace render
