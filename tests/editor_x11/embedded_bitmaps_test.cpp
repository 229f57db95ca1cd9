// The bitmaps compiled into the Linux libraries are byte for byte the files
// the resource script names, for every id it names, and nothing else.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "editor/soft/soft_platform.h"
#include "resources/embedded_bitmaps.h"

namespace {

TEST(EmbeddedBitmaps, AreTheFilesTheResourceScriptNames) {
    SoftPlatform script(NUBBEL_FACE_SCRIPT);
    const EmbeddedBitmapTable table = nubbel3Bitmaps();
    ASSERT_EQ(table.count, script.bitmapFiles().size());
    for (std::size_t i = 0; i < table.count; ++i) {
        const EmbeddedBitmap& entry = table.entries[i];
        const auto file = script.bitmapFiles().find(entry.resourceId);
        ASSERT_NE(file, script.bitmapFiles().end()) << "id " << entry.resourceId;
        std::ifstream in(file->second, std::ios::binary);
        const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(in), {}};
        EXPECT_EQ(std::vector<unsigned char>(entry.bytes, entry.bytes + entry.size), bytes) << file->second;
    }
}

}  // namespace
