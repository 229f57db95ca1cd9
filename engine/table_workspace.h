// Scratch memory of table generation, kept between generations.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "kiss_fftr.h"

// Everything one generation needs besides the table itself: the amplitude
// spectrum, the complex spectrum and a KISS FFT inverse configuration of the
// table length (its twiddles cost about 1 ms to compute, and it holds the
// transform's own scratch, so one configuration serves one generation at a
// time).
struct TableWorkspace {
    TableWorkspace();
    ~TableWorkspace();
    TableWorkspace(const TableWorkspace&) = delete;
    TableWorkspace& operator=(const TableWorkspace&) = delete;

    // Heap bytes held by one workspace.
    static size_t footprintBytes();

    kiss_fftr_cfg inverseTransform = nullptr;
    std::unique_ptr<float[]> amplitudes;       // kAmplitudeBins
    std::unique_ptr<kiss_fft_cpx[]> spectrum;  // kAmplitudeBins + 1
    TableWorkspace* nextFree = nullptr;        // link in the pool
};

// A workspace borrowed for one generation from a process-wide pool. The pool
// holds as many workspaces as generations have ever run at the same time
// (usually one, whatever the number of instances); they live until the
// process ends. Generating threads only: taking and returning lock a mutex.
class WorkspaceLease {
public:
    WorkspaceLease();
    ~WorkspaceLease();
    WorkspaceLease(const WorkspaceLease&) = delete;
    WorkspaceLease& operator=(const WorkspaceLease&) = delete;

    TableWorkspace& operator*() const { return *workspace_; }
    TableWorkspace* operator->() const { return workspace_; }

    // Workspaces the pool has created so far (for tests and memory reports).
    static int32_t createdCount();

private:
    TableWorkspace* workspace_;
};
