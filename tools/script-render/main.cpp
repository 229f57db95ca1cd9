// Renders one fixed script through a plug-in and writes the raw samples, so
// that builds for different platforms can be compared sample by sample:
//   vst-script-render PLUGIN OUT.f32     float32 little-endian, left then right per frame
//   vst-script-render --compare A.f32 B.f32 [TOLERANCE]
// The script plays notes on several channels, bends, changes parameters that
// regenerate the table and that move envelopes and filters, and switches
// programs, at a block size that does not divide the offsets evenly.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "tools/testhost/test_host.h"

namespace {

struct Step {
    VstInt32 block;  // the block before which this happens
    std::vector<testhost::MidiMessage> midi;
    VstInt32 parameter = -1;
    float value = 0;
    VstInt32 program = -1;
};

const std::vector<Step> kScript = {
    {0, {{0, 0x90, 60, 100}, {17, 0x90, 64, 90}, {33, 0x99, 67, 80}}},
    {20, {{5, 0xE0, 0x00, 0x50}}},
    {30, {}, 41, 0.3f},
    {40, {{100, 0x80, 64, 0}, {101, 0x90, 72, 127}}},
    {50, {}, 5, 0.75f},
    {60, {{0, 0xE0, 0x00, 0x40}, {2, 0x90, 48, 60}}},
    {70, {}, 33, 1.0f},
    {80, {{40, 0x90, 76, 110}, {40, 0x90, 79, 110}}},
    {100, {}, -1, 0, 3},
    {105, {{0, 0x90, 57, 100}, {200, 0x90, 69, 100}}},
    {130, {{0, 0xB0, 123, 0}, {10, 0x90, 62, 100}}},
    {150, {{0, 0x80, 62, 0}, {0, 0x80, 57, 0}, {0, 0x80, 69, 0}}},
};
constexpr VstInt32 kBlocks = 200;
constexpr VstInt32 kBlockSize = 333;
constexpr float kRate = 44100.0f;

int render(const char* plugin, const char* outPath) {
    testhost::TestHost host;
    std::string error;
    if (!host.load(plugin, error)) {
        std::fprintf(stderr, "vst-script-render: %s: %s\n", plugin, error.c_str());
        return 1;
    }
    host.start(kRate, kBlockSize);
    std::vector<float> l(kBlockSize), r(kBlockSize), interleaved;
    for (VstInt32 block = 0; block < kBlocks; ++block) {
        for (const Step& step : kScript) {
            if (step.block != block) continue;
            if (step.parameter >= 0) host.setParameter(step.parameter, step.value);
            if (step.program >= 0) host.dispatch(effSetProgram, 0, step.program);
            if (!step.midi.empty()) host.sendMidi(step.midi);
        }
        host.process(l.data(), r.data(), kBlockSize);
        for (VstInt32 i = 0; i < kBlockSize; ++i) {
            interleaved.push_back(l[i]);
            interleaved.push_back(r[i]);
        }
    }
    host.suspend();
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
