// The skin pane's redraw kinds and a brush step at a typical pane size: the
// kind-3 copy through the source map is what every painted run pays.
#include <benchmark/benchmark.h>

#include "edit/skin_view.h"
#include "image/skin.h"
#include "model/mesh.h"
#include "paint/paint_state.h"
#include "platform/refresh.h"

namespace {

using namespace tarn;

struct Fixture {
    Mesh mesh;
    PaintState paint;
    PaneModes modes;
    NullRefresh refresh;
    std::unique_ptr<Skin> skin = makeBlankSkin(256, 256);
    SkinView view{PaneContext{mesh, paint, modes, refresh, [this] { return skin.get(); }, [] { return 5; }}};
    NoPointer pointer;

    Fixture() {
        for (std::size_t i = 0; i < skin->pixels.size(); ++i) skin->pixels[i] = static_cast<std::uint8_t>(i * 7);
        view.setPan(128.0f, 128.0f);
        view.setZoom(3.0f);
        view.resize(800, 600);
    }
};

void BM_SkinViewRedraw(benchmark::State& state) {
    Fixture f;
    const int kind = static_cast<int>(state.range(0));
    for (auto _ : state) {
        f.view.redraw(kind);
        benchmark::DoNotOptimize(f.view.image().data());
    }
    state.counters["Mpix/s"] =
        benchmark::Counter(800.0 * 600.0 * static_cast<double>(state.iterations()) / 1e6, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SkinViewRedraw)->Arg(kRedrawFull)->Arg(kRedrawQuick)->Arg(kRedrawBackground)->Arg(kRedrawFromSkin);

// A pencil stroke of 100 moves of 4 pixels each, with the kind-3 redraw a
// painted run asks for after every move.
void BM_SkinViewPencilStroke(benchmark::State& state) {
    Fixture f;
    for (auto _ : state) {
        MouseEvent e;
        e.x = 200;
        e.y = 300;
        e.button = e.buttons = kLeftButton;
        f.view.mousePress(e, f.pointer);
        e.button = kNoButton;
        for (int i = 0; i < 100; ++i) {
            e.x += 4;
            f.view.mouseMove(e, f.pointer);
            f.view.redraw(kRedrawFromSkin);
        }
        e.button = kLeftButton;
        e.buttons = kNoButton;
        f.view.mouseRelease(e, f.pointer);
    }
}
BENCHMARK(BM_SkinViewPencilStroke);

}  // namespace
