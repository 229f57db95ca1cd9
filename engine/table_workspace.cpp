#include "engine/table_workspace.h"

#include <mutex>
#include <new>

#include "engine/gaussian_bands.h"
#include "engine/wavetable.h"

TableWorkspace::TableWorkspace()
    : amplitudes(new float[kAmplitudeBins]), spectrum(new kiss_fft_cpx[kAmplitudeBins + 1]) {
    inverseTransform = kiss_fftr_alloc(Wavetable::kLength, 1, nullptr, nullptr);
    if (!inverseTransform) throw std::bad_alloc();
}

TableWorkspace::~TableWorkspace() { kiss_fftr_free(inverseTransform); }

size_t TableWorkspace::footprintBytes() {
    size_t transformBytes = 0;
    kiss_fftr_alloc(Wavetable::kLength, 1, nullptr, &transformBytes);
    return transformBytes + kAmplitudeBins * sizeof(float) + (kAmplitudeBins + 1) * sizeof(kiss_fft_cpx);
}

namespace {

struct WorkspacePool {
    std::mutex mutex;
    TableWorkspace* free = nullptr;
    int32_t created = 0;

    ~WorkspacePool() {
        while (free) {
            TableWorkspace* next = free->nextFree;
            delete free;
            free = next;
        }
    }
};

WorkspacePool& pool() {
    static WorkspacePool instance;
    return instance;
}

}  // namespace

WorkspaceLease::WorkspaceLease() {
    WorkspacePool& p = pool();
    {
        std::lock_guard<std::mutex> lock(p.mutex);
        workspace_ = p.free;
        if (workspace_) {
            p.free = workspace_->nextFree;
            return;
        }
    }
    // Built outside the lock: a first generation takes about a millisecond here.
    workspace_ = new TableWorkspace();
    std::lock_guard<std::mutex> lock(p.mutex);
    ++p.created;
}

WorkspaceLease::~WorkspaceLease() {
    WorkspacePool& p = pool();
    std::lock_guard<std::mutex> lock(p.mutex);
    workspace_->nextFree = p.free;
    p.free = workspace_;
}

int32_t WorkspaceLease::createdCount() {
    WorkspacePool& p = pool();
    std::lock_guard<std::mutex> lock(p.mutex);
    return p.created;
}
