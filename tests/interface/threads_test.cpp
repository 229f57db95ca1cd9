// A host's two threads on one instrument: its audio thread delivers events and
// renders blocks while its interface thread changes parameters, programs and
// chunks without pause. Meant to run under ThreadSanitizer (which then watches
// every shared value); in every build it checks that the sound stays finite
// and bounded throughout and that the state the interface thread left is the
// state the instrument reports and saves.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "tests/interface/plugin_fixture.h"

namespace {

using Chunk = std::vector<unsigned char>;

constexpr VstInt32 kBlockFrames = 256;
// The render goes on until the interface thread has done every kind of change
// several times under it: a few seconds under the thread sanitizer, where the
// table generations are what takes longest.
constexpr int kBlocks = 600;
constexpr int kMinimumRounds = 8;
// These chords peak below 3 with every value the interface thread sets; a
// filter or table gone wrong goes far beyond.
constexpr double kLoudest = 8.0;

// The interface thread's side: one round does each kind of change once.
struct InterfaceThread {
    testhost::TestHost& host;
    const Instrument& instrument;
    std::atomic<bool> stop{false};
    std::atomic<int> rounds{0};

    static float valueFor(int turn, VstInt32 index) { return static_cast<float>((turn * 7 + index * 3) % 11) / 10.0f; }

    void round(int turn) {
        // Both instruments list their spectrum first and the stereo width right
        // after it. Spectral values regenerate the table, which costs far more
        // than anything else here, so two of them a round keep programs and
        // chunks coming often; every other value (envelopes, width, live
        // values the render reads) changes every round.
        const VstInt32 spectral = instrument.widthParam;
        for (VstInt32 index : {turn % spectral, (turn * 5 + 1) % spectral})
            host.setParameter(index, valueFor(turn, index));
        for (VstInt32 index = spectral; index < instrument.numParams; ++index)
            host.setParameter(index, valueFor(turn, index));
        for (VstInt32 index = 0; index < instrument.numParams; ++index) (void)host.getParameter(index);

        host.dispatch(effSetProgram, 0, turn % 8);
        char name[] = "Turn 0";
        name[5] = static_cast<char>('0' + turn % 10);
        host.dispatch(effSetProgramName, 0, 0, name);

        const Chunk bank = host.getChunk(false);
        host.setChunk(bank, false);
        const Chunk preset = host.getChunk(true);
        host.setChunk(preset, true);
        // Another instrument's chunks and truncated ones are refused whole.
        host.setChunk(Chunk(bank.begin(), bank.begin() + static_cast<std::ptrdiff_t>(bank.size() / 2)), false);
        host.setChunk(Chunk(preset.size() + 4, 0x5a), true);
        host.setChunk(Chunk(3, 0x01), false);
    }

