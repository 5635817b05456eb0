// The texel selections on a 640 x 480 skin: by colour (a 4-connected region
// and every texel of an index), From Selected Triangles over a mapping of
// 2,400 selected Triangles covering the skin, and a 256 x 256 true-colour
// image pasted from the clipboard (matched nearest or dithered) and dropped.
#include <benchmark/benchmark.h>

#include <random>

#include "edit/selection_commands.h"
#include "image/history.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int kCells = 40;  // 40 x 30 cells of two Triangles
constexpr int kPasteSide = 256;

// Colours spread over the cube, as a game palette's are.
tarn::Palette spreadPalette() {
    tarn::Palette p{};
    for (std::size_t i = 0; i < p.size(); ++i) p[i] = static_cast<std::uint8_t>(i * 97 % 256);
    return p;
}

// A skin of two indices in vertical stripes of 5 texels bridged along the
// top row: one 4-connected region of half the skin that winds through it.
std::unique_ptr<tarn::Skin> stripedSkin() {
    auto skin = tarn::makeBlankSkin(kWidth, kHeight);
    skin->palette = spreadPalette();
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            skin->pixels[std::size_t(y * kWidth + x)] = (x / 5) % 2 == 0 || y == 0 ? 10 : 20;
    return skin;
}

void BM_SelectByColourConnected640x480(benchmark::State& state) {
    const auto skin = stripedSkin();
    tarn::SkinSelection selection;
    for (auto _ : state) {
        selection.combine(tarn::colourShape(*skin, 0, state.range(0) != 0), kWidth, kHeight, tarn::SelectCombine::Replace);
        benchmark::DoNotOptimize(selection.count());
    }
    state.counters["texels"] = double(selection.count());
}

void BM_SelectFromTriangles640x480(benchmark::State& state) {
    tarn::Mesh mesh;
    mesh.skinWidth = kWidth;
    mesh.skinHeight = kHeight;
    const int rows = kCells * kHeight / kWidth;
    const int step = kWidth / kCells;
    int verts = 0;
    for (int y = 0; y <= rows; ++y)
        for (int x = 0; x <= kCells; ++x)
            mesh.mappingVerts[std::size_t(verts++)] = {std::int16_t(std::min(x * step, kWidth - 1)),
                                                       std::int16_t(std::min(y * step, kHeight - 1))};
    mesh.mappingVertCount = std::int16_t(verts);
    int tris = 0;
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < kCells; ++x) {
            const auto v = [&](int dx, int dy) { return std::int16_t((y + dy) * (kCells + 1) + x + dx); };
            mesh.triangles[std::size_t(tris)].mapping = {v(0, 0), v(1, 0), v(1, 1)};
            mesh.triangles[std::size_t(tris++)].flags = tarn::kTriSelected;
            mesh.triangles[std::size_t(tris)].mapping = {v(0, 0), v(1, 1), v(0, 1)};
            mesh.triangles[std::size_t(tris++)].flags = tarn::kTriSelected;
        }
    mesh.triangleCount = std::int16_t(tris);
    tarn::SkinSelection selection;
    for (auto _ : state) {
        selection.combine(tarn::selectedTrianglesShape(mesh, kWidth, kHeight), kWidth, kHeight,
                          tarn::SelectCombine::Replace);
        benchmark::DoNotOptimize(selection.count());
    }
    state.counters["texels"] = double(selection.count());
    state.counters["triangles"] = tris;
}

// Another program's image on the clipboard; the dither question answered.
class ClipboardUi final : public tarn::Ui {
public:
    tarn::ClipboardImage clip;
    tarn::Answer dither = tarn::Answer::No;
    void message(const std::string&) override {}
    tarn::Answer ask(const std::string&, tarn::QuestionKind) override { return dither; }
    std::optional<tarn::FileDialogResult> openFile(const tarn::FileDialogRequest&) override { return std::nullopt; }
    std::optional<tarn::FileDialogResult> saveFile(const tarn::FileDialogRequest&) override { return std::nullopt; }
    std::optional<std::string> browseFolder(const std::string&) override { return std::nullopt; }
    std::optional<tarn::ClipboardImage> clipboardImage() override { return clip; }
};

void BM_PasteAndDropTrueColour256(benchmark::State& state) {
    ClipboardUi ui;
    ui.dither = state.range(0) != 0 ? tarn::Answer::Yes : tarn::Answer::No;
    std::mt19937 rng(7);
    ui.clip.width = ui.clip.height = kPasteSide;
    ui.clip.rgba.resize(std::size_t(kPasteSide) * kPasteSide * 4);
    for (std::size_t i = 0; i < ui.clip.rgba.size(); ++i) ui.clip.rgba[i] = i % 4 == 3 ? 255 : std::uint8_t(rng());
    tarn::MemorySettings settings;
    tarn::Folders folders;
    tarn::Mesh mesh;
    tarn::SkinList skins;
    tarn::PaintState paint;
    tarn::Lighting lighting;
    tarn::NullRefresh refresh;
    tarn::History history{skins};
    skins.append(stripedSkin());
    tarn::SkinEditContext edit{ui, settings, folders, mesh, skins, paint, lighting, refresh, &history};
    tarn::FloatingSelection floating;
    tarn::SelectionContext c{edit, floating, {100, 100}};
    for (auto _ : state) {
        tarn::pasteClipboard(c);
        tarn::dropFloating(c);
    }
}

}  // namespace

BENCHMARK(BM_SelectByColourConnected640x480)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SelectFromTriangles640x480)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PasteAndDropTrueColour256)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
