// Which host calls reach the engine, and how often: every table generation
// costs milliseconds, so each change must ask for exactly one.
#include <gtest/gtest.h>

#include <functional>

#include "tests/first_gen_instrument/plug_under_test.h"

namespace {

const EngineCall kAll{"paramChanged", FirstGenEngine::kAllParameters};

TEST(FirstGenEngineCalls, ConstructionLoadsProgramZeroOnce) {
    engineCalls().clear();
    firstgen::VSTPlug plug(quietHost);
    EXPECT_EQ(engineCalls(), std::vector<EngineCall>{kAll});
    EXPECT_EQ(plug.getParameter(2), 0.635f);
}

TEST(FirstGenEngineCalls, EachChangeAsksTheEngineOnce) {
    std::vector<float> preset(23, 0.25f);
    std::vector<unsigned char> bank(928, 0);
    struct Case {
        const char* what;
        std::function<void(PlugUnderTest&)> action;
        std::vector<EngineCall> calls;
    } cases[] = {
        {"a new value", [](PlugUnderTest& t) { t.plug.setParameter(4, 0.5f); }, {{"paramChanged", 4}}},
        {"the value already there", [](PlugUnderTest& t) { t.plug.setParameter(2, 0.635f); }, {}},
        {"a program switch", [](PlugUnderTest& t) { t.dispatch(effSetProgram, 0, 3); }, {kAll}},
        {"the current program again", [](PlugUnderTest& t) { t.dispatch(effSetProgram, 0, 0); }, {kAll}},
        {"a preset chunk", [&](PlugUnderTest& t) { t.dispatch(effSetChunk, 1, 92, preset.data()); }, {kAll}},
        {"a bank chunk", [&](PlugUnderTest& t) { t.dispatch(effSetChunk, 0, 928, bank.data()); }, {kAll}},
        {"a refused chunk", [&](PlugUnderTest& t) { t.dispatch(effSetChunk, 0, 92, preset.data()); }, {}},
        {"taking a chunk",
         [](PlugUnderTest& t) {
             void* data;
             t.dispatch(effGetChunk, 0, 0, &data);
         },
         {}},
        {"a sample rate",
         [](PlugUnderTest& t) { t.dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f); },
         {{"setSampleRate", 0, 0, 48000.0f}}},
    };
    for (const Case& c : cases) {
        PlugUnderTest t;
        c.action(t);
        EXPECT_EQ(engineCalls(), c.calls) << c.what;
    }
}

}  // namespace
