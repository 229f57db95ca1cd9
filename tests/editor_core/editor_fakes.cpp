#include "tests/editor_core/editor_fakes.h"

FakeSynth::FakeSynth() : AudioEffectX(host, 1, kParams) {}

void FakeSynth::processReplacing(float**, float** outputs, VstInt32 frames) {
    for (int channel = 0; channel < 2; ++channel)
        for (VstInt32 i = 0; i < frames; ++i) outputs[channel][i] = 0.0f;
}

void FakeSynth::setParameter(VstInt32 index, float value) {
    if (index < 0 || index >= kParams) return;
    if (keepCalls) received.push_back({index, value});
    if (values[index] == value) return;
    values[index] = value;
    if (ZVGui* g = gui()) {
        g->parameterChanged(index, value);
        g->redrawDirty();
    }
}

float FakeSynth::getParameter(VstInt32 index) { return index >= 0 && index < kParams ? values[index] : 0.0f; }

VstIntPtr VSTCALLBACK FakeSynth::host(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr, void*, float opt) {
    auto* synth = effect ? dynamic_cast<FakeSynth*>(static_cast<AudioEffect*>(effect->object)) : nullptr;
    if (synth && opcode == audioMasterAutomate) synth->automated.push_back({index, opt});
    return 0;
}

FakePlatform::FakePlatform() : available{{101, {616, 287}}, {102, {21, 63}}, {103, {24, 1536}}, {104, {24, 24}}} {}

// A bitmap's handle is the address of its entry in `loaded`; the map keeps
// entries where they are.
BitmapHandle FakePlatform::loadBitmap(int id) {
    log->push_back("load " + std::to_string(id));
    const auto found = available.find(id);
    if (found == available.end()) return nullptr;
    return &(loaded[id] = found->second);
}

int FakePlatform::idOf(BitmapHandle bitmap) const {
    for (const auto& [id, size] : loaded)
        if (&size == bitmap) return id;
    return 0;
}

void FakePlatform::freeBitmap(BitmapHandle bitmap) {
    const int id = idOf(bitmap);
    log->push_back("free " + std::to_string(id));
    loaded.erase(id);
}

BitmapSize FakePlatform::bitmapSize(BitmapHandle bitmap) {
    const int id = idOf(bitmap);
    return id ? loaded[id] : BitmapSize{};
}

bool FakePlatform::createWindow(void*, int, int, ZVGui&) {
    log->push_back("create");
    if (refuseWindows) return false;
    windowOpen = true;
    return true;
}

void FakePlatform::destroyWindow() {
    if (!windowOpen) return;
    log->push_back("destroy");
    windowOpen = false;
    captureHeld = false;
}

void FakePlatform::invalidate(const PixelRect& area) {
    if (windowOpen) invalidated.push_back(area);
}

void FakePlatform::captureMouse() {
    log->push_back("capture");
    captureHeld = windowOpen;
}

void FakePlatform::releaseMouse() {
    log->push_back("release");
    captureHeld = false;
}

void ProbeWidget::note(const char* event, std::initializer_list<int> args) {
    std::string line = name + " " + event;
    for (int a : args) line += " " + std::to_string(a);
    log.push_back(line);
}
