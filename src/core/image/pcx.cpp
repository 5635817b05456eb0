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

namespace {

// The run-length stream of one PCX, decoded into `planes` bytes per pixel
// (plane p of a pixel at offset p). Each scan line holds every plane's line
// in turn, `bytesPerLine` bytes each; bytes beyond the width of a plane's
// line are padding and dropped. Runs may cross line ends (some writers do
// that); each is clamped to what is left of the image.
class PcxStream {
public:
    PcxStream(const ByteView& in, std::size_t dataEnd, std::size_t width, std::size_t height, std::size_t planes,
              std::size_t bytesPerLine)
        : in_(in), end_(dataEnd), w_(width), rows_(height), planes_(planes), plane_(bytesPerLine),
          line_(planes * bytesPerLine) {}

    // What a header asks the stream for: every scan line whole, but the last
    // one only up to its last pixel, since writers leave out its padding.
    std::size_t neededBytes() const { return line_ * (rows_ - 1) + (planes_ - 1) * plane_ + w_; }

    bool decodeInto(std::uint8_t* out) {
        std::size_t pos = kPcxHeaderSize;
        while (row_ < rows_) {
            if (pos >= end_) return lastPixelsDone();
            std::uint8_t value = in_.u8(pos++);
            if ((value & kRunFlag) != kRunFlag) {  // a literal, the common case
                if (planes_ == 1 && col_ < w_)
                    out[row_ * w_ + col_] = value;
                else
                    store(out, value, 1);
                advance(1);
                continue;
            }
            std::size_t count = value & static_cast<std::uint8_t>(~kRunFlag);
            if (pos >= end_) return lastPixelsDone();
            value = in_.u8(pos++);
            while (count > 0 && row_ < rows_) {
                const std::size_t take = std::min(count, line_ - col_);
                store(out, value, take);
                advance(take);
                count -= take;
            }
        }
        return true;
    }

private:
    // The stream may end early only in the last line's padding.
    bool lastPixelsDone() const { return row_ + 1 == rows_ && col_ >= (planes_ - 1) * plane_ + w_; }

    void advance(std::size_t n) {
        col_ += n;
        if (col_ == line_) {
            col_ = 0;
            ++row_;
        }
    }

    // `n` bytes of `value` from the current place, within one scan line.
    void store(std::uint8_t* out, std::uint8_t value, std::size_t n) const {
        for (std::size_t at = col_; n > 0;) {
            const std::size_t plane = at / plane_;
            const std::size_t x = at % plane_;
            const std::size_t span = std::min(n, plane_ - x);
            if (x < w_) {
                const std::size_t visible = std::min(span, w_ - x);
                std::uint8_t* dst = out + (row_ * w_ + x) * planes_ + plane;
                if (planes_ == 1)
                    std::fill_n(dst, visible, value);
                else
                    for (std::size_t i = 0; i < visible; ++i) dst[i * planes_] = value;
            }
            at += span;
            n -= span;
        }
    }

