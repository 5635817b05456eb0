// Codec throughput on a 256 x 256 skin of random indices (the worst case for
// run-length encoding) and on a flat one (the best).
#include <benchmark/benchmark.h>

#include <random>

#include "image/image_codec.h"

namespace {

constexpr int kSide = 256;

tarn::Bytes skinPixels(bool flat) {
    tarn::Bytes px(static_cast<std::size_t>(kSide * kSide), 48);
    if (!flat) {
        std::mt19937 rng(1);
        for (auto& p : px) p = static_cast<std::uint8_t>(rng());
    }
    return px;
}

void BM_EncodePcx(benchmark::State& state) {
    const auto px = skinPixels(state.range(0) != 0);
    for (auto _ : state) benchmark::DoNotOptimize(tarn::encodePcx(kSide, kSide, px.data(), tarn::Palette{}));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(px.size()));
}

void BM_DecodePcx(benchmark::State& state) {
    const auto px = skinPixels(state.range(0) != 0);
    const auto file = tarn::encodePcx(kSide, kSide, px.data(), tarn::Palette{});
    for (auto _ : state) benchmark::DoNotOptimize(tarn::decodePcx(file));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(px.size()));
}

void BM_EncodeBmp(benchmark::State& state) {
    const auto px = skinPixels(false);
    for (auto _ : state) benchmark::DoNotOptimize(tarn::encodeBmp(kSide, kSide, px.data(), tarn::Palette{}));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(px.size()));
}

void BM_DecodeBmp(benchmark::State& state) {
    const auto px = skinPixels(false);
    const auto file = tarn::encodeBmp(kSide, kSide, px.data(), tarn::Palette{});
    for (auto _ : state) benchmark::DoNotOptimize(tarn::decodeBmp(file));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(px.size()));
}

void BM_EncodePng8(benchmark::State& state) {
    const auto px = skinPixels(false);
    for (auto _ : state) benchmark::DoNotOptimize(tarn::encodePng8(kSide, kSide, px.data(), tarn::Palette{}));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(px.size()));
}

// The largest true-colour image matched to a palette: a row of noise that
// every other row repeats, so that a cache of recent colours cannot help.
// Arg 1 dithers.
void BM_MatchLargestNoiseImage(benchmark::State& state) {
    tarn::RgbaImage image{tarn::kMaxImageWidth, tarn::kMaxImageRows, {}};
    std::mt19937 rng(5);
    tarn::Bytes row(static_cast<std::size_t>(image.width) * 4);
    for (auto& b : row) b = static_cast<std::uint8_t>(rng() | 0x80);  // opaque enough
    image.rgba.reserve(row.size() * static_cast<std::size_t>(image.height));
    for (int y = 0; y < image.height; ++y) image.rgba.insert(image.rgba.end(), row.begin(), row.end());
    tarn::ColourMatch match;
    for (auto& c : match.palette) c = static_cast<std::uint8_t>(rng());
    match.dither = state.range(0) != 0;
    for (auto _ : state) benchmark::DoNotOptimize(tarn::matchToPalette(image, match));
    state.SetItemsProcessed(state.iterations() * image.width * image.height);
}

}  // namespace

BENCHMARK(BM_MatchLargestNoiseImage)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_EncodePcx)->Arg(0)->Arg(1);
BENCHMARK(BM_DecodePcx)->Arg(0)->Arg(1);
BENCHMARK(BM_EncodeBmp);
BENCHMARK(BM_DecodeBmp);
BENCHMARK(BM_EncodePng8);
