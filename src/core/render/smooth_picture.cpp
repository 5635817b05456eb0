#include "render/smooth_picture.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <exception>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "raster/frame_buffer.h"
#include "raster/rasterizer.h"
#include "render/render_modes.h"

namespace tarn {

namespace {

// Samples per output pixel along each axis.
constexpr int kSupersample = 4;
// Output rows a worker finishes at a time. Each band also draws the samples
// its filter reaches beyond its edges, so a taller band wastes less drawing
// but holds larger planes: at 2048 wide, 16 rows keep a worker's planes near
// 4 MB and redraw a quarter more rows than the picture has.
constexpr int kBandRows = 16;
// More workers than this cost more memory than they save time.
constexpr unsigned kMaxWorkers = 4;
// The filter is a Gaussian whose standard deviation, in output pixels, runs
// from kSoftestSigma at the softest factor to kSharpestSigma at the
// sharpest; about 0.3 is the spread of a one-pixel box, the least that still
// smooths edges without blurring them.
constexpr double kSoftestSigma = 1.0;
constexpr double kSharpestSigma = 0.3;
// Colours are summed as four floats (red, green, blue, unused): one pixel's
// sum is one vector, which every target has and every compiler here keeps in
// one register, where plain float loops were left unvectorized.
using Colour = float __attribute__((vector_size(16)));

double filterSigma(double factor) {
    const double t = (std::clamp(factor, kSmoothingFactorMin, kSmoothingFactorMax) - kSmoothingFactorMin) /
                     (kSmoothingFactorMax - kSmoothingFactorMin);
    return kSoftestSigma - (kSoftestSigma - kSharpestSigma) * t;
}

// The weights along one axis: a sample at `phase` (its place within its
// output pixel, 0 .. kSupersample - 1) counts for the output pixels at
// offsets -radius .. radius from its own.
struct AxisFilter {
    int radius = 0;
    std::vector<float> weights;  // by phase, then offset
    std::vector<float> whole;    // by offset: the weights of all phases together

    explicit AxisFilter(double sigma) : radius(static_cast<int>(std::ceil(2.0 * sigma))) {
        whole.assign(std::size_t(2 * radius + 1), 0.0f);
        for (int phase = 0; phase < kSupersample; ++phase) {
            const double inPixel = (phase + 0.5) / kSupersample;
            for (int o = -radius; o <= radius; ++o) {
                const double d = inPixel - 0.5 - o;
                const auto w = static_cast<float>(std::exp(-d * d / (2.0 * sigma * sigma)));
                weights.push_back(w);
                whole[std::size_t(o + radius)] += w;
            }
        }
    }
    float at(int phase, int offset) const { return weights[std::size_t(phase * (2 * radius + 1) + offset + radius)]; }

    // The sum of the weights that reach output pixel `p` of `count` from
    // pixels that exist: the divisor that keeps the borders' brightness.
    std::vector<float> coverage(int count, int sources) const {
        std::vector<float> sums(std::size_t(count), 0.0f);
        for (int p = 0; p < count; ++p)
            for (int o = -radius; o <= radius; ++o)
                if (p - o >= 0 && p - o < sources) sums[std::size_t(p)] += whole[std::size_t(o + radius)];
        return sums;
    }
};

// What one core draws with. Draws write scratch into the Mesh and the
// Companions (lighting, camera positions), so every worker but the first has
// copies of its own; the skin, the maps and the tables are only read.
struct Worker {
    RenderMode* mode = nullptr;
    RenderScene scene;
    std::unique_ptr<RenderModes> modes;
    std::unique_ptr<Mesh> mesh;
    std::vector<std::unique_ptr<Companion>> companions;
    Rasterizer rasterizer;
    FrameBuffer frame;
    RenderTarget target;
    std::vector<Colour> row;     // one sample row filtered across
    std::vector<Colour> sums;    // the band's output rows
    Colour palette[256]{};
    bool drew = false;

