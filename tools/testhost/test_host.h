// Our own VST 2 host for tests and tools: loads a plug-in library, answers
// its calls like a real host and records every one, and drives the plug-in
// through the record only.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "plugin_base/vst2_interface.h"
#include "tools/testhost/midi_event_list.h"
#include "tools/testhost/plugin_library.h"

namespace testhost {

// One call the plug-in made into the host.
struct HostCall {
    VstInt32 opcode;
    VstInt32 index;
    VstIntPtr value;
    float opt;
    std::string text;  // the question of audioMasterCanDo, else empty
};

class TestHost {
public:
    TestHost();
    ~TestHost();
    TestHost(const TestHost&) = delete;
    TestHost& operator=(const TestHost&) = delete;

    // Loads the library and calls the named entry point. False with a
    // one-line reason in error when any step fails.
    bool load(const std::string& path, std::string& error, const char* entryName = "VSTPluginMain");
    // Like load, but as hosts do: "VSTPluginMain", or "main" when a library
    // exports only the older name.
    bool loadAnyEntry(const std::string& path, std::string& error);
    // Calls an entry point of an already loaded library again (a second
    // instance needs a second TestHost; this is for entry-point checks).
    AEffect* callEntry(const char* entryName);

    AEffect* effect() const { return effect_; }
    bool loaded() const { return effect_ != nullptr; }

    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr, float opt = 0.0f);
    // A text the plug-in writes for an opcode (names, labels, displays).
    std::string text(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0);
    float getParameter(VstInt32 index);
    void setParameter(VstInt32 index, float value);

    // The usual start-up: open, sample rate, block size, resume.
    void start(float sampleRate = 44100.0f, VstInt32 blockSize = 512);
    void suspend() { dispatch(effMainsChanged, 0, 0); }
    void resume() { dispatch(effMainsChanged, 0, 1); }
    // effClose through the record; the plug-in object is gone afterwards.
    VstIntPtr close();

    // Sends one effProcessEvents list built from the messages.
    VstIntPtr sendMidi(const std::vector<MidiMessage>& messages);
    // One processReplacing call into two buffers of frames samples.
    void process(float* left, float* right, VstInt32 frames);
    // One processReplacing call with the plug-in's own channel counts: the
    // arrays hold numInputs and numOutputs buffers of frames samples.
    void processChannels(float** inputs, float** outputs, VstInt32 frames);
    // Renders frames samples in blocks of at most blockSize.
    void render(std::vector<float>& left, std::vector<float>& right, VstInt32 frames, VstInt32 blockSize);

    // Chunk round trips the way hosts do them: the bytes are copied at once.
    std::vector<unsigned char> getChunk(bool preset);
    VstIntPtr setChunk(const std::vector<unsigned char>& bytes, bool preset);

    // What the host answers.
    VstIntPtr versionAnswer = 2400;
    float sampleRate = 44100.0f;
    VstInt32 blockSize = 512;
    // The transport that audioMasterGetTime reports.
    double samplePosition = 0.0;
    double tempo = 120.0;
    // Long renders turn recording off so the call list does not grow.
    bool recordCalls = true;
    // Called with every call the plug-in makes, before it is answered: for
    // hosts that react inside a callback (close the editor on an automation
    // message, say).
    std::function<void(const HostCall&)> onCall;

    // What the plug-in asked of the host.
    std::vector<HostCall> calls;
    int countCalls(VstInt32 opcode) const;
    void clearCalls() { calls.clear(); }

    static VstIntPtr VSTCALLBACK callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                          float opt);

private:
    // Calls the entry point of the opened library and checks the record.
    bool create(const char* entryName, std::string& error);
    VstIntPtr answer(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt);

    std::unique_ptr<PluginLibrary> library_;
    AEffect* effect_ = nullptr;
    VstTimeInfo timeInfo_{};
};

}  // namespace testhost
