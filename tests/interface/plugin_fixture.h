// A host with one of the instruments loaded from the built library. Every
// interface test runs once per instrument: behaviour they share is one test
// and the rows below say where they differ.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/testhost/test_host.h"

// What a test needs to know about an instrument besides what it shares.
struct Instrument {
    const char* name;  // names the test rows
    const char* path;  // the built library
    VstInt32 numParams;
    VstInt32 uniqueID;
    VstInt32 flags;
    const char* effectName;
    const char* productString;
    VstInt32 vendorVersion;
    VstInt32 firstAutomatable;
    std::vector<std::string> parameterNames;
    // The factory table as the bank chunk holds it.
    const unsigned char* factoryBank;
    size_t presetBytes, bankBytes;
    // Parameters the tests play with.
    VstInt32 widthParam, cutoffParam, envelopeParam, sustainParam, volumeParam;
    // Key 69 sounds here, measured from the output.
    double key69Hz;
    // Keys below this one are ignored.
    int lowestKey;
};

const std::vector<Instrument>& instruments();

struct LoadedPlugin : ::testing::TestWithParam<Instrument> {
    testhost::TestHost host;
    const Instrument& instrument() const { return GetParam(); }
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(host.load(instrument().path, error)) << instrument().path << ": " << error;
    }
};

// Runs every test of the fixture once per instrument, named after it.
#define RUN_FOR_EVERY_INSTRUMENT(Fixture)                         \
    INSTANTIATE_TEST_SUITE_P(                                     \
        Instruments, Fixture, ::testing::ValuesIn(instruments()), \
        [](const ::testing::TestParamInfo<Instrument>& row) { return std::string(row.param.name); })
