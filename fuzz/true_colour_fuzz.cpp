// The true-colour readers: PCX of three planes, and BMP (other than 8-bit),
// TGA and JPEG through stb_image, as every skin reader meets them. A refused
// file gives a reason and no pixels; an image that loads fits the capacities,
// holds four bytes a pixel, and is matched to a palette, nearest and
// dithered, into indices of its size.
#include "fuzz_support.h"
#include "image/image_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarn;
    if (!fuzz::proportionate(fuzz::declaredPixels(data, size), size)) return 0;
    const StoredImage d = decodeStored(fuzz::bytesOf(data, size));
    if (!d.error.empty()) {
        TARN_FUZZ_CHECK(d.image.pixels.empty() && d.colour.rgba.empty());
        return 0;
    }
    if (d.indexed) return 0;  // the skin_image harness holds the indexed readers to theirs
    const RgbaImage& colour = d.colour;
    TARN_FUZZ_CHECK(imageSizeProblem(colour.width, colour.height) == nullptr);
    const std::size_t pixels = std::size_t(colour.width) * std::size_t(colour.height);
    TARN_FUZZ_CHECK(colour.rgba.size() == pixels * 4);
    ColourMatch match;
    for (std::size_t i = 0; i < match.palette.size(); ++i) match.palette[i] = static_cast<std::uint8_t>(i * 37);
    for (bool dither : {false, true}) {
        match.dither = dither;
        TARN_FUZZ_CHECK(matchToPalette(colour, match).size() == pixels);
    }
    return 0;
}
