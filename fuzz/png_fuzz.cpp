// The PNG reader. A refused file gives a reason and no pixels; an image that
// loads fits the capacities; an indexed one survives being written as PNG and
// read back, pixel for pixel and with the same palette; a true-colour one is
// matched to a palette, nearest and dithered, into indices of its size.
#include "fuzz_support.h"
#include "image/image_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarn;
    const DecodedPng d = decodePng(fuzz::bytesOf(data, size));
    if (!d.error.empty()) {
        TARN_FUZZ_CHECK(d.image.pixels.empty() && d.colour.rgba.empty());
        return 0;
    }
    if (d.indexed) {
        const Image8& image = d.image;
        TARN_FUZZ_CHECK(imageSizeProblem(image.width, image.height) == nullptr);
        TARN_FUZZ_CHECK(image.pixels.size() == std::size_t(image.width) * std::size_t(image.height));
        const DecodedPng again = decodePng(encodePng8(image.width, image.height, image.pixels.data(), image.palette));
        TARN_FUZZ_CHECK(again.error.empty() && again.indexed);
        TARN_FUZZ_CHECK(again.image.pixels == image.pixels);
        TARN_FUZZ_CHECK(again.image.palette == image.palette);
        return 0;
    }
    const RgbaImage& colour = d.colour;
    TARN_FUZZ_CHECK(imageSizeProblem(colour.width, colour.height) == nullptr);
    TARN_FUZZ_CHECK(colour.rgba.size() == std::size_t(colour.width) * std::size_t(colour.height) * 4);
    ColourMatch match;
    for (std::size_t i = 0; i < match.palette.size(); ++i) match.palette[i] = static_cast<std::uint8_t>(i * 37);
    for (bool dither : {false, true}) {
        match.dither = dither;
        TARN_FUZZ_CHECK(matchToPalette(colour, match).size() == std::size_t(colour.width) * std::size_t(colour.height));
    }
    return 0;
}
