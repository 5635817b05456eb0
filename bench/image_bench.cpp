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

}  // namespace

BENCHMARK(BM_EncodePcx)->Arg(0)->Arg(1);
BENCHMARK(BM_DecodePcx)->Arg(0)->Arg(1);
BENCHMARK(BM_EncodeBmp);
BENCHMARK(BM_DecodeBmp);
BENCHMARK(BM_EncodePng8);
