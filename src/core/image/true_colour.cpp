// BMPs of other than 8 bits, TGA and JPEG through stb_image, the decoder
// Debian keeps as libstb: skins of source ports and other engines come in
// these. Its process-wide settings (row flipping, the failure text) are left
// alone, so decoding stays safe from any thread.
#include <stb/stb_image.h>

#include <climits>
#include <cstdlib>
#include <memory>

#include "image/byte_view.h"
#include "image/image_codec.h"

namespace tarn {

namespace {

constexpr int kRgbaChannels = 4;

// TGA header fields.
constexpr std::size_t kTgaHeaderSize = 18;
constexpr std::size_t kTgaColourMapType = 1;
constexpr std::size_t kTgaImageType = 2;
constexpr std::size_t kTgaWidth = 12;
constexpr std::size_t kTgaHeight = 14;
constexpr std::size_t kTgaPixelDepth = 16;
// Uncompressed and run-length encoded colour-mapped, true-colour and grey.
constexpr std::uint8_t kTgaMapped = 1, kTgaTrue = 2, kTgaGrey = 3, kTgaRleMapped = 9, kTgaRleTrue = 10,
                       kTgaRleGrey = 11;

// BMP header fields.
constexpr std::size_t kBmpPixelsAt = 10;
constexpr std::size_t kBmpInfoSize = 14;
constexpr std::size_t kBmpWidth = 18;
constexpr std::size_t kBmpHeight = 22;
constexpr std::size_t kBmpBits = 28;
constexpr std::size_t kBmpCompression = 30;
constexpr std::uint32_t kBmpUncompressed = 0;
constexpr std::uint32_t kBmpBitfields = 3;
constexpr std::uint32_t kBmpInfoHeaderSize = 40;
constexpr std::size_t kTgaIdLength = 0;
constexpr std::size_t kTgaMapLength = 5;
constexpr std::size_t kTgaMapEntryBits = 7;
constexpr std::uint8_t kTgaRlePacket = 0x80;

std::uint64_t bytesForBits(std::uint64_t bits) { return (bits + 7) / 8; }

// stb_image reads past the end of a file as zeros: a cut file would come out
// whole with its last rows black. These check that the pixels are all there.
bool bmpHoldsAllRows(const ByteView& in) {
    if (!in.has(0, kBmpCompression + 4) || in.u32(kBmpInfoSize) < kBmpInfoHeaderSize) return true;  // stb judges
    const std::uint32_t compression = in.u32(kBmpCompression);
    if (compression != kBmpUncompressed && compression != kBmpBitfields) return true;
    const std::uint64_t width = static_cast<std::uint64_t>(std::abs(static_cast<std::int64_t>(in.i32(kBmpWidth))));
    const std::uint64_t height = static_cast<std::uint64_t>(std::abs(static_cast<std::int64_t>(in.i32(kBmpHeight))));
    if (width == 0 || height == 0) return true;
    const std::uint64_t rowBits = width * in.u16(kBmpBits);
    const std::uint64_t stride = (rowBits + 31) / 32 * 4;
    // The last row's padding is often left out.
    return in.has(in.u32(kBmpPixelsAt), stride * (height - 1) + bytesForBits(rowBits));
}

bool tgaHoldsAllPixels(const ByteView& in) {
    const std::uint64_t pixelBytes = bytesForBits(in.u8(kTgaPixelDepth));
    std::uint64_t at = kTgaHeaderSize + in.u8(kTgaIdLength);
    if (in.u8(kTgaColourMapType) == 1) at += in.u16(kTgaMapLength) * bytesForBits(in.u8(kTgaMapEntryBits));
    const std::uint64_t pixels = std::uint64_t{in.u16(kTgaWidth)} * in.u16(kTgaHeight);
    const std::uint8_t type = in.u8(kTgaImageType);
    if (type != kTgaRleMapped && type != kTgaRleTrue && type != kTgaRleGrey) return in.has(at, pixels * pixelBytes);
    // Every packet holds its count in one byte, then one pixel (a run) or
    // `count` pixels (raw): at most a packet for every two bytes of the file.
    for (std::uint64_t done = 0; done < pixels;) {
        if (!in.has(at, 1)) return false;
        const std::uint8_t head = in.u8(static_cast<std::size_t>(at));
        const std::uint64_t count = (head & ~kTgaRlePacket & 0xFF) + 1u;
        at += 1 + ((head & kTgaRlePacket) ? pixelBytes : count * pixelBytes);
        if (!in.has(0, at)) return false;
        done += count;
    }
    return true;
}

// A JPEG ends in its end-of-image marker; a cut one has none, though some
// writers put other bytes after it.
bool jpegHasItsEnd(const ByteView& in) {
    for (std::size_t i = in.size(); i-- > 1;)
        if (in.u8(i - 1) == 0xFF && in.u8(i) == 0xD9) return true;
    return false;
}

bool holdsAllPixels(const Bytes& file) {
    const ByteView in(file.data(), file.size());
    if (looksLikeBmp(file)) return bmpHoldsAllRows(in);
    if (looksLikeJpeg(file)) return jpegHasItsEnd(in);
    return !looksLikeTga(file) || tgaHoldsAllPixels(in);
}

struct StbFree {
    void operator()(stbi_uc* p) const { stbi_image_free(p); }
};

}  // namespace

bool looksLikeJpeg(const Bytes& file) {
    return file.size() >= 3 && file[0] == 0xFF && file[1] == 0xD8 && file[2] == 0xFF;
}

// TGA has no signature: its header must at least make sense, so that other
// files are still told they are not a skin.
bool looksLikeTga(const Bytes& file) {
    if (file.size() < kTgaHeaderSize) return false;
    const ByteView in(file.data(), file.size());
    const std::uint8_t mapType = in.u8(kTgaColourMapType);
    const std::uint8_t type = in.u8(kTgaImageType);
    const std::uint8_t depth = in.u8(kTgaPixelDepth);
    const bool mapped = type == kTgaMapped || type == kTgaRleMapped;
    const bool known = mapped || type == kTgaTrue || type == kTgaGrey || type == kTgaRleTrue || type == kTgaRleGrey;
    const bool depthKnown = depth == 8 || depth == 15 || depth == 16 || depth == 24 || depth == 32;
    return known && depthKnown && mapType == (mapped ? 1 : 0) && in.u16(kTgaWidth) > 0 && in.u16(kTgaHeight) > 0;
}

bool stbImageSize(const Bytes& file, int& width, int& height) {
    int channels = 0;
    return file.size() <= static_cast<std::size_t>(INT_MAX) &&
           stbi_info_from_memory(file.data(), static_cast<int>(file.size()), &width, &height, &channels) == 1;
}

StoredImage decodeThroughStb(const Bytes& file, SkinFileType type) {
    StoredImage out;
    out.type = type;
    int width = 0, height = 0;
    if (!stbImageSize(file, width, height)) {
        out.error = kMsgImageDamaged;
        return out;
    }
    // The size is refused before stb_image allocates anything for the pixels.
    if (const char* problem = imageSizeProblem(width, height)) {
        out.error = problem;
        return out;
    }
    if (!holdsAllPixels(file)) {
        out.error = kMsgImageDamaged;
        return out;
    }
    int w = 0, h = 0, channels = 0;
    const std::unique_ptr<stbi_uc, StbFree> pixels(
        stbi_load_from_memory(file.data(), static_cast<int>(file.size()), &w, &h, &channels, kRgbaChannels));
    if (!pixels || w != width || h != height) {
        out.error = kMsgImageDamaged;
        return out;
    }
    out.colour.width = w;
    out.colour.height = h;
    const auto count = static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * kRgbaChannels;
    out.colour.rgba.assign(pixels.get(), pixels.get() + count);
    return out;
}

}  // namespace tarn
