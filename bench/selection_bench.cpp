// The texel selections on a 640 x 480 skin: by colour (a 4-connected region
// and every texel of an index), From Selected Triangles over a mapping of
// 2,400 selected Triangles covering the skin, and a 256 x 256 true-colour
// image pasted from the clipboard (matched nearest or dithered) and dropped.
#include <benchmark/benchmark.h>

#include <fstream>
#include <random>

#include "edit/selection_commands.h"
#include "image/history.h"
#include "image/image_codec.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int kCells = 40;  // 40 x 30 cells of two Triangles
constexpr int kPasteSide = 256;

// The male player's palette (Quake 2's), or colours spread over the cube
// without the real files.
tarn::Palette skinPalette() {
    tarn::Palette p{};
    std::ifstream in(std::string(TARN_REAL_TESTDATA) + "/q2-didux/baseq2/players/male/ne/usmc.pcx", std::ios::binary);
    const tarn::Bytes file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (tarn::readPcxPalette(file, p)) return p;
    for (std::size_t i = 0; i < p.size(); ++i) p[i] = static_cast<std::uint8_t>(i * 97 % 256);
    return p;
}

// A skin of two indices in vertical stripes of 5 texels bridged along the
// top row: one 4-connected region of half the skin that winds through it.
std::unique_ptr<tarn::Skin> stripedSkin() {
    auto skin = tarn::makeBlankSkin(kWidth, kHeight);
    skin->palette = skinPalette();
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

// A picture's smooth shades (every pixel another colour, as a photograph's),
// or noise, whose colours fall in every corner of the colour cube: the worst
// case of the nearest-colour search.
tarn::ClipboardImage trueColourImage(bool noise) {
    tarn::ClipboardImage clip;
    clip.width = clip.height = kPasteSide;
    clip.rgba.resize(std::size_t(kPasteSide) * kPasteSide * 4);
    std::mt19937 rng(7);
    for (int y = 0; y < kPasteSide; ++y)
        for (int x = 0; x < kPasteSide; ++x) {
            std::uint8_t* px = clip.rgba.data() + std::size_t(y * kPasteSide + x) * 4;
            const std::uint8_t shade[3] = {std::uint8_t(x), std::uint8_t(y), std::uint8_t((x + 2 * y) / 3)};
            for (int k = 0; k < 3; ++k) px[k] = noise ? std::uint8_t(rng()) : shade[k];
            px[3] = 255;
        }
    return clip;
}

void BM_MatchTrueColour256(benchmark::State& state) {
    const tarn::ClipboardImage clip = trueColourImage(state.range(0) != 0);
    const tarn::RgbaImage image{clip.width, clip.height, clip.rgba};
    for (auto _ : state) benchmark::DoNotOptimize(tarn::matchToPalette(image, tarn::ColourMatch{skinPalette(), false, 0}));
}

// Arguments: dithered or nearest; noise or shades.
void BM_PasteAndDropTrueColour256(benchmark::State& state) {
    ClipboardUi ui;
    ui.dither = state.range(0) != 0 ? tarn::Answer::Yes : tarn::Answer::No;
    ui.clip = trueColourImage(state.range(1) != 0);
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
BENCHMARK(BM_MatchTrueColour256)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PasteAndDropTrueColour256)->ArgsProduct({{0, 1}, {0, 1}})->Unit(benchmark::kMillisecond);
