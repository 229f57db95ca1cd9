#include "editor/soft/soft_platform.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "editor/soft/bmp_reader.h"
#include "editor/soft/soft_canvas.h"
#include "editor/zv_gui.h"

namespace {

std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Reads `<id> BITMAP "<file>"` lines; everything else in the script is skipped.
std::map<int, std::string> readBitmapLines(const std::string& script, std::vector<std::string>& errors) {
    std::map<int, std::string> files;
    std::ifstream in(script);
    if (!in) {
        errors.push_back(script + ": cannot open resource script");
        return files;
    }
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        int id = 0;
        std::string type;
        if (!(words >> id >> type) || type != "BITMAP") continue;
        const auto open = line.find('"'), close = line.rfind('"');
        if (open == std::string::npos || close <= open) continue;
        files[id] = folderOf(script) + line.substr(open + 1, close - open - 1);
    }
    return files;
}

}  // namespace

SoftPlatform::SoftPlatform(const std::string& resourceScript) : files(readBitmapLines(resourceScript, errors)) {}

BitmapHandle SoftPlatform::loadBitmap(int resourceId) {
    const auto file = files.find(resourceId);
    if (file == files.end()) return nullptr;
    auto image = std::make_unique<PixelImage>();
    std::string error;
    if (!loadBmpFile(file->second, *image, nullptr, error)) {
        errors.push_back(error);
        return nullptr;
    }
    return loaded.add(std::move(image));
}

void SoftPlatform::freeBitmap(BitmapHandle bitmap) { loaded.remove(bitmap); }

BitmapSize SoftPlatform::bitmapSize(BitmapHandle bitmap) { return ImageStore::sizeOf(bitmap); }

bool SoftPlatform::createWindow(void*, int width, int height, ZVGui& owner) {
    if (refuseWindows) return false;
    std::lock_guard<std::mutex> hold(pendingLock);
    editor = &owner;
    picture = PixelImage(width, height);
    // A new window is painted whole.
    pending.assign(1, PixelRect{0, 0, width, height});
    return true;
}

void SoftPlatform::destroyWindow() {
    captureHeld = false;
    std::lock_guard<std::mutex> hold(pendingLock);
    editor = nullptr;
    pending.clear();
}

bool SoftPlatform::hasWindow() const {
    std::lock_guard<std::mutex> hold(pendingLock);
    return editor != nullptr;
}

void SoftPlatform::invalidate(const PixelRect& area) {
    std::lock_guard<std::mutex> hold(pendingLock);
    if (!editor) return;
    // As a window's update region, an area asked for twice is painted once.
    const auto same = [&area](const PixelRect& r) {
        return r.left == area.left && r.top == area.top && r.right == area.right && r.bottom == area.bottom;
    };
    if (std::none_of(pending.begin(), pending.end(), same)) pending.push_back(area);
}

void SoftPlatform::captureMouse() { captureHeld = editor != nullptr; }

void SoftPlatform::releaseMouse() { captureHeld = false; }

std::vector<PixelRect> SoftPlatform::pendingAreas() {
    std::lock_guard<std::mutex> hold(pendingLock);
    return pending;
}

void SoftPlatform::paintPending() {
    if (!editor) return;
    std::vector<PixelRect> areas;
    {
        std::lock_guard<std::mutex> hold(pendingLock);
        areas.swap(pending);
    }
    if (areas.empty()) return;
    PixelImage fresh(picture.width, picture.height);
    SoftCanvas canvas(fresh);
    editor->paint(canvas);
    for (const PixelRect& area : areas)
        for (int y = std::max(area.top, 0); y < std::min(area.bottom, picture.height); ++y)
            for (int x = std::max(area.left, 0); x < std::min(area.right, picture.width); ++x)
                picture.at(x, y) = fresh.at(x, y);
}
