#include <array>
#include <algorithm>

#include "image/byte_view.h"
#include "image/image_codec.h"

namespace tarn {

namespace {

constexpr std::uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
constexpr std::uint8_t kBitDepth = 8;
constexpr std::uint8_t kColourTypeIndexed = 3;
constexpr std::uint8_t kColourTypeRgb = 2;
constexpr std::uint8_t kFilterNone = 0;
// zlib header: deflate with a 32K window, no dictionary, fastest level;
// 0x7801 is a multiple of 31 as the header check requires.
constexpr std::uint8_t kZlibCmf = 0x78;
constexpr std::uint8_t kZlibFlg = 0x01;
// A stored deflate block carries at most this many bytes.
constexpr std::size_t kStoredBlockMax = 65535;
constexpr std::uint32_t kAdlerModulus = 65521;
constexpr std::uint32_t kCrcPolynomial = 0xEDB88320u;

const std::array<std::uint32_t, 256>& crcTable() {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1u) ? kCrcPolynomial ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    return table;
}

std::uint32_t crc32(const std::uint8_t* data, std::size_t size) {
    const auto& table = crcTable();
    std::uint32_t c = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i) c = table[(c ^ data[i]) & 0xFFu] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

std::uint32_t adler32(const Bytes& data) {
    std::uint32_t a = 1;
    std::uint32_t b = 0;
    // The sums cannot overflow 32 bits within this many bytes, so the modulus
    // is taken once per block instead of once per byte.
    constexpr std::size_t kAdlerBlock = 5552;
    for (std::size_t at = 0; at < data.size(); at += kAdlerBlock) {
        const std::size_t end = std::min(data.size(), at + kAdlerBlock);
        for (std::size_t i = at; i < end; ++i) {
            a += data[i];
            b += a;
        }
        a %= kAdlerModulus;
        b %= kAdlerModulus;
    }
    return (b << 16) | a;
}

void putU32Big(Bytes& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

void putChunk(Bytes& out, const char type[4], const Bytes& body) {
    putU32Big(out, static_cast<std::uint32_t>(body.size()));
    const std::size_t crcFrom = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), body.begin(), body.end());
    putU32Big(out, crc32(out.data() + crcFrom, out.size() - crcFrom));
}

// The zlib stream of `raw` in stored (uncompressed) deflate blocks.
Bytes storedZlib(const Bytes& raw) {
    Bytes z;
    z.reserve(raw.size() + raw.size() / kStoredBlockMax * 5 + 16);
    z.push_back(kZlibCmf);
    z.push_back(kZlibFlg);
    std::size_t at = 0;
    do {
        const std::size_t n = std::min(kStoredBlockMax, raw.size() - at);
        const bool last = at + n == raw.size();
        z.push_back(last ? 1 : 0);  // BFINAL, block type 00 (stored)
        putU16(z, static_cast<std::uint32_t>(n));
        putU16(z, static_cast<std::uint32_t>(~n & 0xFFFFu));
        z.insert(z.end(), raw.begin() + static_cast<std::ptrdiff_t>(at),
                 raw.begin() + static_cast<std::ptrdiff_t>(at + n));
        at += n;
    } while (at < raw.size());
    putU32Big(z, adler32(raw));
    return z;
}

// The whole file: `pixels` rows of `bytesPerPixel` bytes each, with a PLTE
// chunk when a palette is given.
Bytes encodePng(int width, int height, std::uint8_t colourType, std::size_t bytesPerPixel,
                const std::uint8_t* pixels, const Palette* palette) {
    const std::size_t row = static_cast<std::size_t>(width) * bytesPerPixel;
    const std::size_t h = static_cast<std::size_t>(height);
    Bytes out(std::begin(kPngSignature), std::end(kPngSignature));

    Bytes header;
    putU32Big(header, static_cast<std::uint32_t>(width));
    putU32Big(header, static_cast<std::uint32_t>(height));
    header.push_back(kBitDepth);
    header.push_back(colourType);
    header.push_back(0);  // compression: deflate
    header.push_back(0);  // filter method
    header.push_back(0);  // no interlace
    putChunk(out, "IHDR", header);
    if (palette != nullptr) putChunk(out, "PLTE", Bytes(palette->begin(), palette->end()));

    Bytes raw;
    raw.reserve((row + 1) * h);
    for (std::size_t r = 0; r < h; ++r) {
        raw.push_back(kFilterNone);
        raw.insert(raw.end(), pixels + r * row, pixels + (r + 1) * row);
    }
    putChunk(out, "IDAT", storedZlib(raw));
    putChunk(out, "IEND", Bytes{});
    return out;
}

}  // namespace

Bytes encodePng8(int width, int height, const std::uint8_t* pixels, const Palette& palette) {
    return encodePng(width, height, kColourTypeIndexed, 1, pixels, &palette);
}

Bytes encodePng24(int width, int height, const std::uint8_t* rgb) {
    return encodePng(width, height, kColourTypeRgb, 3, rgb, nullptr);
}

}  // namespace tarn
