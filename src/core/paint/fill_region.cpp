#include "paint/fill_region.h"

#include "paint/texel_cover.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <utility>

namespace tarn {

namespace {

bool inSkin(const Skin& skin, std::int32_t t) {
    return t >= 0 && static_cast<std::size_t>(t) < skin.pixelCount() && skin.pixels.size() >= skin.pixelCount();
}

bool cornersOf(const Mesh& mesh, int triangle, std::array<MappingVert, 3>& uv) {
    for (std::size_t k = 0; k < 3; ++k) {
        const std::int16_t m = mesh.triangles[std::size_t(triangle)].mapping[k];
        if (m < 0 || m >= mesh.mappingVertCount || std::size_t(m) >= mesh.mappingVerts.size()) return false;
        uv[k] = mesh.mappingVerts[std::size_t(m)];
    }
    return true;
}

void markCovered(const std::array<MappingVert, 3>& uv, int width, int height, std::vector<std::uint8_t>& covered) {
    forEachCoveredTexel(uv, width, height, [&](int x, int y, float, float, float) {
        covered[std::size_t(y) * std::size_t(width) + std::size_t(x)] = 1;
    });
}

}  // namespace

std::vector<std::uint8_t> coveredTexels(const Mesh& mesh, int width, int height, bool selectedOnly) {
    std::vector<std::uint8_t> covered(std::size_t(std::max(width, 0)) * std::size_t(std::max(height, 0)), 0);
    const int triangles = std::min<int>(mesh.triangleCount, int(mesh.triangles.size()));
    for (int t = 0; t < triangles; ++t) {
        std::array<MappingVert, 3> uv{};
        const std::uint32_t flags = mesh.triangles[std::size_t(t)].flags;
        const bool taken = selectedOnly ? (flags & kTriSelected) != 0 : (flags & kTriHidden) == 0;
        if (taken && cornersOf(mesh, t, uv)) markCovered(uv, width, height, covered);
    }
    return covered;
}

namespace {

// The texel just inside a Triangle's mapping at the point a fraction `f`
// along its edge from `a` to `b`: half a texel towards the opposite corner
// `c`, where the covered texels lie, kept inside the skin.
std::int32_t texelInside(const Skin& skin, const MappingVert& a, const MappingVert& b, const MappingVert& c,
                         float f) {
    float s = float(a.s) + f * float(b.s - a.s), t = float(a.t) + f * float(b.t - a.t);
    const float ds = float(c.s) - s, dt = float(c.t) - t;
    const float d = std::hypot(ds, dt);
    if (d > 0.0f) {
        const float step = std::min(0.5f, d) / d;
        s += ds * step;
        t += dt * step;
    }
    const int x = std::clamp(int(std::floor(s)), 0, skin.width - 1);
    const int y = std::clamp(int(std::floor(t)), 0, skin.height - 1);
    return std::int32_t(y) * skin.width + x;
}

// Pairs of texels that face each other across a seam: points at the same
// place along an edge two visible Triangles share in the mesh, on each side's
// mapping. Each pair is listed both ways; `visit(from, to)` sees them in an
// order that depends only on the Triangles.
template <typename Sources, typename Visit>
void forEachSeamLink(const Sources& triangles, const Skin& skin, Visit&& visit) {
    struct Side {
        MappingVert a, b;  // the mapping of the edge's lower and higher vertex
        MappingVert c;     // and of the Triangle's third corner
    };
    std::map<std::pair<int, int>, std::vector<Side>> edges;
    for (const auto& tri : triangles) {
        if (!tri.taken) continue;
        for (std::size_t k = 0; k < 3; ++k) {
            const std::size_t n = (k + 1) % 3;
            const int va = tri.vertex[k], vb = tri.vertex[n];
            if (va == vb) continue;
            const MappingVert& opposite = tri.uv[(k + 2) % 3];
            edges[{std::min(va, vb), std::max(va, vb)}].push_back(
                va < vb ? Side{tri.uv[k], tri.uv[n], opposite} : Side{tri.uv[n], tri.uv[k], opposite});
        }
    }
    for (const auto& [edge, sides] : edges)
        for (std::size_t i = 0; i < sides.size(); ++i)
            for (std::size_t j = i + 1; j < sides.size(); ++j) {
                const Side& p = sides[i];
                const Side& q = sides[j];
                if (p.a.s == q.a.s && p.a.t == q.a.t && p.b.s == q.b.s && p.b.t == q.b.t) continue;
                // Samples half a texel apart along the longer of the two edges.
                const float len = std::max(std::hypot(float(p.b.s - p.a.s), float(p.b.t - p.a.t)),
                                           std::hypot(float(q.b.s - q.a.s), float(q.b.t - q.a.t)));
                const int samples = std::max(2, int(std::ceil(len * 2.0f)) + 1);
                for (int k = 0; k < samples; ++k) {
                    // Kept off the corners, whose texels belong to more than this seam.
                    const float f = (float(k) + 0.5f) / float(samples);
                    const std::int32_t from = texelInside(skin, p.a, p.b, p.c, f);
                    const std::int32_t to = texelInside(skin, q.a, q.b, q.c, f);
                    visit(from, to);
                    visit(to, from);
                }
            }
}

template <typename Neighbours>
std::vector<std::int32_t> flood(const Skin& skin, std::int32_t start, const std::vector<std::uint8_t>* covered,
                                Neighbours&& extra) {
    const std::uint8_t index = skin.pixels[std::size_t(start)];
    std::vector<std::uint8_t> seen(skin.pixelCount(), 0);
    std::vector<std::int32_t> region{start};
    seen[std::size_t(start)] = 1;
    const auto take = [&](std::int32_t t) {
        if (seen[std::size_t(t)] || skin.pixels[std::size_t(t)] != index) return;
        if (covered != nullptr && !(*covered)[std::size_t(t)]) return;
        seen[std::size_t(t)] = 1;
        region.push_back(t);
    };
    for (std::size_t i = 0; i < region.size(); ++i) {
        const std::int32_t t = region[i];
        const int x = t % skin.width, y = t / skin.width;
        if (x > 0) take(t - 1);
        if (x + 1 < skin.width) take(t + 1);
        if (y > 0) take(t - skin.width);
        if (y + 1 < skin.height) take(t + skin.width);
        extra(t, take);
    }
    return region;
}

}  // namespace

std::vector<std::int32_t> fillRegion(const Skin& skin, std::int32_t start, bool everyTexelOfIndex) {
    if (!inSkin(skin, start) || skin.width <= 0) return {};
    if (everyTexelOfIndex) {
        const std::uint8_t index = skin.pixels[std::size_t(start)];
        std::vector<std::int32_t> all{start};
        for (std::size_t i = 0; i < skin.pixelCount(); ++i)
            if (skin.pixels[i] == index && std::int32_t(i) != start) all.push_back(std::int32_t(i));
        return all;
    }
    return flood(skin, start, nullptr, [](std::int32_t, auto&&) {});
}

std::vector<std::int32_t> fillRegionOnSurface(const Mesh& mesh, const Skin& skin, std::int32_t start) {
    return SurfaceFill().region(mesh, skin, start);
}

bool SurfaceFill::current(const Mesh& mesh, int width, int height) {
    const int triangles = std::min<int>(mesh.triangleCount, int(mesh.triangles.size()));
    scratch_.assign(std::size_t(std::max(triangles, 0)), Source{});
    for (int t = 0; t < triangles; ++t) {
        Source& source = scratch_[std::size_t(t)];
        const Triangle& tri = mesh.triangles[std::size_t(t)];
        source.taken = (tri.flags & kTriHidden) == 0 && cornersOf(mesh, t, source.uv);
        if (!source.taken) source.uv = {};
        source.vertex = tri.vertex;
    }
    if (width == width_ && height == height_ && scratch_ == sources_) return true;
    sources_.swap(scratch_);
    width_ = width;
    height_ = height;
    return false;
}

std::vector<std::int32_t> SurfaceFill::region(const Mesh& mesh, const Skin& skin, std::int32_t start) {
    if (!inSkin(skin, start) || skin.width <= 0) return {};
    if (!current(mesh, skin.width, skin.height)) {
        covered_.assign(skin.pixelCount(), 0);
        for (const Source& source : sources_)
            if (source.taken) markCovered(source.uv, skin.width, skin.height, covered_);
        // The links grouped by the texel they leave, each group in the order
        // found, so the fill meets the texels across a seam in that order.
        std::vector<std::pair<std::int32_t, std::int32_t>> pairs;
        forEachSeamLink(sources_, skin, [&](std::int32_t from, std::int32_t to) { pairs.emplace_back(from, to); });
        linkStart_.assign(skin.pixelCount() + 1, 0);
        for (const auto& pair : pairs) ++linkStart_[std::size_t(pair.first) + 1];
        for (std::size_t t = 1; t < linkStart_.size(); ++t) linkStart_[t] += linkStart_[t - 1];
        links_.resize(pairs.size());
        std::vector<std::int32_t> next(linkStart_.begin(), linkStart_.end() - 1);
        for (const auto& [from, to] : pairs) links_[std::size_t(next[std::size_t(from)]++)] = to;
    }
    if (!covered_[std::size_t(start)]) return {};
    return flood(skin, start, &covered_, [&](std::int32_t t, auto&& take) {
        const auto first = links_.begin() + linkStart_[std::size_t(t)];
        const auto last = links_.begin() + linkStart_[std::size_t(t) + 1];
        for (auto it = first; it != last; ++it) take(*it);
    });
}

}  // namespace tarn
