#include "model/gl_commands.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <vector>

namespace tarn {

namespace {

enum TriangleState : std::uint8_t { kUnused = 0, kUsed = 1, kInRun = 2 };
enum class RunKind { Fan, Strip };

// A triangle corner as the GL commands see it: both indices must agree for
// two corners to be shared.
struct GlCorner {
    std::int16_t vertex = 0;
    std::int16_t mapping = 0;
    std::uint32_t key() const {
        return (static_cast<std::uint32_t>(static_cast<std::uint16_t>(vertex)) << 16) |
               static_cast<std::uint16_t>(mapping);
    }
};

GlCorner cornerOf(const Triangle& tri, int c) {
    const auto i = static_cast<std::size_t>(c % 3);
    return {tri.vertex[i], tri.mapping[i]};
}

// Directed edges (corner k -> corner k + 1) of every triangle, sorted by edge
// and then by triangle and corner, so "the first triangle after i holding this
// edge" is one binary search instead of a scan over all later triangles.
class EdgeIndex {
public:
    explicit EdgeIndex(const Mesh& mesh) {
        entries_.reserve(static_cast<std::size_t>(mesh.triangleCount) * 3);
        for (int j = 0; j < mesh.triangleCount; ++j) {
            const Triangle& tri = mesh.triangles[static_cast<std::size_t>(j)];
            for (int k = 0; k < 3; ++k)
                entries_.push_back({edgeKey(cornerOf(tri, k), cornerOf(tri, k + 1)), j, k});
        }
        std::sort(entries_.begin(), entries_.end());
    }

    struct Hit {
        int triangle = -1;
        int corner = 0;
    };
    // The lowest triangle above `after` (lowest corner within it) whose
    // corner k is `from` and corner k + 1 is `to`.
    Hit firstAfter(int after, GlCorner from, GlCorner to) const {
        const Entry probe{edgeKey(from, to), after + 1, 0};
        auto it = std::lower_bound(entries_.begin(), entries_.end(), probe);
        if (it == entries_.end() || it->key != probe.key) return {};
        return {it->triangle, it->corner};
    }

private:
    struct Entry {
        std::uint64_t key;
        int triangle;
        int corner;
        friend auto operator<=>(const Entry&, const Entry&) = default;
    };
    static std::uint64_t edgeKey(GlCorner a, GlCorner b) {
        return (static_cast<std::uint64_t>(a.key()) << 32) | b.key();
    }
    std::vector<Entry> entries_;
};

struct Run {
    std::array<GlCorner, kGlRunCapacity> corners{};
    std::array<int, kGlRunCapacity> triangles{};
    int length = 0;  // triangles in the run; it has length + 2 corners
};

// Grows a fan or strip from triangle i, starting corner c, as far as the
// first matching later triangle is still free and the run buffer has room.
void measureRun(const Mesh& mesh, const EdgeIndex& edges, std::vector<std::uint8_t>& state, int i,
                int c, RunKind kind, Run& run) {
    const Triangle& first = mesh.triangles[static_cast<std::size_t>(i)];
    state[static_cast<std::size_t>(i)] = kInRun;
    run.corners[0] = cornerOf(first, c);
    run.corners[1] = cornerOf(first, c + 1);
    run.corners[2] = cornerOf(first, c + 2);
    run.triangles[0] = i;
    run.length = 1;

    GlCorner m1 = kind == RunKind::Fan ? cornerOf(first, c) : cornerOf(first, c + 2);
    GlCorner m2 = kind == RunKind::Fan ? cornerOf(first, c + 2) : cornerOf(first, c + 1);
    while (run.length + 2 < kGlRunCapacity) {
        const EdgeIndex::Hit hit = edges.firstAfter(i, m1, m2);
        if (hit.triangle < 0 || state[static_cast<std::size_t>(hit.triangle)] != kUnused) break;
        const GlCorner next = cornerOf(mesh.triangles[static_cast<std::size_t>(hit.triangle)], hit.corner + 2);
        // A strip alternates which end of the shared edge moves on.
        if (kind == RunKind::Fan || run.length % 2 == 1)
            m2 = next;
        else
            m1 = next;
        run.corners[static_cast<std::size_t>(run.length + 2)] = next;
        run.triangles[static_cast<std::size_t>(run.length)] = hit.triangle;
        state[static_cast<std::size_t>(hit.triangle)] = kInRun;
        ++run.length;
    }
    for (int t = 1; t < run.length; ++t) state[static_cast<std::size_t>(run.triangles[static_cast<std::size_t>(t)])] = kUnused;
}

}  // namespace

int BuildGlCommands(const Mesh& mesh, std::span<std::int32_t> out) {
    if (out.empty()) return 0;
    const EdgeIndex edges(mesh);
    std::vector<std::uint8_t> state(static_cast<std::size_t>(std::max<int>(mesh.triangleCount, 0)), kUnused);
    // A zero size cannot come from a loaded file; it must not divide by zero.
    const float width = static_cast<float>(std::max<int>(mesh.skinWidth, 1));
    const float height = static_cast<float>(std::max<int>(mesh.skinHeight, 1));

    Run best;
    Run candidate;
    std::size_t words = 0;
    for (int i = 0; i < mesh.triangleCount; ++i) {
        if (state[static_cast<std::size_t>(i)] != kUnused) continue;
        best.length = 0;
        bool bestIsStrip = false;
        for (RunKind kind : {RunKind::Fan, RunKind::Strip}) {
            for (int c = 0; c < 3; ++c) {
                measureRun(mesh, edges, state, i, c, kind, candidate);
                // Only a strictly longer run replaces the kept one, so ties go
                // to fans and to the lower start corner.
                if (candidate.length > best.length) {
                    best = candidate;
                    bestIsStrip = kind == RunKind::Strip;
                }
            }
        }
        for (int t = 0; t < best.length; ++t) state[static_cast<std::size_t>(best.triangles[static_cast<std::size_t>(t)])] = kUsed;

        const int vertices = best.length + 2;
        const std::size_t needed = 1 + 3 * static_cast<std::size_t>(vertices);
        if (words + needed + 1 > out.size()) continue;
        out[words++] = bestIsStrip ? vertices : -vertices;
        for (int v = 0; v < vertices; ++v) {
            const GlCorner corner = best.corners[static_cast<std::size_t>(v)];
            const MappingVert& st = mesh.mappingVerts[static_cast<std::size_t>(corner.mapping)];
            out[words++] = std::bit_cast<std::int32_t>((st.s + 0.5f) / width);
            out[words++] = std::bit_cast<std::int32_t>((st.t + 0.5f) / height);
            out[words++] = corner.vertex;
        }
    }
    out[words++] = 0;
    return static_cast<int>(words);
}

}  // namespace tarn
