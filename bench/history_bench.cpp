// The undo history on a 640 x 480 skin: recording a 10,000-pixel stroke, and
// taking it back and putting it again.
#include <benchmark/benchmark.h>

#include <cmath>

#include "image/history.h"
#include "image/skin_list.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int kStrokePixels = 10000;

// A 5-pixel-wide wave across the whole skin, 10,000 pixels in all: a stroke
// that touches tiles all along its way, as a long brush drag does.
void paintStroke(tarn::Skin& skin, std::uint8_t colour) {
    int painted = 0;
    for (int x = 0; painted < kStrokePixels; x = (x + 1) % kWidth) {
        const int y = kHeight / 2 + static_cast<int>(std::lround(150.0 * std::sin(x / 60.0)));
        for (int dy = 0; dy < 5 && painted < kStrokePixels; ++dy, ++painted)
            skin.pixels[static_cast<std::size_t>((y + dy) * kWidth + x)] = colour;
    }
}

struct StrokeSetup {
    tarn::SkinList list;
    tarn::History history{list};
    tarn::Skin* skin;
    StrokeSetup() {
        list.append(tarn::makeBlankSkin(kWidth, kHeight));
        skin = list.at(0);
    }
};

void BM_RecordStroke(benchmark::State& state) {
    StrokeSetup s;
    std::uint8_t colour = 1;
    for (auto _ : state) {
        tarn::SkinEdit edit(&s.history, *s.skin);
        paintStroke(*s.skin, colour++);
        edit.commit("Pencil stroke");
    }
}

// One undo and one redo of the stroke per iteration.
void BM_UndoRedoStroke(benchmark::State& state) {
    StrokeSetup s;
    tarn::SkinEdit edit(&s.history, *s.skin);
    paintStroke(*s.skin, 9);
    edit.commit("Pencil stroke");
    for (auto _ : state) {
        s.history.undo();
        s.history.redo();
    }
    state.counters["stepBytes"] = static_cast<double>(s.history.byteCount());
}

}  // namespace

BENCHMARK(BM_RecordStroke)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UndoRedoStroke)->Unit(benchmark::kMicrosecond);
