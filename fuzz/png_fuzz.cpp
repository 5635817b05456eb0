// The PNG reader, as users run it: CRCs checked. Each input is read as it is
// and, when refused, again with its CRCs made right. A refused file gives a
// reason and no pixels; an image that
// loads fits the capacities; an indexed one survives being written as PNG and
// read back, pixel for pixel and with the same palette; a true-colour one is
// matched to a palette, nearest and dithered, into indices of its size.
#include <array>

#include "fuzz_support.h"
#include "image/image_codec.h"

namespace {

std::uint32_t crc32Of(const std::uint8_t* p, std::size_t n) {
    static const auto table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    std::uint32_t c = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < n; ++i) c = table[(c ^ p[i]) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

// The same chunks with every CRC made right, so that the fuzzer's mutations
// reach past the first chunk of a reader that checks CRCs as it does for users.
tarn::Bytes withRightCrcs(tarn::Bytes file) {
    constexpr std::size_t kSignature = 8;
    for (std::size_t at = kSignature; at + 12 <= file.size();) {
        const std::size_t length = (std::size_t{file[at]} << 24) | (std::size_t{file[at + 1]} << 16) |
                                   (std::size_t{file[at + 2]} << 8) | file[at + 3];
        if (length > file.size() - at - 12) break;
        const std::uint32_t crc = crc32Of(file.data() + at + 4, length + 4);
        std::uint8_t* out = file.data() + at + 8 + length;
        for (int i = 0; i < 4; ++i) out[i] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
        at += length + 12;
    }
    return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarn;
    DecodedPng d = decodePng(fuzz::bytesOf(data, size));
    if (!d.error.empty()) d = decodePng(withRightCrcs(fuzz::bytesOf(data, size)));
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
