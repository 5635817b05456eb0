#include "gl_check.h"

#include <algorithm>
#include <bit>

namespace tarn::test {

namespace {

// The rotation that starts at the smallest corner, so equal triangles compare
// equal whichever corner a run started them at.
GlTriangle canonical(GlTriangle t) {
    GlTriangle best = t;
    for (int r = 1; r < 3; ++r) {
        std::rotate(t.begin(), t.begin() + 1, t.end());
        best = std::min(best, t);
    }
    return best;
}

}  // namespace

std::vector<GlTriangle> decodeGlTriangles(std::span<const std::int32_t> words, std::string& error) {
    std::vector<GlTriangle> out;
    std::size_t at = 0;
    while (true) {
        if (at >= words.size()) {
            error = "the list does not end in 0";
            return out;
        }
        const std::int32_t count = words[at++];
        if (count == 0) break;
        const bool fan = count < 0;
        const std::size_t n = static_cast<std::size_t>(fan ? -static_cast<std::int64_t>(count) : count);
        if (n < 3 || at + 3 * n > words.size()) {
            error = "a run of " + std::to_string(count) + " vertices does not fit";
            return out;
        }
        std::vector<GlVertex> v(n);
        for (std::size_t i = 0; i < n; ++i, at += 3) v[i] = {words[at + 2], words[at], words[at + 1]};
        for (std::size_t k = 0; k + 2 < n; ++k) {
            if (fan)
                out.push_back({v[0], v[k + 1], v[k + 2]});
            else if (k % 2 == 0)
                out.push_back({v[k], v[k + 1], v[k + 2]});
            else
                out.push_back({v[k + 1], v[k], v[k + 2]});
        }
    }
    if (at != words.size()) error = "words follow the closing 0";
    return out;
}

std::string checkGlCover(const Mesh& mesh, std::span<const std::int32_t> words) {
    std::string error;
    std::vector<GlTriangle> drawn = decodeGlTriangles(words, error);
    if (!error.empty()) return error;
    std::vector<GlTriangle> expected;
    for (int i = 0; i < mesh.triangleCount; ++i) {
        const Triangle& tri = mesh.triangles[static_cast<std::size_t>(i)];
        GlTriangle t;
        for (std::size_t c = 0; c < 3; ++c) {
            const MappingVert& st = mesh.mappingVerts[static_cast<std::size_t>(tri.mapping[c])];
            t[c] = {tri.vertex[c], std::bit_cast<std::int32_t>((st.s + 0.5f) / static_cast<float>(mesh.skinWidth)),
                    std::bit_cast<std::int32_t>((st.t + 0.5f) / static_cast<float>(mesh.skinHeight))};
        }
        expected.push_back(canonical(t));
    }
    for (GlTriangle& t : drawn) {
        for (const GlVertex& v : t)
            if (v[0] < 0 || v[0] >= mesh.vertexCount) return "vertex index " + std::to_string(v[0]) + " is out of range";
        t = canonical(t);
    }
    std::sort(expected.begin(), expected.end());
    std::sort(drawn.begin(), drawn.end());
    if (drawn != expected)
        return "the runs draw " + std::to_string(drawn.size()) + " triangles that are not the mesh's " +
               std::to_string(expected.size());
    return {};
}

}  // namespace tarn::test
