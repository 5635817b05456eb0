#include <gtest/gtest.h>

#include <random>

#include "image/palette_search.h"

namespace tarn {
namespace {

// Palettes that make the cell search work: random, clustered in one corner of
// the cube (many close rivals), and full of repeated entries (ties).
std::vector<Palette> testPalettes() {
    std::mt19937 rng(15);
    std::uniform_int_distribution<int> any(0, 255), corner(0, 40), few(0, 3);
    std::vector<Palette> out(3);
    for (std::size_t i = 0; i < out[0].size(); ++i) {
        out[0][i] = std::uint8_t(any(rng));
        out[1][i] = std::uint8_t(corner(rng));
        out[2][i] = std::uint8_t(few(rng) * 85);
    }
    return out;
}

TEST(PaletteSearch, FindsWhatThePlainSearchFindsEverywhereInTheCube) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> real(0.0, 255.0);
    std::uniform_int_distribution<int> level(0, 255);
    for (const Palette& p : testPalettes()) {
        PaletteSearch search(p);
        for (int n = 0; n < 20000; ++n) {
            // Whole levels, cell borders and real values between them.
            const double r = n % 3 == 0 ? level(rng) : (n % 3 == 1 ? (level(rng) & ~31) : real(rng));
            const double g = real(rng), b = n % 2 ? level(rng) : real(rng);
            ASSERT_EQ(search.nearest(r, g, b), nearestColorPlain(p, r, g, b)) << r << " " << g << " " << b;
            const int lr = level(rng), lg = level(rng), lb = level(rng);
            ASSERT_EQ(search.nearestLevel(lr, lg, lb), nearestColor(p, lr, lg, lb)) << lr << " " << lg << " " << lb;
        }
        for (double edge : {0.0, 255.0, 255.999, -0.5, 256.0, 300.0})
            EXPECT_EQ(search.nearest(edge, edge, 0), nearestColorPlain(p, edge, edge, 0));
    }
}

TEST(PaletteSearch, TiesGoToTheLowestIndex) {
    Palette p{};
    p[3 * 7] = 10;   // index 7 at (10, 0, 0)
    p[3 * 9] = 10;   // index 9 the same colour
    p[3 * 3] = 20;   // index 3 at (20, 0, 0)
    for (int i = 10; i < 256; ++i) p[std::size_t(i * 3 + 2)] = 255;
    PaletteSearch search(p);
    EXPECT_EQ(search.nearest(10, 0, 0), 7);
    EXPECT_EQ(search.nearest(15, 0, 0), 3);  // 7, 9 and 3 all at 25: 3 is lowest
    EXPECT_EQ(search.nearest(2, 0, 0), 0);
}

}  // namespace
}  // namespace tarn
