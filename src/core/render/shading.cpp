#include "render/shading.h"

#include <algorithm>

#include "paint/hsv.h"

namespace tarn {

namespace {

// L.N + 1 spans 0..2; times this gives light levels 0..254.
constexpr float kLightLevelScale = 127.0f;
// n' + 1 spans 0..2; times this gives map coordinates 0..256.
constexpr float kMapScale = 128.0f;
constexpr double kRampChannelScale = 256.0;
constexpr int kLightStepPerRampEntry = 4;
constexpr int kByteMask = 0xFF;

std::uint8_t byteOf(int v) { return static_cast<std::uint8_t>(v & kByteMask); }

int rawLevel(const Vec3f& light, const Vec3f& normal) {
    return static_cast<int>((dot(light, normal) + 1.0f) * kLightLevelScale);
}

// Per-vertex sums of one attribute over the triangles that use each vertex.
struct VertexSums {
    explicit VertexSums(std::size_t vertices) : sum(vertices, 0.0), count(vertices, 0) {}
    std::vector<double> sum;
    std::vector<int> count;
    void add(std::size_t v, double value) {
        sum[v] += value;
        ++count[v];
    }
    double average(std::size_t v) const { return count[v] ? sum[v] / count[v] : 0.0; }
};

bool cornersWithin(const std::array<std::int16_t, 3>& vertex, std::size_t vertices) {
    return std::all_of(vertex.begin(), vertex.end(), [&](std::int16_t i) {
        return i >= 0 && static_cast<std::size_t>(i) < vertices;
    });
}

// One lighting kind over a list of triangles that share a vertex table.
template <typename Tri>
void lightTriangles(LightingKind kind, Tri* tris, std::size_t count, std::size_t vertices,
                    const Vec3f& light, const LightTable& table, bool flatUsesTable,
                    const CameraTransform& camera) {
    if (kind == LightingKind::Flat) {
        for (std::size_t i = 0; i < count; ++i) {
            const int level = rawLevel(light, tris[i].normal);
            tris[i].scratch.light[0] =
                flatUsesTable ? table[std::size_t(level & kByteMask)] : byteOf(level);
        }
        return;
    }
    if (kind == LightingKind::Smooth) {
        VertexSums sums(vertices);
        for (std::size_t i = 0; i < count; ++i) {
            if (!cornersWithin(tris[i].vertex, vertices)) continue;
            const double term = dot(light, tris[i].normal) + 1.0f;
            for (auto v : tris[i].vertex) sums.add(std::size_t(v), term);
        }
        for (std::size_t i = 0; i < count; ++i) {
            if (!cornersWithin(tris[i].vertex, vertices)) continue;
            for (std::size_t k = 0; k < 3; ++k) {
                const auto level = static_cast<int>(
                    sums.average(std::size_t(tris[i].vertex[k])) * kLightLevelScale);
                tris[i].scratch.light[k] = table[std::size_t(level & kByteMask)];
            }
        }
        return;
    }
    std::vector<int> uSum(vertices, 0), vSum(vertices, 0), uses(vertices, 0);
    for (std::size_t i = 0; i < count; ++i) {
        auto& s = tris[i].scratch;
        s.viewNormalX = camera.normalX(tris[i].normal);
        s.viewNormalY = camera.normalY(tris[i].normal);
        if (!cornersWithin(tris[i].vertex, vertices)) continue;
        const int u = static_cast<int>((s.viewNormalX + 1.0f) * kMapScale);
        const int v = static_cast<int>((s.viewNormalY + 1.0f) * kMapScale);
        for (auto c : tris[i].vertex) {
            uSum[std::size_t(c)] += u;
            vSum[std::size_t(c)] += v;
            ++uses[std::size_t(c)];
        }
    }
    for (std::size_t i = 0; i < count; ++i) {
        if (!cornersWithin(tris[i].vertex, vertices)) continue;
        for (std::size_t k = 0; k < 3; ++k) {
            const auto c = std::size_t(tris[i].vertex[k]);
            tris[i].scratch.mapU[k] = byteOf(uSum[c] / uses[c]);
            tris[i].scratch.mapV[k] = byteOf(vSum[c] / uses[c]);
        }
    }
}

}  // namespace

ShadeRamps BuildShadeRamps(const Palette* skinPalette, const ColorSlots& slots,
                           const LightTable& lightTable) {
    ShadeRamps ramps{};
    for (int r = 0; r < kRampCount; ++r) {
        const int c = slots[r + 1];
        Rgb rgb{double(c), double(c), double(c)};
        if (skinPalette != nullptr) {
            const auto at = std::size_t(c) * 3;
            rgb = {double((*skinPalette)[at]), double((*skinPalette)[at + 1]),
                   double((*skinPalette)[at + 2])};
        }
        const Hsv hsv = rgbToHsv({rgb.r / kRampChannelScale, rgb.g / kRampChannelScale,
                                  rgb.b / kRampChannelScale});
        for (int k = 0; k < kRampLength; ++k) {
            const double light = lightTable[std::size_t(kLightStepPerRampEntry * k)];
            const Rgb out = hsvToRgb({hsv.h, hsv.s, hsv.v * light / kRampChannelScale});
            auto channel = [](double x) {
                return static_cast<std::uint8_t>(std::clamp(int(x * kRampChannelScale), 0, 255));
            };
            ramps[std::size_t(r)][std::size_t(k)] = {channel(out.r), channel(out.g),
                                                     channel(out.b)};
        }
    }
    return ramps;
}

int shadeRampBase(std::uint32_t flags, bool mappingMode) {
    if (!mappingMode || flags == 0) return kRampBase[0];
    return (flags & kTriDragMark) ? kRampBase[2] : kRampBase[1];
}

int wireSlot(std::uint32_t flags, bool mappingMode) {
    if (!mappingMode || flags == 0) return kSlotEdge;
    return (flags & kTriDragMark) ? kSlotDragged : kSlotSelected;
}

void ComputeLighting(LightingKind kind, RenderScene& scene, const CameraTransform& camera) {
    if (scene.mesh == nullptr || scene.lighting == nullptr || scene.paint == nullptr) return;
    Mesh& mesh = *scene.mesh;
    const Vec3f light = scene.lighting->lightVector;
    const LightTable& table = scene.paint->lightTable;
    const std::size_t triangles =
        std::min<std::size_t>(std::size_t(std::max<int>(mesh.triangleCount, 0)),
                              mesh.triangles.size());
    lightTriangles(kind, mesh.triangles.data(), triangles,
                   std::size_t(std::max<int>(mesh.vertexCount, 0)), light, table, false, camera);
    if (scene.companions == nullptr) return;
    for (auto& c : *scene.companions) {
        if (!c->shownAt(mesh.currentFrame)) continue;
        lightTriangles(kind, c->triangles.data(), c->triangles.size(),
                       std::size_t(std::max<int>(c->vertexCount, 0)), light, table, true, camera);
    }
}

}  // namespace tarn
