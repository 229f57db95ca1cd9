// The editor's platform without a window system: bitmaps are read from the
// files a resource script names, and the "window" is a picture in memory
// that is painted only where it was invalidated, as a real window is. Used
// by tests and by the tools that write the face as an image.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "editor/editor_platform.h"
#include "editor/soft/image_store.h"
#include "editor/soft/pixel_image.h"

class SoftPlatform : public EditorPlatform {
public:
    // resourceScript: a .rc file with lines like `101 BITMAP "face.bmp"`; the
    // files are found next to it. Unreadable files count as missing bitmaps.
    explicit SoftPlatform(const std::string& resourceScript);

    BitmapHandle loadBitmap(int resourceId) override;
    void freeBitmap(BitmapHandle bitmap) override;
    BitmapSize bitmapSize(BitmapHandle bitmap) override;

    bool createWindow(void* parent, int width, int height, ZVGui& editor) override;
    void destroyWindow() override;
    void invalidate(const PixelRect& area) override;
    void captureMouse() override;
    void releaseMouse() override;

    // What the window's thread does on a paint message: the editor paints,
    // and only the invalidated areas reach the window's picture.
    void paintPending();
    const PixelImage& windowPicture() const { return picture; }
    bool hasWindow() const override;
    bool holdsCapture() const { return captureHeld; }
    // The next createWindow fails, as when the host's parent window is gone.
    bool refuseWindows = false;
    // Invalidated areas not yet painted.
    std::vector<PixelRect> pendingAreas();

    // The file each resource id names, as read from the script.
    const std::map<int, std::string>& bitmapFiles() const { return files; }
    // Errors met while loading, one line each.
    std::vector<std::string> errors;

private:
    std::map<int, std::string> files;
    ImageStore loaded;
    ZVGui* editor = nullptr;
    PixelImage picture;
    mutable std::mutex pendingLock;
    std::vector<PixelRect> pending;
    bool captureHeld = false;
};
