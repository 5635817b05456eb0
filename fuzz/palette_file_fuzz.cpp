// The palette file reader (ACT by size, then BMP or PCX). A refusal leaves
// the palette it was to fill untouched; an ACT file is taken byte for byte.
#include <algorithm>

#include "fuzz_support.h"
#include "image/palette_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarn;
    Palette start{};
    for (std::size_t i = 0; i < start.size(); ++i) start[i] = static_cast<std::uint8_t>(i * 7 + 3);
    Palette palette = start;
    const Bytes file = fuzz::bytesOf(data, size);
    if (!readPaletteFile(file, palette)) {
        TARN_FUZZ_CHECK(palette == start);
        return 0;
    }
    if (size == 768 || size == 772) TARN_FUZZ_CHECK(std::equal(palette.begin(), palette.end(), file.begin()));
    return 0;
}
