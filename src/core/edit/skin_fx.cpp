// Skin F/X: effects baked into the current Skin inside the skin area of the
// selected Triangles, each pixel blended with its old colour and written back
// as the nearest colour of the Skin's own palette.
#include <algorithm>
#include <functional>

#include "edit/mapping_edit.h"
#include "edit/skin_edit.h"
#include "image/palette_search.h"
#include "image/skin_commands.h"
#include "paint/hsv.h"
#include "raster/rasterizer.h"
#include "render/camera.h"
#include "render/shading.h"

namespace tarn {

namespace {

constexpr std::uint8_t kCovered = 255;

Rgb paletteRgb(const Palette& p, int index) {
    const auto at = static_cast<std::size_t>(index) * 3;
    return {double(p[at]), double(p[at + 1]), double(p[at + 2])};
}

Rgb mix(const Rgb& s, const Rgb& t, double w) {
    return {s.r + (t.r - s.r) * w, s.g + (t.g - s.g) * w, s.b + (t.b - s.b) * w};
}

// Each effect's result depends on two bytes only (the pixel's index and the
// effect buffer's level or index), so each pair is blended and searched once.
class PairMemo {
public:
    using Compute = std::function<int(int pixel, int other)>;
    explicit PairMemo(Compute compute) : compute_(std::move(compute)) {}
    std::uint8_t operator()(std::uint8_t pixel, std::uint8_t other) {
        std::int16_t& slot = table_[static_cast<std::size_t>(pixel) << 8 | other];
        if (slot < 0) slot = static_cast<std::int16_t>(compute_(pixel, other));
        return static_cast<std::uint8_t>(slot);
    }

private:
    Compute compute_;
    std::vector<std::int16_t> table_ = std::vector<std::int16_t>(kPaletteColors * kPaletteColors, -1);
};

// The scratch of one effect: the coverage mask and the effect buffer, one byte
// per skin pixel, and a rasterizer pointed at either.
class EffectPlanes {
public:
    EffectPlanes(const Mesh& mesh, int width, int height)
        : coverage(std::size_t(width) * std::size_t(height), 0), effect(coverage.size(), 0), mesh_(mesh) {
        coverageRaster.SetTarget(RasterTarget{coverage.data(), nullptr, nullptr, nullptr, width, height});
        effectRaster.SetTarget(RasterTarget{effect.data(), nullptr, nullptr, nullptr, width, height});
    }

    std::vector<std::uint8_t> coverage;
    std::vector<std::uint8_t> effect;
    Rasterizer coverageRaster;
    Rasterizer effectRaster;

    // Calls f(triangle, corner positions) for every selected Triangle whose
    // MappingVerts lie within the table; hidden ones count too.
    template <typename F>
    void forEachSelected(F f) const {
        for (int i = 0; i < mesh_.triangleCount; ++i) {
            const Triangle& tri = mesh_.triangles[static_cast<std::size_t>(i)];
            if (!(tri.flags & kTriSelected)) continue;
            std::array<MappingVert, 3> at{};
            bool inTable = true;
            for (std::size_t k = 0; k < 3; ++k) {
                const int m = tri.mapping[k];
                inTable = inTable && m >= 0 && m < mesh_.mappingVertCount;
                if (inTable) at[k] = mesh_.mappingVerts[static_cast<std::size_t>(m)];
            }
            if (inTable) f(tri, at);
        }
    }

    void coverSelection() {
        forEachSelected([&](const Triangle&, const std::array<MappingVert, 3>& v) {
            coverageRaster.FillSolid2D({{{v[0].s, v[0].t}, {v[1].s, v[1].t}, {v[2].s, v[2].t}, {v[0].s, v[0].t}}}, kCovered);
        });
    }

