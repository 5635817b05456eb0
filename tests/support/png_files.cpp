#include "png_files.h"

#include <zlib.h>

#include <algorithm>

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

PngBytes makePngWith(std::uint32_t w, std::uint32_t h, int colourType, const PngBytes& raw,
                     const std::vector<PngChunk>& extraChunks, std::uint64_t surplus) {
    PngBytes out = makePng(w, h, colourType, {});
    out.resize(33);  // signature and IHDR
    for (const PngChunk& c : extraChunks) putPngChunk(out, c.type, c.body);
    // Streamed, so that gigabytes of surplus cost megabytes here.
    z_stream zs{};
    deflateInit(&zs, 1);
    PngBytes z, buffer(1 << 20);
    const PngBytes zeros(1 << 20, 0);
    auto pump = [&](const std::uint8_t* data, std::size_t size, int flush) {
        zs.next_in = const_cast<Bytef*>(data);
        zs.avail_in = static_cast<uInt>(size);
        do {
            zs.next_out = buffer.data();
            zs.avail_out = static_cast<uInt>(buffer.size());
            deflate(&zs, flush);
            z.insert(z.end(), buffer.data(), zs.next_out);
        } while (zs.avail_out == 0);
    };
    pump(raw.data(), raw.size(), Z_NO_FLUSH);
    for (std::uint64_t left = surplus; left > 0;) {
        const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(left, zeros.size()));
        pump(zeros.data(), n, Z_NO_FLUSH);
        left -= n;
    }
    pump(nullptr, 0, Z_FINISH);
    deflateEnd(&zs);
    putPngChunk(out, "IDAT", z);
    putPngChunk(out, "IEND", {});
    return out;
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
