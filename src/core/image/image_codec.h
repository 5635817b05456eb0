#pragma once
// The PCX, BMP and PNG codecs on bytes in memory. Decoders check the whole file
// against its own counts, offsets and sizes and against the image capacities
// before they hand anything back; encoders build the whole file image.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "image/palette.h"
#include "image/skin.h"
#include "platform/fs.h"

namespace tarn {

// An 8-bit image: palette indices top row first, no row padding.
struct Image8 {
    int width = 0;
    int height = 0;
    Bytes pixels;
    Palette palette{};
    SkinFileType type = SkinFileType::None;
};

// Either an image or the text that tells the user why there is none, or
// neither when the user cancelled a question the reader asked.
struct DecodedImage {
    Image8 image;
    std::string error;
    bool cancelled = false;
    bool ok() const { return error.empty() && !cancelled; }
    static DecodedImage failed(const char* text) {
        DecodedImage d;
        d.error = text;
        return d;
    }
};

// Texts shown when an image is refused.
inline constexpr const char* kMsgNotValidSkin = "This file does not appear to be a valid skin";
inline constexpr const char* kMsgBmpNot8Bit = "BMPs must be 8bit! - Aborting";
inline constexpr const char* kMsgPcxNot8Bit =
    "PCX skins must be 8bit with one or three colour planes! - Aborting";
inline constexpr const char* kMsgBmpUnsupported =
    "This BMP is compressed or laid out in a way TARN cannot read! - Aborting";
inline constexpr const char* kMsgImageEmpty = "This image has no pixels! - Aborting";
inline constexpr const char* kMsgImageTooTall =
    "Images taller than 2048 rows are not supported! - Aborting";
inline constexpr const char* kMsgImageTooWide =
    "Images wider than 32767 pixels are not supported! - Aborting";
inline constexpr const char* kMsgImageDamaged =
    "This image file is damaged or cut short! - Aborting";

// The refusal text for an image of this size, or nullptr when it fits the
// capacities (1..32767 wide, 1..2048 tall).
const char* imageSizeProblem(long width, long height);

inline constexpr const char* kMsgPngNeedsPalette =
    "This image is not indexed, and no palette was chosen to match it to! - Aborting";

// PCX when the file begins with 10, 5; BMP when it begins with "BM"; PNG with
// the PNG signature.
bool looksLikePcx(const Bytes& file);
bool looksLikeBmp(const Bytes& file);
bool looksLikePng(const Bytes& file);

// A true-colour image: four bytes (red, green, blue, alpha) per pixel, top row
// first.
struct RgbaImage {
    int width = 0;
    int height = 0;
    Bytes rgba;
};

// An image as its file stored it: indexed ones as an Image8 with their
// palette, true-colour and grey ones as RGBA; or why it was refused. `type`
// is the format it was read from (None for those TARN cannot write).
struct StoredImage {
    bool indexed = false;
    Image8 image;
    RgbaImage colour;
    SkinFileType type = SkinFileType::None;
    std::string error;
};
using DecodedPng = StoredImage;
// The size in the header is checked against the image capacities before any
// pixel is decoded; every chunk's CRC is checked, to the end of the file.
DecodedPng decodePng(const Bytes& file);

// True colour in the formats other engines keep their skins in: a PCX of three
// 8-bit planes, and through stb_image the BMPs of other than 8 bits, TGA
// (uncompressed or run-length encoded, either row order) and JPEG. The size
// in the header is checked against the capacities before any pixel is decoded.
bool looksLikeRgbPcx(const Bytes& file);
bool looksLikeIndexedBmp(const Bytes& file);
bool looksLikeJpeg(const Bytes& file);
bool looksLikeTga(const Bytes& file);
StoredImage decodePcx24(const Bytes& file);
StoredImage decodeThroughStb(const Bytes& file, SkinFileType type);
// The width and height stb_image reads from the header; false when it finds none.
bool stbImageSize(const Bytes& file, int& width, int& height);

// Any image file TARN reads, chosen by its leading bytes; anything else is
// "not a valid skin".
StoredImage decodeStored(const Bytes& file);

// How true colours become palette indices.
struct ColourMatch {
    Palette palette{};
    bool dither = false;  // Floyd-Steinberg; otherwise each pixel's nearest colour
    // Pixels more than half transparent take this index.
    std::uint8_t transparentIndex = 0;
};
// Asked once a true-colour image has been read whole; nothing cancels.
using ColourMatcher = std::function<std::optional<ColourMatch>()>;

// The palette indices of `image` under `match`, top row first.
Bytes matchToPalette(const RgbaImage& image, const ColourMatch& match);

// The palettes alone, for palette files: an 8-bit BMP's colour table (entries
// it does not supply are left as they were) or an 8-bit PCX's last 768 bytes,
// marker or not. False, with `out` possibly half written, when the file does
// not hold one.
bool readBmpPalette(const Bytes& file, Palette& out);
bool readPcxPalette(const Bytes& file, Palette& out);

DecodedImage decodePcx(const Bytes& file);
DecodedImage decodeBmp(const Bytes& file);
// decodeStored, with a true-colour image matched to the palette `matcher`
// chooses, and refused without one.
DecodedImage decodeImage(const Bytes& file, const ColourMatcher* matcher = nullptr);

// PCX version 5: values of 192 and more are written as the pair 193, value;
// others as themselves; bytes per line equal the width.
Bytes encodePcx(int width, int height, const std::uint8_t* pixels, const Palette& palette);
// BMP, 8 bits, uncompressed, bottom row first, rows padded to 4 bytes.
Bytes encodeBmp(int width, int height, const std::uint8_t* pixels, const Palette& palette);
// PNG, 8-bit indexed with a 256-entry PLTE, compressed by libpng at its best
// level; empty when libpng fails (out of memory).
Bytes encodePng8(int width, int height, const std::uint8_t* pixels, const Palette& palette);

// True colour: `rgb` holds red, green, blue per pixel, top row first.
// PCX with three 8-bit planes; BMP of 24 bits; PNG of colour type 2.
Bytes encodePcx24(int width, int height, const std::uint8_t* rgb);
Bytes encodeBmp24(int width, int height, const std::uint8_t* rgb);
Bytes encodePng24(int width, int height, const std::uint8_t* rgb);

}  // namespace tarn
