// The skin image reader (PCX, BMP and indexed PNG, chosen by the leading bytes). A refused
// file gives a reason; an image that loads fits the capacities and survives
// being written as PCX and as BMP and read back, pixel for pixel and with
// the same palette.
#include "fuzz_support.h"
#include "image/image_codec.h"

namespace {

void checkRoundTrip(const tarn::Image8& image, tarn::Bytes (*encode)(int, int, const std::uint8_t*, const tarn::Palette&)) {
    const tarn::DecodedImage again = tarn::decodeImage(encode(image.width, image.height, image.pixels.data(), image.palette));
    TARN_FUZZ_CHECK(again.ok());
    TARN_FUZZ_CHECK(again.image.width == image.width && again.image.height == image.height);
    TARN_FUZZ_CHECK(again.image.pixels == image.pixels);
    TARN_FUZZ_CHECK(again.image.palette == image.palette);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarn;
    if (!fuzz::proportionate(fuzz::declaredPixels(data, size), size)) return 0;
    const DecodedImage d = decodeImage(fuzz::bytesOf(data, size));
    if (!d.ok()) {
        TARN_FUZZ_CHECK(!d.error.empty() && d.image.pixels.empty());
        return 0;
    }
    const Image8& image = d.image;
    TARN_FUZZ_CHECK(imageSizeProblem(image.width, image.height) == nullptr);
    TARN_FUZZ_CHECK(image.pixels.size() == std::size_t(image.width) * std::size_t(image.height));
    TARN_FUZZ_CHECK(image.type == SkinFileType::Pcx || image.type == SkinFileType::Bmp ||
                    image.type == SkinFileType::Png);
    checkRoundTrip(image, encodePcx);
    checkRoundTrip(image, encodeBmp);
    return 0;
}
