// Output file names for programs: number and a name safe on any file system.
#include <gtest/gtest.h>

#include "tools/nubbel-render/output_names.h"

TEST(OutputNames, NumberAndProgramNameMakeTheFileName) {
    struct Case {
        const char* plugin;
        int program, count;
        const char* name;
        const char* expected;
    };
    const Case cases[] = {
        {"build/native/plugins/Nubbel3.so", 2, 8, "Crystal Bells", "Nubbel3-02-Crystal-Bells.wav"},
        {"Kars-vst.so", 0, 1, "Default", "Kars-vst-00-Default.wav"},
        {"x.dll", 7, 128, "a/b:*?  \"c\" ", "x-007-a-b-c.wav"},
        {"x.dll", 3, 8, "..", "x-03.wav"},
        {"x.dll", 4, 8, "", "x-04.wav"},
    };
    for (const Case& c : cases) EXPECT_EQ(render::programFileName(c.plugin, c.program, c.count, c.name), c.expected);
}
