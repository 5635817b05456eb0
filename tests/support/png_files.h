#pragma once
// PNG files written by the tests themselves, with zlib and nothing of the
// codec under test, so that damaged and unusual files can be made on purpose.
#include <cstdint>
#include <vector>

namespace tarn::test {

using PngBytes = std::vector<std::uint8_t>;

void putPngChunk(PngBytes& out, const char* type, const PngBytes& body);

// An 8-bit PNG of `colourType` whose image data is `raw` (filtered scanlines)
// compressed whole; PLTE and tRNS are written when given.
PngBytes makePng(std::uint32_t w, std::uint32_t h, int colourType, const PngBytes& raw,
                 const PngBytes& plte = {}, const PngBytes& trns = {});

// The same, with `extraChunks` (type and body) before the image data, and
// `surplus` zero bytes compressed into the stream after the rows.
struct PngChunk {
    const char* type;
    PngBytes body;
};
PngBytes makePngWith(std::uint32_t w, std::uint32_t h, int colourType, const PngBytes& raw,
                     const std::vector<PngChunk>& extraChunks, std::uint64_t surplus = 0);

// The filtered scanlines of RGBA rows, each with a "none" filter byte.
PngBytes rawRgbaRows(int width, int height, const PngBytes& rgba);

}  // namespace tarn::test
