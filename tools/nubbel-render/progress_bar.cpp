#include "tools/nubbel-render/progress_bar.h"

#include <algorithm>
#include <cstdio>
#include <unistd.h>

namespace render {

namespace {
// Short renders finish before a bar would help; redraws are rate-limited.
constexpr auto kShowAfter = std::chrono::milliseconds(300);
constexpr auto kRedrawEvery = std::chrono::milliseconds(100);
constexpr int kBarWidth = 30;
}  // namespace

bool stderrIsTerminal() { return isatty(STDERR_FILENO) == 1; }

ProgressBar::ProgressBar(std::string label, bool enabled)
    : label_(std::move(label)), enabled_(enabled), start_(std::chrono::steady_clock::now()) {}

ProgressBar::~ProgressBar() { clear(); }

void ProgressBar::update(double fraction, bool tail) {
    if (!enabled_) return;
    const auto now = std::chrono::steady_clock::now();
    if (now - start_ < kShowAfter || (drawn_ && now - lastDraw_ < kRedrawEvery)) return;
    lastDraw_ = now;
    fraction = std::clamp(fraction, 0.0, 1.0);
    const int filled = static_cast<int>(fraction * kBarWidth + 0.5);
    std::string bar(static_cast<size_t>(filled), '#');
    bar.resize(kBarWidth, '.');
    std::fprintf(stderr, "\r\033[K[%s] %3d%%%s %s", bar.c_str(), static_cast<int>(fraction * 100.0 + 0.5),
                 tail ? " +tail" : "", label_.c_str());
    std::fflush(stderr);
    drawn_ = true;
}

void ProgressBar::clear() {
    if (!drawn_) return;
    std::fprintf(stderr, "\r\033[K");
    std::fflush(stderr);
    drawn_ = false;
}

}  // namespace render
