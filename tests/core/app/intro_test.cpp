#include <gtest/gtest.h>

#include "app/intro.h"

namespace tarn {
namespace {

std::uint16_t at(const IntroPicture& p, int x, int y) {
    return p.pixels()[static_cast<std::size_t>(y * kIntroWidth + x)];
}

TEST(IntroPicture, BevelledFrameAndRepeatableForOneSeed) {
    IntroPicture a(7), b(7);
    a.draw(1234);
    b.draw(1234);
    EXPECT_EQ(a.pixels(), b.pixels());
    EXPECT_EQ(at(a, 10, 1), 7399);    // outer top
    EXPECT_EQ(at(a, 318, 100), 7399); // outer right
    EXPECT_EQ(at(a, 10, 238), 15855); // outer bottom
    EXPECT_EQ(at(a, 1, 100), 15855);  // outer left
    EXPECT_EQ(at(a, 10, 3), 21140);   // inner top
    EXPECT_EQ(at(a, 0, 0), 0);
    // A logo of the wrong size is ignored rather than read past.
    a.setLogo(std::vector<std::uint8_t>(10, 255));
    a.draw(0);
    EXPECT_EQ(a.pixels().size(), static_cast<std::size_t>(kIntroWidth * kIntroHeight));
}

}  // namespace
}  // namespace tarn
