#include "render/snapshot.h"

#include <algorithm>
#include <cerrno>
#include <cmath>

#include "image/image_codec.h"
#include "raster/frame_buffer.h"
#include "raster/rasterizer.h"
#include "render/smooth_picture.h"

namespace tarn {

namespace {

// Each slider step adds this much to the smoothing factor.
constexpr double kSliderStep = 0.00125;
constexpr int kChannels = 3;

// Points `target` at `frame` with the camera of `camera`.
void aimAt(RenderTarget& target, FrameBuffer& frame, const RenderTarget& camera) {
    target.colour = frame.colour();
    target.depth = frame.depth();
    target.pick = frame.pick();
    target.width = frame.width();
    target.height = frame.height();
    target.eye = camera.eye;
    target.lookAt = camera.lookAt;
    target.fieldOfView = camera.fieldOfView;
}

void putRgb(Bytes& out, const Palette& palette, std::uint8_t index) {
    const std::size_t at = std::size_t(index) * 3;
    out.insert(out.end(), palette.begin() + std::ptrdiff_t(at), palette.begin() + std::ptrdiff_t(at + 3));
}

SnapshotPicture plainPicture(RenderMode& mode, RenderScene& scene, const RenderTarget& camera, int width,
                             int height, bool trueColour) {
    FrameBuffer frame;
    frame.resize(width, height);
    RenderTarget target;
    aimAt(target, frame, camera);
    mode.Draw(target, scene);
    SnapshotPicture picture{width, height, trueColour, {}, mode.palette};
    picture.pixels.reserve(std::size_t(width) * std::size_t(height) * (trueColour ? kChannels : 1));
    for (int row = height - 1; row >= 0; --row) {
        const std::uint8_t* line = frame.colour() + std::size_t(row) * std::size_t(frame.width());
        if (!trueColour) {
            picture.pixels.insert(picture.pixels.end(), line, line + width);
            continue;
        }
        for (int x = 0; x < width; ++x) putRgb(picture.pixels, mode.palette, line[x]);
    }
    return picture;
}

std::string extensionOf(const std::string& path) {
    const std::string name = fileNameOf(path);
    const auto dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : lowerCase(name.substr(dot));
}

}  // namespace

double smoothingFactor(int sharpness) {
    return kSmoothingFactorMin + std::clamp(sharpness, 0, kSnapshotSliderMax) * kSliderStep;
}

SnapshotPicture renderSnapshot(RenderMode& mode, RenderScene scene, const RenderTarget& camera, int width,
                               int height, const SnapshotQuality& quality) {
    width = std::clamp(width, 1, kSnapshotMaxSide);
    height = std::clamp(height, 1, kSnapshotMaxSide);
    // A rasterizer of its own: the pane's stays pointed at the pane's planes.
    Rasterizer rasterizer;
    scene.rasterizer = &rasterizer;
    if (quality.trueColour && quality.smooth) return smoothPicture(mode, scene, camera, width, height, quality.factor);
    return plainPicture(mode, scene, camera, width, height, quality.trueColour);
}

Bytes encodeSnapshot(const SnapshotPicture& p, const std::string& path, int filterIndex) {
    enum class Type { Bmp, Pcx, Png } type = Type::Bmp;
    const std::string ext = extensionOf(path);
    if (ext == ".pcx" || (ext != ".bmp" && ext != ".png" && filterIndex == 2))
        type = Type::Pcx;
    else if (ext == ".png" || (ext != ".bmp" && filterIndex == 3))
        type = Type::Png;
    const std::uint8_t* px = p.pixels.data();
    Bytes file;
    switch (type) {
    case Type::Pcx: file = p.trueColour ? encodePcx24(p.width, p.height, px) : encodePcx(p.width, p.height, px, p.palette); break;
    case Type::Png: file = p.trueColour ? encodePng24(p.width, p.height, px) : encodePng8(p.width, p.height, px, p.palette); break;
    case Type::Bmp: file = p.trueColour ? encodeBmp24(p.width, p.height, px) : encodeBmp(p.width, p.height, px, p.palette); break;
    }
    return file;
}

int saveSnapshot(const SnapshotPicture& picture, const std::string& path, int filterIndex) {
    const Bytes file = encodeSnapshot(picture, path, filterIndex);
    // An encoder gives nothing only when it ran out of memory.
    return file.empty() ? ENOMEM : writeFileAtomic(path, file);
}

std::optional<SnapshotRequest> askSnapshot(Ui& ui, SettingsStore& settings, Folders& folders, int paneWidth,
                                           int paneHeight) {
    SnapshotOptions initial;
    initial.width = paneWidth;
    initial.height = paneHeight;
    const auto chosen = ui.snapshotOptions(initial);
    if (!chosen) return std::nullopt;
    SnapshotRequest request;
    request.quality.trueColour = chosen->trueColour;
    request.quality.smooth = chosen->trueColour && chosen->smoothing;
    request.quality.factor = smoothingFactor(chosen->sharpness);
    auto inRange = [](int side) { return side >= kSnapshotMinSide && side <= kSnapshotMaxSide; };
    if (chosen->custom && !(inRange(chosen->width) && inRange(chosen->height))) {
        ui.message(kMsgSnapshotSize);
        return std::nullopt;
    }
    request.width = chosen->custom ? chosen->width : std::clamp(paneWidth, 1, kSnapshotMaxSide);
    request.height = chosen->custom ? chosen->height : std::clamp(paneHeight, 1, kSnapshotMaxSide);

    FileDialogRequest dialog;
    dialog.filter = kSnapshotFilter;
    dialog.initialName = "*.bmp";
    const auto file = askSavePath(ui, settings, folders, dialog);
    if (!file) return std::nullopt;
    const char* ext = file->filterIndex == 2 ? ".pcx" : file->filterIndex == 3 ? ".png" : ".bmp";
    request.path = appendExtensionIfNone(file->path, ext);
    request.filterIndex = file->filterIndex;
    return request;
}

void TakeSnapshot(Ui& ui, SettingsStore& settings, Folders& folders, int paneWidth, int paneHeight,
                  const std::function<SnapshotPicture(const SnapshotRequest&)>& draw) {
    const auto request = askSnapshot(ui, settings, folders, paneWidth, paneHeight);
    if (!request) return;
    if (const int error = saveSnapshot(draw(*request), request->path, request->filterIndex); error != 0)
        ui.message(errorSavingMessage(error, request->path));
}

}  // namespace tarn
