#include "sample_paint.h"

#include <array>
#include <cstring>

namespace tarn::cli::sample {

namespace {

constexpr int kGlyphW = 3;
constexpr int kGlyphH = 5;
constexpr int kGlyphGap = 1;

// Rows of each glyph, top first, bit 2 the left column.
struct Glyph {
    char c;
    std::array<std::uint8_t, kGlyphH> rows;
};
constexpr std::array<Glyph, 15> kGlyphs = {{
    {'0', {7, 5, 5, 5, 7}}, {'1', {2, 6, 2, 2, 7}}, {'2', {7, 1, 7, 4, 7}}, {'3', {7, 1, 3, 1, 7}},
    {'4', {5, 5, 7, 1, 1}}, {'5', {7, 4, 7, 1, 7}}, {'6', {7, 4, 7, 5, 7}}, {'7', {7, 1, 2, 2, 2}},
    {'8', {7, 5, 7, 5, 7}}, {'9', {7, 5, 7, 1, 7}}, {'T', {7, 2, 2, 2, 2}}, {'A', {2, 5, 7, 5, 5}},
    {'R', {6, 5, 6, 5, 5}}, {'N', {5, 7, 7, 7, 5}}, {'-', {0, 0, 7, 0, 0}},
}};

}  // namespace

int hash(int x, int y, int seed) {
    auto h = static_cast<std::uint32_t>(x) * 374761393u + static_cast<std::uint32_t>(y) * 668265263u +
             static_cast<std::uint32_t>(seed) * 2147483647u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return static_cast<int>((h ^ (h >> 16)) & 0xFF);
}

int grain(int x, int y, int seed) {
    const int h = hash(x, y, seed);
    return h < 16 ? -1 : (h > 239 ? 1 : 0);
}

std::uint8_t hazard(int x, int y) {
    constexpr int kStripe = 4;
    return ((x + y) / kStripe) % 2 == 0 ? colorIndex(kYellow, 11 + grain(x, y, 9)) : colorIndex(kGrey, 1);
}

bool stencil(const std::string& text, int left, int top, int scale, int x, int y) {
    if (y < top || x < left || scale < 1) return false;
    const int gy = (y - top) / scale;
    if (gy >= kGlyphH) return false;
    const int advance = (kGlyphW + kGlyphGap) * scale;
    const auto index = static_cast<std::size_t>((x - left) / advance);
    if (index >= text.size()) return false;
    const int gx = ((x - left) % advance) / scale;
    if (gx >= kGlyphW) return false;
    for (const Glyph& g : kGlyphs)
        if (g.c == text[index]) return ((g.rows[static_cast<std::size_t>(gy)] >> (kGlyphW - 1 - gx)) & 1) != 0;
    return false;
}

}  // namespace tarn::cli::sample
