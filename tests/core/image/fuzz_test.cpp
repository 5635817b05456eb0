// Random bytes and randomly damaged images through every reader: each either
// refuses with a reason or returns an image whose buffers match its header.
#include <gtest/gtest.h>

#include <random>

#include "image/image_codec.h"

namespace tarn {
namespace {

void checkOutcome(const DecodedImage& d) {
    if (!d.ok()) return;
    EXPECT_GT(d.image.width, 0);
    EXPECT_GT(d.image.height, 0);
    EXPECT_LE(d.image.height, kMaxImageRows);
    EXPECT_EQ(d.image.pixels.size(),
              static_cast<std::size_t>(d.image.width) * static_cast<std::size_t>(d.image.height));
}

void feedEveryReader(const Bytes& bytes) {
    checkOutcome(decodeImage(bytes));
    checkOutcome(decodePcx(bytes));
    checkOutcome(decodeBmp(bytes));
    Palette p{};
    readBmpPalette(bytes, p);
    readPcxPalette(bytes, p);
}

Bytes rle8Seed() {
    Bytes f = encodeBmp(8, 4, Bytes(32, 1).data(), Palette{});
    f[30] = 1;  // RLE8
    f.resize(1078);
    const Bytes stream = {4, 9, 0, 3, 1, 2, 3, 0, 0, 0, 0, 2, 1, 1, 2, 7, 0, 0, 8, 5, 0, 1};
    f.insert(f.end(), stream.begin(), stream.end());
    return f;
}

TEST(Fuzz, DamagedImagesAreRefusedOrConsistent) {
    std::mt19937 rng(12345);
    Bytes px(23 * 11);
    for (auto& v : px) v = static_cast<std::uint8_t>(rng());
    const Bytes seeds[] = {encodePcx(23, 11, px.data(), Palette{}), encodeBmp(23, 11, px.data(), Palette{}),
                           rle8Seed()};
    for (int round = 0; round < 3000; ++round) {
        Bytes f = seeds[static_cast<std::size_t>(round) % 3];
        const int edits = 1 + static_cast<int>(rng() % 8);
        for (int e = 0; e < edits; ++e) {
            // Headers are where the counts and offsets live: aim there more often.
            const std::size_t span = (rng() % 2) ? std::min<std::size_t>(f.size(), 80) : f.size();
            f[rng() % span] = static_cast<std::uint8_t>(rng());
        }
        if (rng() % 4 == 0) f.resize(rng() % (f.size() + 1));
        feedEveryReader(f);
    }
}

TEST(Fuzz, RandomBytesBehindEachMagic) {
    std::mt19937 rng(777);
    const Bytes magics[] = {{10, 5}, {'B', 'M'}, {}};
    for (int round = 0; round < 3000; ++round) {
        Bytes f = magics[static_cast<std::size_t>(round) % 3];
        const std::size_t n = rng() % 2048;
        for (std::size_t i = 0; i < n; ++i) f.push_back(static_cast<std::uint8_t>(rng()));
        feedEveryReader(f);
    }
}

}  // namespace
}  // namespace tarn