    void run() {
        for (int turn = 0; !stop.load(); ++turn) {
            round(turn);
            ++rounds;
        }
    }
};

// What the audio thread sends: chords on and off, the sustain pedal and the
// pitch wheel, at frames inside the block.
std::vector<testhost::MidiMessage> eventsOfBlock(int block, int lowestKey) {
    const unsigned char root = static_cast<unsigned char>(std::max(48, lowestKey) + block / 16 % 12);
    switch (block % 16) {
        case 0: return {{0, 0x90, root, 100}, {17, 0x90, static_cast<unsigned char>(root + 4), 90}};
        case 3: return {{40, 0xB0, 64, 127}, {41, 0x90, static_cast<unsigned char>(root + 7), 110}};
        case 6: return {{5, 0xE0, 0x00, 0x50}, {200, 0xE0, 0x00, 0x30}};
        case 9: return {{0, 0x80, root, 64}, {128, 0xB0, 64, 0}};
        case 12:
            return {{3, 0x80, static_cast<unsigned char>(root + 4), 0},
                    {3, 0x80, static_cast<unsigned char>(root + 7), 0},
                    {255, 0xE0, 0x00, 0x40}};
        default: return {};
    }
}

// The bank the interface thread loads last: the factory table with a value of
// its own in every program, so that what is reported afterwards can only come
// from this load.
Chunk finalBank(const Instrument& instrument) {
    Chunk bank(instrument.factoryBank, instrument.factoryBank + instrument.bankBytes);
    const size_t record = instrument.bankBytes / 8;
    for (size_t program = 0; program < 8; ++program) {
        const float value = 0.0625f * static_cast<float>(program + 1);
        std::memcpy(&bank[program * record + 24 + 4 * size_t(instrument.cutoffParam)], &value, sizeof(value));
    }
    return bank;
}

float storedValue(const Chunk& bank, VstInt32 program, VstInt32 index) {
    float value;
    std::memcpy(&value, &bank[size_t(program) * (bank.size() / 8) + 24 + 4 * size_t(index)], sizeof(value));
    return value;
}

struct HostThreads : LoadedPlugin {};

TEST_P(HostThreads, TheSoundAndTheStateStayWholeWhileAnotherThreadChangesThem) {
    host.recordCalls = false;  // the host's call list is not shared between threads
    host.start(44100.0f, kBlockFrames);
    const Chunk last = finalBank(instrument());
    constexpr VstInt32 kLastProgram = 3;

    InterfaceThread ui{host, instrument()};
    std::atomic<bool> uiFinished{false};
    std::thread interfaceThread([&] {
        ui.run();
        // The last changes also land under the render.
        host.setChunk(last, false);
        host.dispatch(effSetProgram, 0, kLastProgram);
        uiFinished = true;
    });

    std::vector<float> left(kBlockFrames), right(kBlockFrames);
    double loudest = 0.0;
    bool finite = true;
    int block = 0;
    for (; finite && (block < kBlocks || ui.rounds.load() < kMinimumRounds || !uiFinished.load()); ++block) {
        if (block >= kBlocks && ui.rounds.load() >= kMinimumRounds) ui.stop = true;
        host.sendMidi(eventsOfBlock(block, instrument().lowestKey));
        host.process(left.data(), right.data(), kBlockFrames);
        for (VstInt32 i = 0; i < kBlockFrames; ++i) {
            finite = finite && std::isfinite(left[i]) && std::isfinite(right[i]);
            loudest = std::max({loudest, std::fabs(double(left[i])), std::fabs(double(right[i]))});
        }
    }
    ui.stop = true;
    interfaceThread.join();

    EXPECT_TRUE(finite) << "at block " << block;
    EXPECT_LE(loudest, kLoudest);
    EXPECT_GT(loudest, 1e-3) << "the notes must sound for the render to be tested";
    EXPECT_GE(ui.rounds.load(), kMinimumRounds);
    RecordProperty("interface_rounds", ui.rounds.load());
    RecordProperty("blocks", block);
    RecordProperty("loudest", std::to_string(loudest));

    // The state is what the interface thread's last calls made it.
    EXPECT_EQ(host.dispatch(effGetProgram), kLastProgram);
    for (VstInt32 index = 0; index < instrument().numParams; ++index) {
        const float expected = storedValue(last, kLastProgram, index);
        const float reported = host.getParameter(index);
        EXPECT_EQ(std::memcmp(&reported, &expected, sizeof(float)), 0) << "parameter " << index;
    }
    const Chunk saved = host.getChunk(false);
    EXPECT_EQ(saved, last);
    ASSERT_EQ(host.setChunk(saved, false), static_cast<VstIntPtr>(saved.size()));
    EXPECT_EQ(host.getChunk(false), saved);
    const Chunk preset = host.getChunk(true);
    ASSERT_EQ(host.setChunk(preset, true), static_cast<VstIntPtr>(preset.size()));
    EXPECT_EQ(host.getChunk(true), preset);
    EXPECT_EQ(host.getChunk(false), saved);
}

RUN_FOR_EVERY_INSTRUMENT(HostThreads);

}  // namespace
