#pragma once
// Seam padding: a renderer that filters the skin reads a little past the edge
// of every island, so texels no Triangle covers but that lie next to an island
// take the island's colours instead of the background's.
#include <cstdint>
#include <span>

namespace tarn {

// The padding a re-bake gets unless asked otherwise, and the most it takes.
inline constexpr int kDefaultSeamPadding = 2;
inline constexpr int kMaxSeamPadding = 64;

// Every texel of `pixels` (width x height) whose `covered` byte is zero and
// that lies within `padding` texels of a covered one (that many steps to any
// of the eight neighbours) takes the colour of the nearest covered texel, as
// the rings grow outward: of the seeds its already-padded neighbours carry,
// the one nearest by straight distance, the first in the image on a tie.
// Texels further out keep their colour; padding 0 changes nothing.
void PadSeams(std::span<std::uint8_t> pixels, std::span<const std::uint8_t> covered, int width, int height,
              int padding);

}  // namespace tarn
