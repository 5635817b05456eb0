#include "render/snapshot.h"

#include <algorithm>
#include <cerrno>
#include <cmath>

#include "image/image_codec.h"
#include "raster/frame_buffer.h"
#include "raster/rasterizer.h"

namespace tarn {

namespace {

// Each slider step adds this much to the smoothing factor.
constexpr double kSliderStep = 0.00125;
constexpr double kFactorMin = 1.0;
constexpr double kFactorMax = kFactorMin + kSnapshotSliderMax * kSliderStep;
// Smoothing draws this many samples per output pixel along each axis.
constexpr int kSupersample = 4;
// The largest plane a smoothed snapshot draws at a time, whatever its size.
constexpr int kPieceSide = kSnapshotMaxSide;
// The filter is a Gaussian whose standard deviation, in output pixels, runs
// from kSoftestSigma at the softest factor to kSharpestSigma at the
// sharpest; about 0.3 is the spread of a one-pixel box, the least that still
// smooths edges without blurring them.
constexpr double kSoftestSigma = 1.0;
constexpr double kSharpestSigma = 0.3;
constexpr int kChannels = 3;

double filterSigma(double factor) {
    const double t = (std::clamp(factor, kFactorMin, kFactorMax) - kFactorMin) / (kFactorMax - kFactorMin);
    return kSoftestSigma - (kSoftestSigma - kSharpestSigma) * t;
}

// The weights along one axis: a sample at `phase` (its place within its
// output pixel, 0 .. kSupersample - 1) counts for the output pixels at
// offsets -radius .. radius from its own.
struct AxisFilter {
    int radius = 0;
    std::vector<float> weights;
    float at(int phase, int offset) const {
        return weights[std::size_t(phase * (2 * radius + 1) + offset + radius)];
    }
};

AxisFilter makeFilter(double sigma) {
    AxisFilter f;
    f.radius = static_cast<int>(std::ceil(2.0 * sigma));
    for (int phase = 0; phase < kSupersample; ++phase) {
        const double inPixel = (phase + 0.5) / kSupersample;
        for (int o = -f.radius; o <= f.radius; ++o) {
            const double d = inPixel - 0.5 - o;
            f.weights.push_back(static_cast<float>(std::exp(-d * d / (2.0 * sigma * sigma))));
        }
    }
    return f;
}

// Points `target` at `frame` with the camera of `camera`, for the part of a
// picture of pictureW x pictureH whose bottom-left pixel is (x, y).
void aimAt(RenderTarget& target, FrameBuffer& frame, const RenderTarget& camera, int pictureW, int pictureH,
           int x, int y) {
    target.colour = frame.colour();
    target.depth = frame.depth();
    target.pick = frame.pick();
    target.width = frame.width();
    target.height = frame.height();
    target.eye = camera.eye;
    target.lookAt = camera.lookAt;
    target.fieldOfView = camera.fieldOfView;
    target.pictureWidth = pictureW;
    target.pictureHeight = pictureH;
    target.pictureX = x;
    target.pictureY = y;
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
    aimAt(target, frame, camera, 0, 0, 0, 0);
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

// Sums of filtered colour and of weights for every output pixel, rows
// bottom-up like the planes.
class FilterSums {
public:
    FilterSums(int width, int height, const AxisFilter& filter)
        : width_(width), height_(height), filter_(filter),
          sums_(std::size_t(width) * std::size_t(height) * (kChannels + 1)), row_(std::size_t(width) * (kChannels + 1)) {}

    // Adds one drawn plane, the part of the supersampled picture whose
    // bottom-left sample is (x0, y0).
    void add(const FrameBuffer& frame, int x0, int y0, const Palette& palette) {
        const int r = filter_.radius;
        const int first = std::max(0, x0 / kSupersample - r);
        const int last = std::min(width_ - 1, (x0 + frame.clientWidth() - 1) / kSupersample + r);
        if (first > last) return;
        for (int j = 0; j < frame.height(); ++j) {
            std::fill(row_.begin() + first * (kChannels + 1), row_.begin() + (last + 1) * (kChannels + 1), 0.0f);
            const std::uint8_t* line = frame.colour() + std::size_t(j) * std::size_t(frame.width());
            for (int i = 0; i < frame.clientWidth(); ++i) {
                const int sample = x0 + i;
                const int cx = sample / kSupersample;
                const int phase = sample % kSupersample;
                const std::uint8_t* rgb = palette.data() + std::size_t(line[i]) * kChannels;
                for (int o = -r; o <= r; ++o) {
                    const int x = cx + o;
                    if (x < 0 || x >= width_) continue;
                    const float w = filter_.at(phase, o);
                    float* cell = &row_[std::size_t(x) * (kChannels + 1)];
                    for (int c = 0; c < kChannels; ++c) cell[c] += w * rgb[c];
                    cell[kChannels] += w;
                }
            }
            spreadRow(y0 + j, first, last);
        }
    }

    // The filtered picture, top row first.
    Bytes rgb() const {
        Bytes out;
        out.reserve(std::size_t(width_) * std::size_t(height_) * kChannels);
        for (int y = height_ - 1; y >= 0; --y) {
            for (int x = 0; x < width_; ++x) {
                const float* cell = &sums_[(std::size_t(y) * std::size_t(width_) + std::size_t(x)) * (kChannels + 1)];
                for (int c = 0; c < kChannels; ++c) {
                    const float v = cell[kChannels] > 0.0f ? cell[c] / cell[kChannels] : 0.0f;
                    out.push_back(static_cast<std::uint8_t>(std::clamp(std::lround(v), 0L, 255L)));
                }
            }
        }
        return out;
    }

private:
    // Adds the row of horizontally filtered sums of sample row `sampleRow`
    // to the output rows it reaches.
    void spreadRow(int sampleRow, int first, int last) {
        const int cy = sampleRow / kSupersample;
        const int phase = sampleRow % kSupersample;
        for (int o = -filter_.radius; o <= filter_.radius; ++o) {
            const int y = cy + o;
            if (y < 0 || y >= height_) continue;
            const float w = filter_.at(phase, o);
            float* out = &sums_[std::size_t(y) * std::size_t(width_) * (kChannels + 1)];
            for (std::size_t k = std::size_t(first) * (kChannels + 1); k < std::size_t(last + 1) * (kChannels + 1); ++k)
                out[k] += w * row_[k];
        }
    }

    int width_;
    int height_;
    const AxisFilter& filter_;
    std::vector<float> sums_;
    std::vector<float> row_;
};

SnapshotPicture smoothPicture(RenderMode& mode, RenderScene& scene, const RenderTarget& camera, int width,
                              int height, double factor) {
    // The picture the pane would show at this size, kSupersample times larger
    // each way, so that it frames exactly what the plain picture frames.
    const int pictureW = planeWidthFor(width) * kSupersample;
    const int pictureH = height * kSupersample;
    const AxisFilter filter = makeFilter(filterSigma(factor));
    FilterSums sums(width, height, filter);
    FrameBuffer frame;
    RenderTarget target;
    for (int y = 0; y < pictureH; y += kPieceSide) {
        for (int x = 0; x < pictureW; x += kPieceSide) {
            frame.resize(std::min(kPieceSide, pictureW - x), std::min(kPieceSide, pictureH - y));
            aimAt(target, frame, camera, pictureW, pictureH, x, y);
            mode.Draw(target, scene);
            sums.add(frame, x, y, mode.palette);
        }
    }
    return SnapshotPicture{width, height, true, sums.rgb(), mode.palette};
}

std::string extensionOf(const std::string& path) {
    const std::string name = fileNameOf(path);
    const auto dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : lowerCase(name.substr(dot));
}

}  // namespace

double smoothingFactor(int sharpness) {
    return kFactorMin + std::clamp(sharpness, 0, kSnapshotSliderMax) * kSliderStep;
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

int saveSnapshot(const SnapshotPicture& p, const std::string& path, int filterIndex) {
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
