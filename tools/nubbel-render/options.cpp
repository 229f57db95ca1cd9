#include "tools/nubbel-render/options.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <getopt.h>

#include "tools/nubbel-render/failure.h"

namespace render {

namespace {

// Limits the renderer accepts; beyond them a plug-in is asked for nonsense.
constexpr double kMinRate = 1000.0, kMaxRate = 768000.0;
constexpr long kMaxBlock = 16384;
constexpr double kMaxTailSeconds = 600.0, kMaxLengthSeconds = 3600.0;

enum LongOnly { kSet = 1000, kLoad, kSavePreset, kSaveBank, kTail, kFormat, kSine, kLength, kBridge, kList, kVersion };

const option kOptions[] = {
    {"output", required_argument, nullptr, 'o'},
    {"program", required_argument, nullptr, 'p'},
    {"all-programs", no_argument, nullptr, 'a'},
    {"rate", required_argument, nullptr, 'r'},
    {"block", required_argument, nullptr, 'b'},
    {"quiet", no_argument, nullptr, 'q'},
    {"help", no_argument, nullptr, 'h'},
    {"set", required_argument, nullptr, kSet},
    {"load", required_argument, nullptr, kLoad},
    {"save-preset", required_argument, nullptr, kSavePreset},
    {"save-bank", required_argument, nullptr, kSaveBank},
    {"tail-limit", required_argument, nullptr, kTail},
    {"format", required_argument, nullptr, kFormat},
    {"input-sine", required_argument, nullptr, kSine},
    {"length", required_argument, nullptr, kLength},
    {"bridge", required_argument, nullptr, kBridge},
    {"list", no_argument, nullptr, kList},
    {"version", no_argument, nullptr, kVersion},
    {nullptr, 0, nullptr, 0},
};

double number(const char* option, const char* text, double low, double high, const char* what) {
    char* end = nullptr;
    errno = 0;
    const double v = std::strtod(text, &end);
    if (end == text || *end != 0 || errno == ERANGE || !std::isfinite(v) || v < low || v > high)
        throw Failure(std::string(option) + " " + text, std::string(what));
    return v;
}

}  // namespace

const char* usageText() {
    return "Usage: nubbel-render [options] PLUGIN [MIDI-FILE]\n"
           "Plays a Standard MIDI File (or, without one, a built-in demo phrase) through a VST 2\n"
           "plug-in (.so, or a Windows .dll through the bridge helper under wine) into WAV files.\n"
           "\n"
           "  -o, --output PATH      the WAV file; with --all-programs the folder\n"
           "                         (default: PLUGIN-NN-PROGRAM.wav in the current folder)\n"
           "  -p, --program N|NAME   program by number (from 0) or name\n"
           "  -a, --all-programs     one file per program, named by number and program name\n"
           "      --set NAME=VALUE   set a parameter (0..1) by name or number; repeatable\n"
           "      --load FILE        load a preset (.fxp) or bank (.fxb); repeatable\n"
           "      --save-preset FILE\n"
           "                         save the program, as set up, as .fxp\n"
           "      --save-bank FILE   save all programs, as set up, as .fxb\n"
           "  -r, --rate HZ          sample rate (default 44100)\n"
           "  -b, --block FRAMES     block size (default 512)\n"
           "      --format F         16, 24 or float (default 24)\n"
           "      --tail-limit S     render at most S seconds after the last event, until the\n"
           "                         output falls below -90 dBFS (default 30)\n"
           "      --input-sine HZ    feed a sine (-6 dBFS) into an effect's inputs\n"
           "      --length S         play at least S seconds; with --input-sine and no MIDI\n"
           "                         file, exactly S seconds (default 2)\n"
           "      --bridge HELPER    host the plug-in in this helper program (default for a\n"
           "                         .dll: nubbel-render-bridge.exe of the DLL's build)\n"
           "      --list             print the plug-in's programs and parameters and stop\n"
           "  -q, --quiet            no progress bar\n"
           "  -h, --help             this text\n"
           "      --version          the version of nubbel-render\n";
}

Options parseOptions(int argc, char** argv) {
    Options o;
    optind = 1;
    opterr = 0;
    int c;
    while ((c = getopt_long(argc, argv, ":o:p:ar:b:qh", kOptions, nullptr)) != -1) {
        switch (c) {
            case 'o': o.output = optarg; break;
            case 'p': o.program = optarg; break;
            case 'a': o.allPrograms = true; break;
            case 'r':
                o.render.sampleRate = number("--rate", optarg, kMinRate, kMaxRate,
                                             "the sample rate must be a whole number of Hz from 1000 to 768000");
                if (o.render.sampleRate != std::floor(o.render.sampleRate))
                    throw Failure(std::string("--rate ") + optarg, "the sample rate must be a whole number of Hz");
                break;
            case 'b': {
                const double v = number("--block", optarg, 1, kMaxBlock, "the block size must be 1 to 16384 frames");
                if (v != std::floor(v))
                    throw Failure(std::string("--block ") + optarg, "the block size must be a whole number");
                o.render.blockSize = static_cast<VstInt32>(v);
                break;
            }
            case 'q': o.quiet = true; break;
            case 'h': o.help = true; break;
            case kVersion: o.version = true; break;
            case kSet: o.assignments.push_back(optarg); break;
            case kLoad: o.loads.push_back(optarg); break;
            case kSavePreset: o.savePreset = optarg; break;
            case kSaveBank: o.saveBank = optarg; break;
            case kTail:
                o.render.tailLimitSeconds =
                    number("--tail-limit", optarg, 0, kMaxTailSeconds, "the tail limit must be 0 to 600 seconds");
                break;
            case kFormat: {
                const std::string f = optarg;
                if (f == "16")
                    o.format = SampleFormat::Pcm16;
                else if (f == "24")
                    o.format = SampleFormat::Pcm24;
                else if (f == "float" || f == "32")
                    o.format = SampleFormat::Float32;
                else
                    throw Failure("--format " + f, "the format must be 16, 24 or float");
                break;
            }
            case kSine:
                o.render.inputSineHz = number("--input-sine", optarg, 1e-3, 1e6, "the frequency must be above 0 Hz");
                break;
            case kLength:
                o.minimumLengthSeconds =
                    number("--length", optarg, 0, kMaxLengthSeconds, "the length must be 0 to 3600 seconds");
                break;
            case kBridge: o.bridge = optarg; break;
            case kList: o.list = true; break;
            case ':': throw Failure(argv[optind - 1], "needs a value");
            default: {
                const std::string given = optopt ? std::string("-") + static_cast<char>(optopt) : argv[optind - 1];
                throw Failure(given, "unknown option (see --help)");
            }
        }
    }
    if (o.help || o.version) return o;
    const int rest = argc - optind;
    if (rest < 1) throw Failure("usage", "nubbel-render [options] PLUGIN [MIDI-FILE] (see --help)");
    if (rest > 2) throw Failure(argv[optind + 2], "one plug-in and at most one MIDI file, please");
    o.pluginPath = argv[optind];
    if (rest == 2) o.midiPath = argv[optind + 1];
    if (o.render.inputSineHz >= o.render.sampleRate / 2)
        throw Failure("--input-sine", "the frequency must lie below half the sample rate");
    if (o.allPrograms) {
        const char* clash = !o.program.empty()      ? "--program"
                            : !o.savePreset.empty() ? "--save-preset"
                            : !o.saveBank.empty()   ? "--save-bank"
                                                    : nullptr;
        if (clash) throw Failure("--all-programs", std::string("cannot be combined with ") + clash);
    }
    return o;
}

}  // namespace render
