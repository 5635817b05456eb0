#include <algorithm>

#include "image/byte_view.h"
#include "image/image_codec.h"

namespace tarn {

namespace {

constexpr auto failed = &DecodedImage::failed;

constexpr std::size_t kPcxHeaderSize = 128;
constexpr std::uint8_t kPcxManufacturer = 10;
constexpr std::uint8_t kPcxVersion = 5;
constexpr std::uint8_t kPcxEncodingRle = 1;
constexpr std::uint8_t kPcxBitsPerPixel = 8;
constexpr std::uint8_t kPcxPaletteMarker = 12;
constexpr std::uint16_t kPcxPaletteTypeColour = 2;
constexpr std::size_t kPaletteBytes = kPaletteColors * 3;
// The two top bits of a byte mark a run; the low six bits are its length.
constexpr std::uint8_t kRunFlag = 0xC0;
constexpr std::uint8_t kRunOfOne = kRunFlag | 1;

// Header offsets.
constexpr std::size_t kOffBitsPerPixel = 3;
constexpr std::size_t kOffXMin = 4;
constexpr std::size_t kOffYMin = 6;
constexpr std::size_t kOffXMax = 8;
constexpr std::size_t kOffYMax = 10;
constexpr std::size_t kOffPlanes = 65;
constexpr std::size_t kOffBytesPerLine = 66;

}  // namespace

bool readPcxPalette(const Bytes& file, Palette& out) {
    ByteView in(file.data(), file.size());
    // A 24-bit PCX carries no palette: its last bytes are pixels.
    if (!in.has(0, kPcxHeaderSize + kPaletteBytes) || in.u8(0) != kPcxManufacturer ||
        in.u8(1) != kPcxVersion || in.u8(kOffBitsPerPixel) != kPcxBitsPerPixel ||
        in.u8(kOffPlanes) != 1)
        return false;
    std::copy_n(in.at(file.size() - kPaletteBytes), kPaletteBytes, out.begin());
    return true;
}

DecodedImage decodePcx(const Bytes& file) {
    ByteView in(file.data(), file.size());
    // Header, at least nothing of pixel data, the marker and the palette.
    if (!in.has(0, kPcxHeaderSize + 1 + kPaletteBytes)) return failed(kMsgImageDamaged);
    if (in.u8(0) != kPcxManufacturer || in.u8(1) != kPcxVersion) return failed(kMsgNotValidSkin);
    if (in.u8(kOffBitsPerPixel) != kPcxBitsPerPixel || in.u8(kOffPlanes) != 1)
        return failed(kMsgPcxNot8Bit);

    const long width = static_cast<long>(in.u16(kOffXMax)) - in.u16(kOffXMin) + 1;
    const long height = static_cast<long>(in.u16(kOffYMax)) - in.u16(kOffYMin) + 1;
    if (const char* problem = imageSizeProblem(width, height)) return failed(problem);

    // Other programs pad each line (often to an even length); the padding is
    // decoded and dropped. A line shorter than the image cannot be right.
    const std::size_t bytesPerLine = in.u16(kOffBytesPerLine);
    if (bytesPerLine < static_cast<std::size_t>(width)) return failed(kMsgImageDamaged);

    const std::size_t paletteAt = file.size() - kPaletteBytes;
    if (in.u8(paletteAt - 1) != kPcxPaletteMarker) return failed(kMsgPcxNoPalette);
    const std::size_t dataEnd = paletteAt - 1;
    // Each pair of bytes yields at most one run of 63: a header promising more
    // than the data can hold is refused before anything is allocated.
    const std::size_t maxRun = static_cast<std::uint8_t>(~kRunFlag);
    if ((dataEnd - kPcxHeaderSize) / 2 * maxRun + 1 < bytesPerLine * static_cast<std::size_t>(height))
        return failed(kMsgImageDamaged);

    DecodedImage d;
    Image8& img = d.image;
    img.width = static_cast<int>(width);
    img.height = static_cast<int>(height);
    img.type = SkinFileType::Pcx;
    img.pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    readPcxPalette(file, img.palette);

    // Runs may cross line ends (some writers do that); each is clamped to what
    // is left of the image, and bytes beyond the width of a line are padding.
    const std::size_t w = static_cast<std::size_t>(width);
    std::size_t pos = kPcxHeaderSize;
    std::size_t row = 0;
    std::size_t col = 0;
    const std::size_t rows = static_cast<std::size_t>(height);
    std::uint8_t* out = img.pixels.data();
    while (row < rows) {
        if (pos >= dataEnd) return failed(kMsgImageDamaged);
        std::uint8_t value = in.u8(pos++);
        if ((value & kRunFlag) != kRunFlag) {  // a literal, the common case
            if (col < w) out[row * w + col] = value;
            if (++col == bytesPerLine) {
                col = 0;
                ++row;
            }
            continue;
        }
        std::size_t count = value & static_cast<std::uint8_t>(~kRunFlag);
        if (pos >= dataEnd) return failed(kMsgImageDamaged);
        value = in.u8(pos++);
        while (count > 0 && row < rows) {
            const std::size_t take = std::min(count, bytesPerLine - col);
            if (col < w) {
                const std::size_t visible = std::min(take, w - col);
                std::fill_n(out + row * w + col, visible, value);
            }
            col += take;
            count -= take;
            if (col == bytesPerLine) {
                col = 0;
                ++row;
            }
        }
    }
    return d;
}

namespace {

// The 128-byte header of a version 5, run-length encoded PCX of 8-bit planes,
// each line `width` bytes.
void putPcxHeader(Bytes& out, int width, int height, std::uint8_t planes) {
    out.push_back(kPcxManufacturer);
    out.push_back(kPcxVersion);
    out.push_back(kPcxEncodingRle);
    out.push_back(kPcxBitsPerPixel);
    putU16(out, 0);  // x min
    putU16(out, 0);  // y min
    putU16(out, static_cast<std::uint32_t>(width - 1));
    putU16(out, static_cast<std::uint32_t>(height - 1));
    putU16(out, static_cast<std::uint32_t>(width));   // horizontal resolution
    putU16(out, static_cast<std::uint32_t>(height));  // vertical resolution
    out.resize(kOffPlanes, 0);  // 16-colour palette and reserved byte stay zero
    out.push_back(planes);
    putU16(out, static_cast<std::uint32_t>(width));  // bytes per line
    putU16(out, kPcxPaletteTypeColour);
    out.resize(kPcxHeaderSize, 0);
}

void putPcxValue(Bytes& out, std::uint8_t v) {
    // A value with both top bits set would read as a run: it goes as a run of one.
    if ((v & kRunFlag) == kRunFlag) out.push_back(kRunOfOne);
    out.push_back(v);
}

}  // namespace

Bytes encodePcx(int width, int height, const std::uint8_t* pixels, const Palette& palette) {
    const std::size_t w = static_cast<std::size_t>(width);
    const std::size_t h = static_cast<std::size_t>(height);
    Bytes out;
    out.reserve(kPcxHeaderSize + 2 * w * h + 1 + kPaletteBytes);
    putPcxHeader(out, width, height, 1);
    for (std::size_t i = 0; i < w * h; ++i) putPcxValue(out, pixels[i]);
    out.push_back(kPcxPaletteMarker);
    out.insert(out.end(), palette.begin(), palette.end());
    return out;
}

Bytes encodePcx24(int width, int height, const std::uint8_t* rgb) {
    const std::size_t w = static_cast<std::size_t>(width);
    const std::size_t h = static_cast<std::size_t>(height);
    constexpr std::uint8_t kRgbPlanes = 3;
    Bytes out;
    out.reserve(kPcxHeaderSize + 2 * 3 * w * h);
    putPcxHeader(out, width, height, kRgbPlanes);
    // Each row holds its red line, then its green line, then its blue line.
    for (std::size_t r = 0; r < h; ++r)
        for (std::size_t plane = 0; plane < kRgbPlanes; ++plane)
            for (std::size_t x = 0; x < w; ++x) putPcxValue(out, rgb[(r * w + x) * 3 + plane]);
    return out;
}

}  // namespace tarn