    Worker(RenderMode& callerMode, const RenderScene& shared, bool ownCopies) : scene(shared) {
        scene.rasterizer = &rasterizer;
        if (!ownCopies) {
            mode = &callerMode;
            return;
        }
        modes = std::make_unique<RenderModes>();
        mode = &modes->at(modes->indexOf(callerMode.GetName()));
        if (shared.mesh != nullptr) {
            mesh = std::make_unique<Mesh>(*shared.mesh);
            scene.mesh = mesh.get();
        }
        if (shared.companions != nullptr) {
            for (const auto& c : *shared.companions) companions.push_back(std::make_unique<Companion>(*c));
            scene.companions = &companions;
        }
    }
};

class SmoothJob {
public:
    SmoothJob(const RenderTarget& camera, int width, int height, double factor)
        : camera_(camera), width_(width), height_(height), pictureW_(planeWidthFor(width) * kSupersample),
          pictureH_(height * kSupersample), filter_(filterSigma(factor)),
          columnCoverage_(filter_.coverage(width, pictureW_ / kSupersample)),
          rowCoverage_(filter_.coverage(height, height)), rgb_(std::size_t(width) * std::size_t(height) * 3),
          bands_((height + kBandRows - 1) / kBandRows) {}

    int bands() const { return bands_; }
    Bytes takePixels() { return std::move(rgb_); }

    // Takes bands until none are left. The first failure stops every worker.
    void run(Worker& w) {
        try {
            prepare(w);
            for (int band = next_++; band < bands_ && !failed_; band = next_++) draw(w, band);
        } catch (...) {
            std::lock_guard lock(failureLock_);
            if (!failure_) failure_ = std::current_exception();
            failed_ = true;
        }
    }

    void rethrow() {
        if (failure_) std::rethrow_exception(failure_);
    }

private:
    int reach() const { return filter_.radius * kSupersample; }

    void prepare(Worker& w) const {
        w.frame.resize(pictureW_, (kBandRows + 2 * filter_.radius) * kSupersample);
        w.row.assign(std::size_t(width_), Colour{});
        w.sums.assign(std::size_t(kBandRows) * std::size_t(width_), Colour{});
        RenderTarget& t = w.target;
        t.colour = w.frame.colour();
        t.depth = w.frame.depth();
        t.pick = w.frame.pick();
        t.width = w.frame.width();
        t.eye = camera_.eye;
        t.lookAt = camera_.lookAt;
        t.fieldOfView = camera_.fieldOfView;
        t.pictureHeight = pictureH_;
    }

    // Output rows y0 .. y1 - 1 (bottom-up), from the sample rows they reach.
    void draw(Worker& w, int band) {
        const int y0 = band * kBandRows;
        const int y1 = std::min(height_, y0 + kBandRows);
        const int s0 = std::max(0, y0 * kSupersample - reach());
        const int s1 = std::min(pictureH_, y1 * kSupersample + reach());
        w.target.height = s1 - s0;
        w.target.pictureY = s0;
        w.mode->Draw(w.target, w.scene);
        w.drew = true;
        for (std::size_t i = 0; i < 256; ++i) {
            const std::uint8_t* rgb = &w.mode->palette[i * 3];
            w.palette[i] = Colour{float(rgb[0]), float(rgb[1]), float(rgb[2]), 0.0f};
        }
        std::fill(w.sums.begin(), w.sums.end(), Colour{});
        for (int s = s0; s < s1; ++s) {
            filterAcross(w, w.frame.colour() + std::size_t(s - s0) * std::size_t(w.frame.width()));
            spreadDown(w, s, y0, y1);
        }
        finish(w, y0, y1);
    }

