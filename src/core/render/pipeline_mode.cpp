#include "render/pipeline_mode.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace tarn {

namespace {

// Below this many pixels a second core costs more in starting it than it saves.
constexpr std::size_t kBandedPixels = std::size_t(1280) * 960;
constexpr unsigned kMaxBands = 8;
std::atomic<int> forcedBands{0};

}  // namespace

void setRenderBands(int bands) { forcedBands = std::max(bands, 0); }

int renderBands(const RenderTarget& target) {
    // A target that is already a band of a larger picture has its own cores.
    if (target.pictureHeight > 0 || target.height < 2) return 1;
    if (const int forced = forcedBands.load()) return std::min(forced, target.height);
    if (target.pixelCount() < kBandedPixels) return 1;
    return int(std::clamp(std::thread::hardware_concurrency(), 1u, kMaxBands));
}

void PipelineMode::Draw(RenderTarget& target, RenderScene& scene) {
    RenderPass pass(target, scene);
    if (!pass.setUpFrame(palette, background(scene))) return;
    preparePalette(scene);
    if (!pass.hasModel() || !bindSource(pass)) return pass.clear();
    pass.transform();
    if (rejects()) pass.reject();
    light(pass);
    const int bands = renderBands(target);
    if (bands <= 1) {
        pass.clear();
        return fill(pass);
    }
    drawInBands(pass, bands);
}

void PipelineMode::fill(RenderPass& pass) {
    drawMesh(pass);
    drawCompanions(pass);
}

// Transforming, rejecting and lighting wrote what every band reads; from here
// on each band writes only its own rows and its own rasterizer, and the fills
// and lines of a band give exactly the pixels of one drawing of the whole.
void PipelineMode::drawInBands(RenderPass& whole, int bands) {
    const int height = whole.target().height;
    std::vector<std::unique_ptr<Rasterizer>> rasters;
    std::vector<RenderPass> passes;
    passes.reserve(std::size_t(bands));
    for (int b = 0; b < bands; ++b) {
        const int first = height * b / bands;
        const int rows = height * (b + 1) / bands - first;
        Rasterizer* raster = &whole.raster();
        if (b > 0) raster = rasters.emplace_back(std::make_unique<Rasterizer>()).get();
        passes.push_back(whole.band(*raster, first, rows));
        if (b > 0) bindSource(passes.back());
    }
    std::exception_ptr failure;
    std::mutex failureLock;
    const auto draw = [&](RenderPass& band) {
        try {
            band.clearBand();
            fill(band);
        } catch (...) {
            std::lock_guard lock(failureLock);
            if (!failure) failure = std::current_exception();
        }
    };
    std::vector<std::thread> threads;
    std::size_t started = 1;
    for (; started < passes.size(); ++started) {
        try {
            threads.emplace_back(draw, std::ref(passes[started]));
        } catch (const std::system_error&) {
            break;  // the calling thread draws the bands no core took
        }
    }
    draw(passes[0]);
    for (std::size_t b = started; b < passes.size(); ++b) draw(passes[b]);
    for (auto& t : threads) t.join();
    // The pane's rasterizer stays pointed at the pane's planes, as after any draw.
    whole.aimAtWhole();
    if (failure) std::rethrow_exception(failure);
}

std::uint8_t backgroundSlot(const RenderScene& scene) {
    return scene.paint ? scene.paint->colorSlots[kSlotBackground] : 0;
}

void applyShadedPalette(Palette& palette, const RenderScene& scene) {
    if (scene.lighting != nullptr) {
        for (int r = 0; r < kRampCount; ++r)
            for (int k = 0; k < kRampLength; ++k)
                for (int ch = 0; ch < 3; ++ch)
                    palette[std::size_t((kRampBase[r] + k) * 3 + ch)] =
                        scene.lighting->shadeRamps[std::size_t(r)][std::size_t(k)][std::size_t(ch)];
    }
    if (scene.skin != nullptr && scene.paint != nullptr) {
        const auto from = std::size_t(scene.paint->colorSlots[kSlotBackground]) * 3;
        for (std::size_t ch = 0; ch < 3; ++ch)
            palette[std::size_t(kShadedBackground) * 3 + ch] = scene.skin->palette[from + ch];
    }
}

}  // namespace tarn
