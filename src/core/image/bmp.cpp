#include <algorithm>
#include <cstdlib>

#include "image/byte_view.h"
#include "image/image_codec.h"

namespace tarn {

namespace {

constexpr auto failed = &DecodedImage::failed;

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::size_t kColourTableBytes = kPaletteColors * 4;
constexpr std::size_t kPixelsOffset = kFileHeaderSize + kInfoHeaderSize + kColourTableBytes;
constexpr std::uint32_t kPixelsPerMetre = 100;
constexpr std::uint16_t kBitsPerPixel = 8;
constexpr std::uint32_t kCompressionNone = 0;
constexpr std::uint32_t kCompressionRle8 = 1;
// Rows in the file are padded to a multiple of this many bytes.
constexpr std::size_t kRowAlign = 4;

// Offsets in the headers.
constexpr std::size_t kOffPixels = 10;
constexpr std::size_t kOffInfoSize = 14;
constexpr std::size_t kOffWidth = 18;
constexpr std::size_t kOffHeight = 22;
constexpr std::size_t kOffBitsPerPixel = 28;
constexpr std::size_t kOffCompression = 30;
constexpr std::size_t kOffColoursUsed = 46;

// RLE8 escape codes (a zero count followed by one of these).
constexpr std::uint8_t kRleEndOfLine = 0;
constexpr std::uint8_t kRleEndOfBitmap = 1;
constexpr std::uint8_t kRleDelta = 2;

std::size_t paddedRow(std::size_t width) { return (width + kRowAlign - 1) / kRowAlign * kRowAlign; }

// Maps rows in file order to rows in memory (top row first).
struct RowOrder {
    std::size_t height;
    bool bottomUp;
    std::size_t memoryRow(std::size_t fileRow) const {
        return bottomUp ? height - 1 - fileRow : fileRow;
    }
};

bool decodeRle8(const ByteView& in, std::size_t pos, const RowOrder& order, Image8& img) {
    const std::size_t w = static_cast<std::size_t>(img.width);
    const std::size_t h = order.height;
    std::size_t x = 0;
    std::size_t y = 0;
    auto put = [&](std::size_t count, const std::uint8_t* literal, std::uint8_t value) {
        // Runs are clamped to the row; what would fall past it is dropped.
        if (x < w) {
            const std::size_t n = std::min(count, w - x);
            std::uint8_t* dst = img.pixels.data() + order.memoryRow(y) * w + x;
            if (literal) std::copy_n(literal, n, dst);
            else std::fill_n(dst, n, value);
        }
        x += count;
    };
    while (y < h) {
        if (!in.has(pos, 2)) return false;
        const std::uint8_t count = in.u8(pos);
        const std::uint8_t code = in.u8(pos + 1);
        pos += 2;
        if (count > 0) {
            put(count, nullptr, code);
        } else if (code == kRleEndOfLine) {
            x = 0;
            ++y;
        } else if (code == kRleEndOfBitmap) {
            return true;
        } else if (code == kRleDelta) {
            if (!in.has(pos, 2)) return false;
            x += in.u8(pos);
            y += in.u8(pos + 1);
            pos += 2;
        } else {
            if (!in.has(pos, code)) return false;
            put(code, in.at(pos), 0);
            pos += code + (code & 1u);  // absolute runs keep 16-bit alignment
        }
    }
    return true;
}

}  // namespace

bool readBmpPalette(const Bytes& file, Palette& out) {
    ByteView in(file.data(), file.size());
    if (!in.has(0, kFileHeaderSize + kInfoHeaderSize) || in.u8(0) != 'B' || in.u8(1) != 'M' ||
        in.u16(kOffBitsPerPixel) != kBitsPerPixel)
        return false;
    std::uint32_t colours = in.u32(kOffColoursUsed);
    if (colours == 0 || colours > static_cast<std::uint32_t>(kPaletteColors))
        colours = kPaletteColors;
    const std::uint64_t tableAt = std::uint64_t{kFileHeaderSize} + in.u32(kOffInfoSize);
    if (!in.has(tableAt, std::uint64_t{colours} * 4)) return false;
    for (std::uint32_t i = 0; i < colours; ++i) {
        const std::size_t at = static_cast<std::size_t>(tableAt) + i * 4;
        out[i * 3] = in.u8(at + 2);
        out[i * 3 + 1] = in.u8(at + 1);
        out[i * 3 + 2] = in.u8(at);
    }
    return true;
}

bool looksLikeIndexedBmp(const Bytes& file) {
    // Too short to tell is left to the 8-bit reader, which says it is damaged.
    return looksLikeBmp(file) &&
           (file.size() < kOffBitsPerPixel + 2 || ByteView(file.data(), file.size()).u16(kOffBitsPerPixel) == kBitsPerPixel);
}

DecodedImage decodeBmp(const Bytes& file) {
    ByteView in(file.data(), file.size());
    if (!in.has(0, kFileHeaderSize + kInfoHeaderSize)) return failed(kMsgImageDamaged);
    if (in.u8(0) != 'B' || in.u8(1) != 'M') return failed(kMsgNotValidSkin);
    if (in.u16(kOffBitsPerPixel) != kBitsPerPixel) return failed(kMsgBmpNot8Bit);
    // Older 12-byte core headers lay out their fields differently.
    const std::uint32_t infoSize = in.u32(kOffInfoSize);
    if (infoSize < kInfoHeaderSize) return failed(kMsgBmpUnsupported);
    const std::uint32_t compression = in.u32(kOffCompression);
    if (compression != kCompressionNone && compression != kCompressionRle8)
        return failed(kMsgBmpUnsupported);

    const long width = in.i32(kOffWidth);
    const std::int32_t rawHeight = in.i32(kOffHeight);
    // A negative height marks rows stored top row first.
    const bool bottomUp = rawHeight > 0;
    const long height = rawHeight == INT32_MIN ? 0 : std::labs(static_cast<long>(rawHeight));
    if (const char* problem = imageSizeProblem(width, height)) return failed(problem);

    const std::uint32_t pixelsAt = in.u32(kOffPixels);
    if (!in.has(pixelsAt, 0)) return failed(kMsgImageDamaged);

    DecodedImage d;
    Image8& img = d.image;
    // Entries the file does not supply stay black.
    if (!readBmpPalette(file, img.palette)) return failed(kMsgImageDamaged);
    img.width = static_cast<int>(width);
    img.height = static_cast<int>(height);
    img.type = SkinFileType::Bmp;
    const std::size_t w = static_cast<std::size_t>(width);
    const std::size_t h = static_cast<std::size_t>(height);
    const RowOrder order{h, bottomUp};
    if (compression == kCompressionRle8) {
        img.pixels.assign(w * h, 0);
        if (!decodeRle8(in, pixelsAt, order, img)) return failed(kMsgImageDamaged);
        return d;
    }

    // Rows are padded to 4 bytes (some writers drop the last row's padding);
    // files written unpadded, with pixel data of exactly width x height bytes,
    // are still read the way they were written.
    const std::size_t available = file.size() - pixelsAt;
    std::size_t stride = paddedRow(w);
    if (available < stride * (h - 1) + w) {
        if (available != w * h) return failed(kMsgImageDamaged);
        stride = w;
    }
    img.pixels.assign(w * h, 0);
    for (std::size_t r = 0; r < h; ++r)
        std::copy_n(in.at(pixelsAt + r * stride), w, img.pixels.data() + order.memoryRow(r) * w);
    return d;
}

namespace {

// The file and info headers of an uncompressed BMP whose pixels follow a
// colour table of `tableEntries` entries.
void putBmpHeaders(Bytes& out, int width, int height, std::uint16_t bitsPerPixel, std::size_t tableEntries,
                   std::size_t pixelBytes) {
    const std::size_t pixelsOffset = kFileHeaderSize + kInfoHeaderSize + tableEntries * 4;
    out.push_back('B');
    out.push_back('M');
    putU32(out, static_cast<std::uint32_t>(pixelsOffset + pixelBytes));
    putU32(out, 0);  // reserved
    putU32(out, static_cast<std::uint32_t>(pixelsOffset));
    putU32(out, static_cast<std::uint32_t>(kInfoHeaderSize));
    putU32(out, static_cast<std::uint32_t>(width));
    putU32(out, static_cast<std::uint32_t>(height));
    putU16(out, 1);  // planes
    putU16(out, bitsPerPixel);
    putU32(out, kCompressionNone);
    putU32(out, 0);  // image size: may be zero for uncompressed data
    putU32(out, kPixelsPerMetre);
    putU32(out, kPixelsPerMetre);
    putU32(out, 0);  // colours used: all of the table
    putU32(out, 0);  // important colours
}

}  // namespace

Bytes encodeBmp(int width, int height, const std::uint8_t* pixels, const Palette& palette) {
    const std::size_t w = static_cast<std::size_t>(width);
    const std::size_t h = static_cast<std::size_t>(height);
    const std::size_t stride = paddedRow(w);
    Bytes out;
    out.reserve(kPixelsOffset + stride * h);
    putBmpHeaders(out, width, height, kBitsPerPixel, kPaletteColors, stride * h);
    for (int i = 0; i < kPaletteColors; ++i) {
        const std::size_t at = static_cast<std::size_t>(i) * 3;
        out.push_back(palette[at + 2]);
        out.push_back(palette[at + 1]);
        out.push_back(palette[at]);
        out.push_back(0);
    }
    for (std::size_t r = h; r-- > 0;) {
        out.insert(out.end(), pixels + r * w, pixels + (r + 1) * w);
        out.resize(out.size() + (stride - w), 0);
    }
    return out;
}

Bytes encodeBmp24(int width, int height, const std::uint8_t* rgb) {
    const std::size_t w = static_cast<std::size_t>(width);
    const std::size_t h = static_cast<std::size_t>(height);
    const std::size_t stride = paddedRow(3 * w);
    constexpr std::uint16_t kTrueColourBits = 24;
    Bytes out;
    out.reserve(kPixelsOffset + stride * h);
    putBmpHeaders(out, width, height, kTrueColourBits, 0, stride * h);
    // Bottom row first, each pixel blue, green, red.
    for (std::size_t r = h; r-- > 0;) {
        for (std::size_t x = 0; x < w; ++x) {
            const std::uint8_t* p = rgb + (r * w + x) * 3;
            out.push_back(p[2]);
            out.push_back(p[1]);
            out.push_back(p[0]);
        }
        out.resize(out.size() + (stride - 3 * w), 0);
    }
    return out;
}

}  // namespace tarn
