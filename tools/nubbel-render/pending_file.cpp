#include "tools/nubbel-render/pending_file.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "tools/nubbel-render/failure.h"

namespace render {

namespace {

// Temporary names the signal handler removes; only fixed storage, as the
// handler may not allocate.
constexpr size_t kMaxPending = 8, kMaxPathBytes = 4096;
std::array<std::array<char, kMaxPathBytes>, kMaxPending> pendingNames{};
std::array<volatile sig_atomic_t, kMaxPending> pendingUsed{};

int remember(const std::string& name) {
    if (name.size() >= kMaxPathBytes) return -1;
    for (size_t i = 0; i < kMaxPending; ++i)
        if (!pendingUsed[i]) {
            std::memcpy(pendingNames[i].data(), name.c_str(), name.size() + 1);
            pendingUsed[i] = 1;
            return static_cast<int>(i);
        }
    return -1;
}

void forget(const std::string& name) {
    for (size_t i = 0; i < kMaxPending; ++i)
        if (pendingUsed[i] && name == pendingNames[i].data()) pendingUsed[i] = 0;
}

extern "C" void removePendingAndExit(int signal) {
    for (size_t i = 0; i < kMaxPending; ++i)
        if (pendingUsed[i]) unlink(pendingNames[i].data());
    _exit(128 + signal);
}

std::string folderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
}

std::string baseName(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

void installInterruptCleanup() {
    for (int s : {SIGINT, SIGTERM, SIGHUP}) std::signal(s, removePendingAndExit);
}

PendingFile::PendingFile(const std::string& path) : path_(path) {
    struct stat existing;
    if (path.empty() || path.back() == '/' || (stat(path.c_str(), &existing) == 0 && S_ISDIR(existing.st_mode)))
        throw Failure(path, "is a folder, not a file name");
    // Hidden, so an interrupted run that could not clean up leaves no file
    // that looks like a result.
    std::string pattern = folderOf(path) + "/." + baseName(path) + ".partial-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back(0);
    fd_ = mkstemp(name.data());
    if (fd_ < 0) throw Failure(path, std::string("cannot write there (") + std::strerror(errno) + ")");
    temporary_ = name.data();
    // mkstemp makes the file private; an output file gets the usual rights.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd_, 0666 & ~mask);
    remember(temporary_);
}

PendingFile::~PendingFile() {
    if (committed_) return;
    if (fd_ >= 0) close(fd_);
    unlink(temporary_.c_str());
    forget(temporary_);
}

void PendingFile::commit() {
    if (fd_ >= 0 && close(fd_) != 0) {
        fd_ = -1;
        throw Failure(path_, std::string("cannot finish writing (") + std::strerror(errno) + ")");
    }
    fd_ = -1;
    if (std::rename(temporary_.c_str(), path_.c_str()) != 0)
        throw Failure(path_, std::string("cannot put the file in place (") + std::strerror(errno) + ")");
    forget(temporary_);
    committed_ = true;
}

void writeWholeFile(const std::string& path, const std::vector<unsigned char>& bytes) {
    PendingFile file(path);
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(file.fd(), bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) throw Failure(path, std::string("cannot write (") + std::strerror(errno) + ")");
        done += static_cast<size_t>(n);
    }
    file.commit();
}

}  // namespace render
