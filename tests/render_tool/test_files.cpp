#include "tests/render_tool/test_files.h"

#include <algorithm>
#include <dirent.h>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>

namespace rendertest {

TempFolder::TempFolder() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/render-test-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back(0);
    if (!mkdtemp(name.data())) ADD_FAILURE() << "cannot make a temporary folder";
    path = name.data();
}

TempFolder::~TempFolder() {
    for (const std::string& e : entries()) std::remove(file(e).c_str());
    rmdir(path.c_str());
}

std::vector<std::string> TempFolder::entries() const {
    std::vector<std::string> names;
    if (DIR* d = opendir(path.c_str())) {
        while (dirent* e = readdir(d))
            if (std::string(e->d_name) != "." && std::string(e->d_name) != "..") names.push_back(e->d_name);
        closedir(d);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<unsigned char> readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void writeBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

bool exists(const std::string& path) {
    struct stat s;
    return stat(path.c_str(), &s) == 0;
}

Wav readWav(const std::string& path) {
    Wav wav;
    SF_INFO info{};
    SNDFILE* f = sf_open(path.c_str(), SFM_READ, &info);
    if (!f) {
        ADD_FAILURE() << path << ": " << sf_strerror(nullptr);
        return wav;
    }
    wav.channels = info.channels;
    wav.sampleRate = info.samplerate;
    wav.format = info.format;
    wav.samples.resize(static_cast<size_t>(info.frames) * static_cast<size_t>(info.channels));
    sf_readf_float(f, wav.samples.data(), info.frames);
    sf_close(f);
    return wav;
}

}  // namespace rendertest