    // Writes blend(pixel, effect byte) into every covered pixel, in row order.
    void apply(Skin& skin, PairMemo& blend) const {
        for (std::size_t i = 0; i < coverage.size(); ++i)
            if (coverage[i]) skin.pixels[i] = blend(skin.pixels[i], effect[i]);
    }

private:
    const Mesh& mesh_;
};

bool usable(const Skin* skin, const Mesh& mesh) {
    return skin && skin->width == mesh.skinWidth && skin->height == mesh.skinHeight &&
           skin->pixels.size() == skin->pixelCount();
}

// The light levels the shaded modes would show for the current Frame: flat,
// one level per Triangle, or smooth, one per corner.
void lightTriangles(SkinEditContext& c, LightingKind kind) {
    RenderScene scene;
    scene.mesh = &c.mesh;
    scene.paint = &c.paint;
    scene.lighting = &c.lighting;
    // Flat and smooth lighting do not depend on where the camera is.
    ComputeLighting(kind, scene, CameraTransform({1, 0, 0}, {0, 0, 0}));
}

// Fill and Shade: the brightness of each covered pixel moves half-way (at full
// strength) towards the light level baked into the effect buffer.
void bakeLight(SkinEditContext& c, const char* step, LightingKind kind) {
    Skin* skin = c.skins.current();
    if (!usable(skin, c.mesh) || !requireSelection(c.ui, c.mesh)) return;
    const double a = c.paint.paintStrength * 0.5;
    changeSelectedTexels(c, *skin, step, SkinTables::Remap, [&] {
        EffectPlanes planes(c.mesh, skin->width, skin->height);
        planes.coverSelection();
        lightTriangles(c, kind);
        Rasterizer& r = planes.effectRaster;
        planes.forEachSelected([&](const Triangle& tri, const std::array<MappingVert, 3>& v) {
            const auto& light = tri.scratch.light;
            if (kind == LightingKind::Flat) {
                r.FillSolid2D({{{v[0].s, v[0].t}, {v[1].s, v[1].t}, {v[2].s, v[2].t}, {v[0].s, v[0].t}}},
                              light[0]);
                return;
            }
            auto corner = [&](std::size_t k) { return ShadeVertex2D{v[k].s, v[k].t, toFixed16(light[k])}; };
            r.FillShade2D({corner(0), corner(1), corner(2), corner(0)});
        });
        PaletteSearch search(skin->palette);
        PairMemo blend([&](int pixel, int level) {
            Hsv hsv = rgbToHsv(paletteRgb(skin->palette, pixel));
            hsv.v += (level - hsv.v) * a;
            const Rgb out = hsvToRgb(hsv);
            return search.nearest(out.r, out.g, out.b);
        });
        planes.apply(*skin, blend);
    });
}

}  // namespace

void fillSelected(SkinEditContext& c) { bakeLight(c, "Fill selected", LightingKind::Flat); }

void shadeSelected(SkinEditContext& c) { bakeLight(c, "Shade selected", LightingKind::Smooth); }

void outlineSelected(SkinEditContext& c) {
    Skin* skin = c.skins.current();
    if (!usable(skin, c.mesh) || !requireSelection(c.ui, c.mesh)) return;
    const double g = c.paint.paintStrength;
    const std::uint8_t color = c.paint.activeColor();
    changeSelectedTexels(c, *skin, "Outline selected", SkinTables::Remap, [&] {
        EffectPlanes planes(c.mesh, skin->width, skin->height);
        planes.forEachSelected([&](const Triangle&, const std::array<MappingVert, 3>& v) {
            for (std::size_t k = 0; k < 3; ++k) {
                const Segment2D edge{v[k].s, v[k].t, v[(k + 1) % 3].s, v[(k + 1) % 3].t};
                planes.effectRaster.Line(edge, color);
                planes.coverageRaster.Line(edge, kCovered);
            }
        });
        PaletteSearch search(skin->palette);
        PairMemo blend([&](int pixel, int target) {
            const Rgb out = mix(paletteRgb(skin->palette, pixel), paletteRgb(skin->palette, target), g);
            return search.nearest(out.r, out.g, out.b);
        });
        planes.apply(*skin, blend);
    });
}

void loadToSelected(SkinEditContext& c) {
    Skin* skin = c.skins.current();
    if (!usable(skin, c.mesh) || !requireSelection(c.ui, c.mesh)) return;
    FileDialogRequest request;
    request.filter = kSkinOpenFilter;
    request.initialName = kSkinInitialName;
    request.mustExist = true;
    const auto loaded =
        askSkinImage(c.ui, c.settings, c.folders, request, skin, c.paint.colorSlots[kSlotBackground]);
    if (!loaded) return;
    if (loaded->width != c.mesh.skinWidth || loaded->height != c.mesh.skinHeight) {
        c.ui.message(kMsgWrongDimensions);
        return;
    }
    const double strength = c.paint.paintStrength;
    changeSelectedTexels(c, *skin, "Load to selected", SkinTables::RemapAndRamps, [&] {
        EffectPlanes planes(c.mesh, skin->width, skin->height);
        planes.coverSelection();
        std::copy(loaded->pixels.begin(), loaded->pixels.end(), planes.effect.begin());
        PaletteSearch search(skin->palette);
        PairMemo blend([&](int pixel, int source) {
            const Rgb out = mix(paletteRgb(skin->palette, pixel), paletteRgb(loaded->palette, source), strength);
            return search.nearest(out.r, out.g, out.b);
        });
        planes.apply(*skin, blend);
    });
}

}  // namespace tarn
