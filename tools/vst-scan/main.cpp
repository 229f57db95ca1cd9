// Scans VST 2 plug-ins the way a host does when it builds its plug-in list:
// loads each, prints its identity, parameters and programs, renders a few
// blocks and closes it. Exit status 1 when any plug-in failed to load.
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "nubbel_version.h"
#include "tools/testhost/test_host.h"

namespace {

std::string fourChars(VstInt32 code) {
    std::string s;
    for (int shift = 24; shift >= 0; shift -= 8) {
        char c = static_cast<char>((code >> shift) & 0xff);
        s += (c >= 32 && c < 127) ? c : '?';
    }
    return s;
}

bool scan(const std::string& path) {
    testhost::TestHost host;
    std::string error;
    if (!host.load(path, error)) {
        std::fprintf(stderr, "vst-scan: %s: %s\n", path.c_str(), error.c_str());
        return false;
    }
    AEffect* e = host.effect();
    host.dispatch(effOpen);
    std::printf("%s\n", path.c_str());
    std::printf("  magic '%s'  uniqueID '%s'  version %d  flags 0x%x\n", fourChars(e->magic).c_str(),
                fourChars(e->uniqueID).c_str(), e->version, e->flags);
    std::printf("  inputs %d  outputs %d  programs %d  parameters %d\n", e->numInputs, e->numOutputs, e->numPrograms,
                e->numParams);
    std::printf("  effect \"%s\"  vendor \"%s\"  product \"%s\"\n", host.text(effGetEffectName).c_str(),
                host.text(effGetVendorString).c_str(), host.text(effGetProductString).c_str());
    std::printf("  vendor version %d  category %d  VST version %d  identify '%s'\n",
                static_cast<int>(host.dispatch(effGetVendorVersion)),
                static_cast<int>(host.dispatch(effGetPlugCategory)), static_cast<int>(host.dispatch(effGetVstVersion)),
                fourChars(static_cast<VstInt32>(host.dispatch(effIdentify))).c_str());

    std::printf("  parameters:\n");
    for (VstInt32 i = 0; i < e->numParams; ++i)
        std::printf("    %2d %-8s = %-9g [%s %s]%s\n", i, host.text(effGetParamName, i).c_str(), host.getParameter(i),
                    host.text(effGetParamDisplay, i).c_str(), host.text(effGetParamLabel, i).c_str(),
                    host.dispatch(effCanBeAutomated, i) ? "  automatable" : "");
    std::printf("  programs:\n");
    for (VstInt32 i = 0; i < e->numPrograms; ++i) {
        std::string name = host.text(effGetProgramNameIndexed, i);
        std::printf("    %d %s\n", i, name.c_str());
    }

    constexpr VstInt32 kBlock = 512, kBlocks = 8;
    host.dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f);
    host.dispatch(effSetBlockSize, 0, kBlock);
    host.resume();
    std::vector<float> left, right;
    host.render(left, right, kBlock * kBlocks, kBlock);
    double peak = 0;
    for (size_t i = 0; i < left.size(); ++i) peak = std::fmax(peak, std::fmax(std::fabs(left[i]), std::fabs(right[i])));
    std::printf("  render: %d blocks of %d frames at 44100 Hz, peak %g\n", kBlocks, kBlock, peak);
    host.suspend();
    host.close();
    std::printf("  closed\n");
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::string(argv[1]) == "--version") {
        std::printf("vst-scan %s\n", NUBBEL_VERSION);
        return 0;
    }
    if (argc < 2) {
        std::fprintf(stderr, "usage: vst-scan PLUGIN...\n");
        return 2;
    }
    std::printf("vst-scan %s\n", NUBBEL_VERSION);
    bool ok = true;
    for (int i = 1; i < argc; ++i) ok = scan(argv[i]) && ok;
    return ok ? 0 : 1;
}
