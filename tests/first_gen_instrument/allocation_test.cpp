// The audio thread's calls allocate nothing: this program replaces the global
// allocation functions and counts every call made while the plug-in, with its
// real engine, takes events and renders blocks.
#include <gtest/gtest.h>

#include <vector>

#include "first_generation/instrument/vst_plug.h"
#include "tests/support/counting_allocation.h"
#include "tools/testhost/midi_event_list.h"

namespace {

using namespace counting_allocation;

VstIntPtr VSTCALLBACK quietHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

TEST(FirstGenAllocation, EventsAndBlocksAllocateNothing) {
    ASSERT_TRUE(countsOneRoundTrip());  // the replacement is linked in

    firstgen::VSTPlug plug(quietHost);
    AEffect* e = plug.getAeffect();
    e->dispatcher(e, effSetSampleRate, 0, 0, nullptr, 44100.0f);
    e->dispatcher(e, effSetBlockSize, 0, 512, nullptr, 0);
    e->dispatcher(e, effMainsChanged, 0, 1, nullptr, 0);
    std::vector<float> left(1500), right(1500);
    float* outputs[2] = {left.data(), right.data()};
    for (int block = 0; block < 200; ++block) {
        // Between blocks, as the host's other threads would: a spectral change,
        // so a later block adopts a new table, and envelope and filter moves.
        if (block == 100) plug.setParameter(3, 0.25f);
        plug.setParameter(15, 0.2f + 0.003f * static_cast<float>(block));
        testhost::MidiEventList events({{block % 300, 0x90, static_cast<unsigned char>(40 + block % 50), 100},
                                        {17, 0x80, static_cast<unsigned char>(40 + (block + 20) % 50), 0},
                                        {99, 0xE0, 0, static_cast<unsigned char>(block % 128)},
                                        {200, 0xB0, static_cast<unsigned char>(block == 150 ? 123 : 1), 0}});
        counting = true;
        e->dispatcher(e, effProcessEvents, 0, 0, events.list(), 0);
        // Blocks shorter than, equal to and (a careless host) longer than announced.
        e->processReplacing(e, nullptr, outputs, block % 3 == 0 ? 300 : block % 3 == 1 ? 512 : 1500);
        counting = false;
        ASSERT_EQ(allocations.load(), 0) << block;
    }
}

}  // namespace
