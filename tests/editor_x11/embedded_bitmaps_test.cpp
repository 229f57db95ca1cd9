// The bitmaps compiled into the Linux libraries are byte for byte the files
// the resource script names, for every id it names, and nothing else; for
// both instruments.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <utility>
#include <vector>

#include "editor/soft/soft_platform.h"
#include "resources/embedded_bitmaps.h"

namespace {

void expectSameFiles(const char* scriptPath, const EmbeddedBitmapTable& table) {
    SoftPlatform script(scriptPath);
    ASSERT_EQ(table.count, script.bitmapFiles().size()) << scriptPath;
    for (std::size_t i = 0; i < table.count; ++i) {
        const EmbeddedBitmap& entry = table.entries[i];
        const auto file = script.bitmapFiles().find(entry.resourceId);
        ASSERT_NE(file, script.bitmapFiles().end()) << "id " << entry.resourceId;
        std::ifstream in(file->second, std::ios::binary);
        const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(in), {}};
        EXPECT_EQ(std::vector<unsigned char>(entry.bytes, entry.bytes + entry.size), bytes) << file->second;
    }
}

TEST(EmbeddedBitmaps, AreTheFilesTheResourceScriptNames) {
    for (const auto& [scriptPath, table] :
         {std::pair{NUBBEL_FACE_SCRIPT, nubbel3Bitmaps()}, std::pair{NUBBEL_FIRSTGEN_FACE_SCRIPT, nubbelBitmaps()}})
        expectSameFiles(scriptPath, table);
}

}  // namespace