    const ByteView& in_;
    std::size_t end_;
    std::size_t w_;
    std::size_t rows_;
    std::size_t planes_;
    std::size_t plane_;
    std::size_t line_;
    std::size_t row_ = 0;
    std::size_t col_ = 0;
};

constexpr std::uint8_t kRgbPlanes = 3;

struct PcxLayout {
    std::size_t width = 0;
    std::size_t height = 0;
    std::size_t planes = 0;
    std::size_t bytesPerLine = 0;
};

// The header's size and layout, or the refusal.
const char* readLayout(const ByteView& in, PcxLayout& out) {
    if (in.u8(0) != kPcxManufacturer || in.u8(1) != kPcxVersion) return kMsgNotValidSkin;
    out.planes = in.u8(kOffPlanes);
    if (in.u8(kOffBitsPerPixel) != kPcxBitsPerPixel || (out.planes != 1 && out.planes != kRgbPlanes))
        return kMsgPcxNot8Bit;
    const long width = static_cast<long>(in.u16(kOffXMax)) - in.u16(kOffXMin) + 1;
    const long height = static_cast<long>(in.u16(kOffYMax)) - in.u16(kOffYMin) + 1;
    if (const char* problem = imageSizeProblem(width, height)) return problem;
    out.width = static_cast<std::size_t>(width);
    out.height = static_cast<std::size_t>(height);
    // Other programs pad each line (often to an even length); the padding is
    // decoded and dropped. A line shorter than the image cannot be right.
    out.bytesPerLine = in.u16(kOffBytesPerLine);
    if (out.bytesPerLine < out.width) return kMsgImageDamaged;
    return nullptr;
}

// Decodes the stream between the header and `dataEnd` into `out`, sized
// here; the refusal or nullptr.
const char* decodeStream(const ByteView& in, std::size_t dataEnd, const PcxLayout& layout, Bytes& out) {
    PcxStream stream(in, dataEnd, layout.width, layout.height, layout.planes, layout.bytesPerLine);
    // Each pair of bytes yields at most one run of 63: a header promising more
    // than the data can hold is refused before anything is allocated.
    const std::size_t maxRun = static_cast<std::uint8_t>(~kRunFlag);
    if ((dataEnd - kPcxHeaderSize) / 2 * maxRun + 1 < stream.neededBytes()) return kMsgImageDamaged;
    out.assign(layout.width * layout.height * layout.planes, 0);
    return stream.decodeInto(out.data()) ? nullptr : kMsgImageDamaged;
}

}  // namespace

bool looksLikeRgbPcx(const Bytes& file) {
    return looksLikePcx(file) && file.size() > kOffPlanes && file[kOffPlanes] == kRgbPlanes;
}

DecodedImage decodePcx(const Bytes& file) {
    ByteView in(file.data(), file.size());
    if (!in.has(0, kPcxHeaderSize)) return failed(kMsgImageDamaged);
    PcxLayout layout;
    if (const char* problem = readLayout(in, layout)) return failed(problem);
    if (layout.planes != 1) return failed(kMsgPcxNot8Bit);
    // Header, at least nothing of pixel data, and the palette.
    if (!in.has(0, kPcxHeaderSize + kPaletteBytes)) return failed(kMsgImageDamaged);

    // The palette is the last 768 bytes, whether or not the marker byte
    // precedes them: paint programs leave it out and the game does not look.
    // When it is there, the stream ends before it.
    std::size_t dataEnd = file.size() - kPaletteBytes;
    if (in.u8(dataEnd - 1) == kPcxPaletteMarker) --dataEnd;
    DecodedImage d;
    if (const char* problem = decodeStream(in, dataEnd, layout, d.image.pixels)) {
        // A last pixel of the marker's value without a marker after it.
        if (dataEnd == file.size() - kPaletteBytes ||
            decodeStream(in, dataEnd + 1, layout, d.image.pixels) != nullptr)
            return failed(problem);
    }
    d.image.width = static_cast<int>(layout.width);
    d.image.height = static_cast<int>(layout.height);
    d.image.type = SkinFileType::Pcx;
    readPcxPalette(file, d.image.palette);
    return d;
}

DecodedPng decodePcx24(const Bytes& file) {
    DecodedPng d;
    ByteView in(file.data(), file.size());
    PcxLayout layout;
    const char* problem = in.has(0, kPcxHeaderSize) ? readLayout(in, layout) : kMsgImageDamaged;
    if (!problem && layout.planes != kRgbPlanes) problem = kMsgPcxNot8Bit;
    Bytes rgb;
    if (!problem) problem = decodeStream(in, file.size(), layout, rgb);
    if (problem) {
        d.error = problem;
        return d;
    }
    d.colour.width = static_cast<int>(layout.width);
    d.colour.height = static_cast<int>(layout.height);
    d.colour.rgba.resize(rgb.size() / kRgbPlanes * 4);
    for (std::size_t i = 0, o = 0; i < rgb.size(); i += kRgbPlanes, o += 4) {
        std::copy_n(rgb.data() + i, kRgbPlanes, d.colour.rgba.data() + o);
        d.colour.rgba[o + 3] = 0xFF;
    }
    d.type = SkinFileType::Pcx;
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
