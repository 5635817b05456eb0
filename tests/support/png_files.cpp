#include "png_files.h"

#include <zlib.h>

namespace tarn::test {

namespace {

void putBig32(PngBytes& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

}  // namespace

void putPngChunk(PngBytes& out, const char* type, const PngBytes& body) {
    putBig32(out, static_cast<std::uint32_t>(body.size()));
    PngBytes typed(type, type + 4);
    typed.insert(typed.end(), body.begin(), body.end());
    out.insert(out.end(), typed.begin(), typed.end());
    putBig32(out, static_cast<std::uint32_t>(crc32(0, typed.data(), static_cast<uInt>(typed.size()))));
}

PngBytes makePng(std::uint32_t w, std::uint32_t h, int colourType, const PngBytes& raw, const PngBytes& plte,
                 const PngBytes& trns) {
    PngBytes out = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    PngBytes ihdr;
    putBig32(ihdr, w);
    putBig32(ihdr, h);
    ihdr.insert(ihdr.end(), {8, static_cast<std::uint8_t>(colourType), 0, 0, 0});
    putPngChunk(out, "IHDR", ihdr);
    if (!plte.empty()) putPngChunk(out, "PLTE", plte);
    if (!trns.empty()) putPngChunk(out, "tRNS", trns);
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    PngBytes z(size);
    compress2(z.data(), &size, raw.data(), static_cast<uLong>(raw.size()), 9);
    z.resize(size);
    putPngChunk(out, "IDAT", z);
    putPngChunk(out, "IEND", {});
    return out;
}

PngBytes rawRgbaRows(int width, int height, const PngBytes& rgba) {
    PngBytes raw;
    const auto row = static_cast<std::size_t>(width) * 4;
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);
        const auto at = rgba.begin() + static_cast<std::ptrdiff_t>(row * static_cast<std::size_t>(y));
        raw.insert(raw.end(), at, at + static_cast<std::ptrdiff_t>(row));
    }
    return raw;
}

}  // namespace tarn::test
