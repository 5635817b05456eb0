#pragma once
// The texels a Triangle's mapping covers: those whose centres lie inside it,
// as the textured fills place them (texel i spans [i, i + 1)).
#include <algorithm>
#include <array>

#include "model/mesh.h"

namespace tarn {

// Calls visit(x, y, w0, w1, w2) for each texel of a `width` x `height` skin
// whose centre lies in the Triangle mapped to `uv`, with the centre's weights
// of the three corners. A Triangle of no area covers nothing.
template <typename Visit>
void forEachCoveredTexel(const std::array<MappingVert, 3>& uv, int width, int height, Visit&& visit) {
    const float area = float(uv[1].s - uv[0].s) * float(uv[2].t - uv[0].t) -
                       float(uv[2].s - uv[0].s) * float(uv[1].t - uv[0].t);
    if (area == 0.0f) return;
    const int s0 = std::max(0, int(std::min({uv[0].s, uv[1].s, uv[2].s})));
    const int s1 = std::min(width - 1, int(std::max({uv[0].s, uv[1].s, uv[2].s})));
    const int t0 = std::max(0, int(std::min({uv[0].t, uv[1].t, uv[2].t})));
    const int t1 = std::min(height - 1, int(std::max({uv[0].t, uv[1].t, uv[2].t})));
    for (int y = t0; y <= t1; ++y)
        for (int x = s0; x <= s1; ++x) {
            const float u = float(x) + 0.5f - float(uv[0].s), v = float(y) + 0.5f - float(uv[0].t);
            const float w1 = (u * float(uv[2].t - uv[0].t) - float(uv[2].s - uv[0].s) * v) / area;
            const float w2 = (float(uv[1].s - uv[0].s) * v - u * float(uv[1].t - uv[0].t)) / area;
            const float w0 = 1.0f - w1 - w2;
            if (w0 >= 0.0f && w1 >= 0.0f && w2 >= 0.0f) visit(x, y, w0, w1, w2);
        }
}

}  // namespace tarn
