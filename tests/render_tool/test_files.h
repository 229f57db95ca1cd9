// Files for the renderer's tests: a temporary folder, whole-file reads and
// writes, and WAV reading through libsndfile.
#pragma once

#include <string>
#include <vector>

namespace rendertest {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    std::string file(const std::string& name) const { return path + "/" + name; }
    // Names in the folder, hidden ones included, sorted.
    std::vector<std::string> entries() const;
    std::string path;
};

std::vector<unsigned char> readBytes(const std::string& path);
void writeBytes(const std::string& path, const std::vector<unsigned char>& bytes);
bool exists(const std::string& path);

struct Wav {
    int channels = 0;
    int sampleRate = 0;
    int format = 0;              // libsndfile's SF_FORMAT_* word
    std::vector<float> samples;  // interleaved
    size_t frames() const { return channels ? samples.size() / static_cast<size_t>(channels) : 0; }
};
// Fails the current test (and returns an empty Wav) when the file is unreadable.
Wav readWav(const std::string& path);

}  // namespace rendertest
