// The calls a plug-in made into its engine, in order.
#pragma once

#include <string>
#include <vector>

#include "first_generation/engine/first_gen_engine.h"

struct EngineCall {
    std::string what;
    int32_t note = 0;   // note, the parameter index of paramChanged, or the scratch length of renderBlock
    int32_t frame = 0;  // frame, or the frame count of renderBlock
    float value = 0;    // velocity, bend or sample rate
    float frequency = 0;

    bool operator==(const EngineCall& o) const {
        return what == o.what && note == o.note && frame == o.frame && value == o.value && frequency == o.frequency;
    }
};

std::vector<EngineCall>& engineCalls();
