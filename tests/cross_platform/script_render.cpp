// Renders one fixed script through a plug-in and writes the raw samples, so
// that builds for different platforms can be compared sample by sample:
//   vst-script-render PLUGIN OUT.f32     float32 little-endian, left then right per frame
//   vst-script-render --compare A.f32 B.f32 [TOLERANCE]
// The script plays notes on several channels, bends, changes parameters that
// regenerate the table and that move envelopes and filters, switches
// programs, takes and restores chunks and silences everything, at a block
// size that does not divide the offsets evenly, once at 48 kHz and once at
// 96 kHz. It plays either instrument: parameters are named by their role.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "tools/testhost/test_host.h"

namespace {

// The parameters the script moves, by role.
enum Role { kNone, kCutoff, kSpectral, kWidth, kRelease };

struct Step {
    VstInt32 block;  // the block before which this happens
    std::vector<testhost::MidiMessage> midi;
    Role parameter = kNone;
    float value = 0;
    VstInt32 program = -1;
    enum Chunk { kKeep, kTakePreset, kRestorePreset, kTakeBank, kRestoreBank } chunk = kKeep;
};

const std::vector<Step> kScript = {
    {0, {{0, 0x90, 60, 100}, {17, 0x90, 64, 90}, {33, 0x99, 67, 80}}},
    {10, {}, kNone, 0, -1, Step::kTakePreset},
    {20, {{5, 0xE0, 0x00, 0x50}}},
    {30, {}, kCutoff, 0.3f},
    {40, {{100, 0x80, 64, 0}, {101, 0x90, 72, 127}}},
    {50, {}, kSpectral, 0.75f},
    {55, {}, kNone, 0, -1, Step::kTakeBank},
    {60, {{0, 0xE0, 0x00, 0x40}, {2, 0x90, 48, 60}}},
    {65, {}, kRelease, 0.2f},
    {70, {}, kWidth, 1.0f},
    {80, {{40, 0x90, 76, 110}, {40, 0x90, 79, 110}}},
    {90, {}, kNone, 0, -1, Step::kRestorePreset},
    {100, {}, kNone, 0, 3},
    {105, {{0, 0x90, 57, 100}, {200, 0x90, 69, 100}}},
    {120, {}, kNone, 0, -1, Step::kRestoreBank},
    {130, {{0, 0xB0, 123, 0}, {10, 0x90, 62, 100}}},
    {150, {{0, 0x80, 62, 0}, {0, 0x80, 57, 0}, {0, 0x80, 69, 0}}},
    {160, {{7, 0x90, 50, 100}, {8, 0x90, 53, 100}}},
    {190, {{0, 0x80, 50, 0}, {0, 0x80, 53, 0}}},
};
constexpr VstInt32 kBlocks = 200;
constexpr VstInt32 kBlockSize = 333;
constexpr float kRates[] = {48000.0f, 96000.0f};

// The index of a role in the loaded instrument, told apart by its size.
VstInt32 indexOf(Role role, VstInt32 numParams) {
    const bool firstGeneration = numParams == 23;
    switch (role) {
        case kCutoff: return firstGeneration ? 15 : 41;
        case kSpectral: return 5;  // a harmonic group or a harmonic either way
        case kWidth: return firstGeneration ? 9 : 33;
        case kRelease: return firstGeneration ? 20 : 46;
        default: return -1;
    }
}

void renderAt(testhost::TestHost& host, float rate, std::vector<float>& interleaved) {
    host.start(rate, kBlockSize);
    std::vector<float> l(kBlockSize), r(kBlockSize);
    std::vector<unsigned char> preset, bank;
    for (VstInt32 block = 0; block < kBlocks; ++block) {
        for (const Step& step : kScript) {
            if (step.block != block) continue;
            if (step.parameter != kNone)
                host.setParameter(indexOf(step.parameter, host.effect()->numParams), step.value);
            if (step.program >= 0) host.dispatch(effSetProgram, 0, step.program);
            switch (step.chunk) {
                case Step::kTakePreset: preset = host.getChunk(true); break;
                case Step::kRestorePreset: host.setChunk(preset, true); break;
                case Step::kTakeBank: bank = host.getChunk(false); break;
                case Step::kRestoreBank: host.setChunk(bank, false); break;
                case Step::kKeep: break;
            }
            if (!step.midi.empty()) host.sendMidi(step.midi);
        }
        host.process(l.data(), r.data(), kBlockSize);
        for (VstInt32 i = 0; i < kBlockSize; ++i) {
            interleaved.push_back(l[i]);
            interleaved.push_back(r[i]);
        }
    }
    host.sendMidi({{0, 0xB0, 123, 0}});
    host.suspend();
}

int render(const char* plugin, const char* outPath) {
    testhost::TestHost host;
    std::string error;
    if (!host.load(plugin, error)) {
        std::fprintf(stderr, "vst-script-render: %s: %s\n", plugin, error.c_str());
        return 1;
    }
    std::vector<float> interleaved;
    for (float rate : kRates) renderAt(host, rate, interleaved);
    std::ofstream out(outPath, std::ios::binary);
    out.write(reinterpret_cast<const char*>(interleaved.data()),
              static_cast<std::streamsize>(interleaved.size() * sizeof(float)));
    if (!out) {
        std::fprintf(stderr, "vst-script-render: %s: cannot write\n", outPath);
        return 1;
    }
    return 0;
}

bool readAll(const char* path, std::vector<float>& samples) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) return false;
    const std::streamsize bytes = in.tellg();
    samples.resize(static_cast<size_t>(bytes) / sizeof(float));
    in.seekg(0);
    in.read(reinterpret_cast<char*>(samples.data()), static_cast<std::streamsize>(samples.size() * sizeof(float)));
    return static_cast<bool>(in);
}

int compare(const char* a, const char* b, double tolerance) {
    std::vector<float> x, y;
    if (!readAll(a, x) || !readAll(b, y)) {
        std::fprintf(stderr, "vst-script-render: cannot read %s or %s\n", a, b);
        return 1;
    }
    if (x.size() != y.size() || x.empty()) {
        std::fprintf(stderr, "vst-script-render: %s and %s differ in length\n", a, b);
        return 1;
    }
    double worst = 0, peak = 0;
    size_t differing = 0, at = 0;
    for (size_t i = 0; i < x.size(); ++i) {
        const double d = std::fabs(double(x[i]) - double(y[i]));
        if (!(d <= worst)) worst = d, at = i;
        differing += x[i] != y[i];
        peak = std::fmax(peak, std::fabs(double(x[i])));
    }
    std::printf("%zu samples, peak %.6f, %zu differ, largest difference %.3g at frame %zu\n", x.size(), peak, differing,
                worst, at / 2);
    return worst <= tolerance && peak > 0.01 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 4 && std::strcmp(argv[1], "--compare") == 0)
        return compare(argv[2], argv[3], argc >= 5 ? std::atof(argv[4]) : 0.0);
    if (argc == 3) return render(argv[1], argv[2]);
    std::fprintf(stderr, "usage: vst-script-render PLUGIN OUT.f32 | --compare A.f32 B.f32 [TOLERANCE]\n");
    return 2;
}
