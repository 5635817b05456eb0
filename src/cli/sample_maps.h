#pragma once
// The lighting maps of TARN's sample content, 256 x 256 and 8-bit. Both kinds
// are addressed by a surface's camera-space normal: column (nx + 1) x 128 and
// row (ny + 1) x 128, with +y up.
#include <string>
#include <vector>

#include "image/palette.h"
#include "platform/fs.h"

namespace tarn::cli::sample {

inline constexpr int kMapSize = 256;

struct SampleMap {
    std::string fileName;
    Bytes pixels;  // kMapSize x kMapSize, top row first
    Palette palette;
};

// Grey phong maps: the index is the brightness (grey palette).
std::vector<SampleMap> phongMaps();
// Colour environment maps in the sample palette.
std::vector<SampleMap> environmentMaps(const Palette& palette);

}  // namespace tarn::cli::sample
