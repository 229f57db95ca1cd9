// An output file that appears whole or not at all: written under a temporary
// name in the same folder, renamed into place by commit(), removed when
// dropped uncommitted, and removed too if the program is interrupted.
#pragma once

#include <string>
#include <vector>

namespace render {

class PendingFile {
public:
    // Creates the temporary file; throws Failure naming path when the folder
    // cannot take it.
    explicit PendingFile(const std::string& path);
    ~PendingFile();
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    int fd() const { return fd_; }
    const std::string& path() const { return path_; }
    // Closes (when still open) and renames into place; throws Failure.
    void commit();
    // The descriptor was closed by whoever wrote through it.
    void releaseDescriptor() { fd_ = -1; }

private:
    std::string path_, temporary_;
    int fd_ = -1;
    bool committed_ = false;
};

// Writes bytes to path through a PendingFile.
void writeWholeFile(const std::string& path, const std::vector<unsigned char>& bytes);

// Removes every uncommitted temporary file on SIGINT, SIGTERM and SIGHUP.
void installInterruptCleanup();

}  // namespace render