    // w.row = one sample row filtered along x into output pixels. A group of
    // four equal samples (most of any picture) is one colour at the weights
    // of all phases together.
    void filterAcross(Worker& w, const std::uint8_t* line) const {
        const int r = filter_.radius;
        Colour* row = w.row.data();
        std::fill(w.row.begin(), w.row.end(), Colour{});
        const int groups = pictureW_ / kSupersample;
        for (int cx = 0; cx < groups; ++cx) {
            const std::uint8_t* s = line + std::size_t(cx) * kSupersample;
            const int lo = std::max(0, cx - r);
            const int hi = std::min(width_ - 1, cx + r);
            if (s[0] == s[1] && s[1] == s[2] && s[2] == s[3]) {
                const Colour v = w.palette[s[0]];
                for (int x = lo; x <= hi; ++x) row[x] += filter_.whole[std::size_t(x - cx + r)] * v;
                continue;
            }
            const Colour v0 = w.palette[s[0]], v1 = w.palette[s[1]], v2 = w.palette[s[2]], v3 = w.palette[s[3]];
            for (int x = lo; x <= hi; ++x) {
                const int o = x - cx;
                row[x] += filter_.at(0, o) * v0 + filter_.at(1, o) * v1 + filter_.at(2, o) * v2 + filter_.at(3, o) * v3;
            }
        }
    }

    // Adds the filtered sample row `sampleRow` to the band's output rows it reaches.
    void spreadDown(Worker& w, int sampleRow, int y0, int y1) const {
        const int cy = sampleRow / kSupersample;
        const int phase = sampleRow % kSupersample;
        const std::size_t n = std::size_t(width_);
        for (int o = -filter_.radius; o <= filter_.radius; ++o) {
            const int y = cy + o;
            if (y < y0 || y >= y1) continue;
            const float k = filter_.at(phase, o);
            Colour* out = w.sums.data() + std::size_t(y - y0) * n;
            const Colour* in = w.row.data();
            for (std::size_t i = 0; i < n; ++i) out[i] += k * in[i];
        }
    }

    // The band's finished rows into the picture, top row first.
    void finish(const Worker& w, int y0, int y1) {
        for (int y = y0; y < y1; ++y) {
            const Colour* cell = w.sums.data() + std::size_t(y - y0) * std::size_t(width_);
            std::uint8_t* out = rgb_.data() + std::size_t(height_ - 1 - y) * std::size_t(width_) * 3;
            for (int x = 0; x < width_; ++x, ++cell) {
                // A mean of colours 0..255 with positive weights: rounding
                // half up needs no clamp beyond float noise at the ends.
                const Colour v = *cell / (columnCoverage_[std::size_t(x)] * rowCoverage_[std::size_t(y)]) + 0.5f;
                for (int c = 0; c < 3; ++c) *out++ = static_cast<std::uint8_t>(std::clamp(v[c], 0.0f, 255.0f));
            }
        }
    }

    const RenderTarget& camera_;
    int width_;
    int height_;
    int pictureW_;
    int pictureH_;
    AxisFilter filter_;
    std::vector<float> columnCoverage_;
    std::vector<float> rowCoverage_;
    Bytes rgb_;
    int bands_;
    std::atomic<int> next_{0};
    std::atomic<bool> failed_{false};
    std::mutex failureLock_;
    std::exception_ptr failure_;
};

}  // namespace

SnapshotPicture smoothPicture(RenderMode& mode, RenderScene& scene, const RenderTarget& camera, int width, int height,
                              double factor) {
    SmoothJob job(camera, width, height, factor);
    // Copies for the other cores are made before any draw starts: the first
    // worker writes into the caller's Mesh while the others draw.
    const bool copyable = RenderModes().indexOf(mode.GetName()) >= 0;
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    const auto count = copyable ? std::min({cores, kMaxWorkers, unsigned(job.bands())}) : 1u;
    std::vector<std::unique_ptr<Worker>> workers;
    for (unsigned i = 0; i < count; ++i) workers.push_back(std::make_unique<Worker>(mode, scene, i > 0));

    std::vector<std::thread> threads;
    for (std::size_t i = 1; i < workers.size(); ++i) {
        try {
            threads.emplace_back([&job, w = workers[i].get()] { job.run(*w); });
        } catch (const std::system_error&) {
            break;  // the cores that did start share the bands
        }
    }
    job.run(*workers[0]);
    for (auto& t : threads) t.join();
    job.rethrow();
    // The caller's mode shows what was drawn, as after any draw of it.
    for (const auto& w : workers)
        if (w->drew) {
            mode.palette = w->mode->palette;
            break;
        }
    return SnapshotPicture{width, height, true, job.takePixels(), mode.palette};
}

}  // namespace tarn
