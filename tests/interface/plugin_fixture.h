// A host with the instrument loaded from the built library.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "tools/testhost/test_host.h"

struct LoadedPlugin : ::testing::Test {
    testhost::TestHost host;
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(host.load(NUBBEL3_PLUGIN, error)) << NUBBEL3_PLUGIN << ": " << error;
    }
};
