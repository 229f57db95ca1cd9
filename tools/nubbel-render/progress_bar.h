// A one-line progress bar on stderr, drawn only when stderr is a terminal and
// the render has run long enough to be worth watching.
#pragma once

#include <chrono>
#include <string>

namespace render {

class ProgressBar {
public:
    ProgressBar(std::string label, bool enabled);
    ~ProgressBar();
    // fraction of the known work done; tail true while the release runs out.
    void update(double fraction, bool tail);
    // Removes the bar from the line.
    void clear();

private:
    std::string label_;
    bool enabled_;
    bool drawn_ = false;
    std::chrono::steady_clock::time_point start_, lastDraw_;
};

// True when stderr is a terminal.
bool stderrIsTerminal();

}  // namespace render
