// The colormap reader as the shaded modes use it: the file named by
// "Palette Path" is read through the file layer. A file that cannot serve
// leaves nothing held; one that is held has 256 columns of at least 64 rows,
// all of which can be read. The palette taken from the same file obeys the
// palette reader's rules.
#include "fuzz_support.h"
#include "image/map_colormap.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarn;
    using namespace tarn::fuzz;
    if (!proportionate(declaredPixels(data, size), size)) return 0;
    static const std::string path = joinPath(scratchFolder(), "colormap.pcx");
    if (!writeScratch(path, bytesOf(data, size))) return 0;
    MemorySettings settings;
    settings.setString(kPreferences, kPalettePathKey, path);
    QuietUi quiet;
    HeldColormap held;
    if (!held.take(settings, quiet.ui)) {
        TARN_FUZZ_CHECK(!held.held() && held.rows() == nullptr);
        TARN_FUZZ_CHECK(quiet.allSaySomething());
    } else {
        const std::uint8_t* rows = held.rows();
        unsigned sum = 0;
        for (int i = 0; i < kColormapColumns * kColormapLightRows; ++i) sum += rows[i];
        TARN_FUZZ_CHECK(sum <= 255u * kColormapColumns * kColormapLightRows);
        TARN_FUZZ_CHECK(LoadColormap(quiet.ui, settings) != nullptr);
    }
    Palette palette{};
    palette[0] = 17;
    const Palette start = palette;
    if (!LoadPaletteFile(path, palette)) TARN_FUZZ_CHECK(palette == start);
    return 0;
}
