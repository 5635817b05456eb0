#include "edit/layout_export.h"

#include <algorithm>
#include <cerrno>
#include <cmath>

#include "edit/pack_charts.h"
#include "edit/skin_edit.h"
#include "paint/paint_state.h"
#include "platform/dialogs.h"
#include "image/image_codec.h"
#include "platform/fs.h"
#include "raster/rasterizer.h"

namespace tarn {

namespace {

constexpr std::uint8_t kPaper = 255;
// A fill lets this much of the skin through, in 256ths.
constexpr int kFillOverSkin = 128;
constexpr int kRowAlign = 4;

bool drawn(const Triangle& tri, const LayoutOptions& o) { return !o.selectedOnly || (tri.flags & kTriSelected) != 0; }

template <class EdgeFn>
void forEachEdge(const Mesh& mesh, const LayoutOptions& o, EdgeFn edge) {
    for (int i = 0; i < mesh.triangleCount; ++i) {
        const Triangle& tri = mesh.triangles[std::size_t(i)];
        if (!drawn(tri, o)) continue;
        for (std::size_t k = 0; k < 3; ++k)
            edge(mesh.mappingVerts[std::size_t(tri.mapping[k])], mesh.mappingVerts[std::size_t(tri.mapping[(k + 1) % 3])]);
    }
}

// Far-apart hues, light enough that edges and painting show on them.
std::array<std::uint8_t, 3> chartColour(std::size_t index) {
    const double hue = std::fmod(static_cast<double>(index) * 137.50776, 360.0) / 60.0;
    const double x = 1.0 - std::fabs(std::fmod(hue, 2.0) - 1.0);
    double r = 0, g = 0, b = 0;
    switch (static_cast<int>(hue)) {
    case 0: r = 1; g = x; break;
    case 1: r = x; g = 1; break;
    case 2: g = 1; b = x; break;
    case 3: g = x; b = 1; break;
    case 4: r = x; b = 1; break;
    default: r = 1; b = x; break;
    }
    auto light = [](double c) { return static_cast<std::uint8_t>(std::lround(110.0 + c * 145.0)); };
    return {light(r), light(g), light(b)};
}

struct Canvas {
    int width = 0;
    int height = 0;
    int scale = 1;
    std::vector<std::uint8_t>& rgb;

    void blend(int x, int y, const std::array<std::uint8_t, 3>& c, int alpha) {
        if (x < 0 || y < 0 || x >= width || y >= height || alpha <= 0) return;
        std::uint8_t* p = rgb.data() + (std::size_t(y) * std::size_t(width) + std::size_t(x)) * 3;
        for (std::size_t k = 0; k < 3; ++k) p[k] = static_cast<std::uint8_t>((p[k] * (256 - alpha) + c[k] * alpha) >> 8);
    }
    void texel(int s, int t, const std::array<std::uint8_t, 3>& c, int alpha) {
        for (int y = t * scale; y < (t + 1) * scale; ++y)
            for (int x = s * scale; x < (s + 1) * scale; ++x) blend(x, y, c, alpha);
    }
};

void drawSkin(Canvas& canvas, const Skin& skin) {
    const int w = std::min(skin.width, canvas.width / canvas.scale);
    const int h = std::min(skin.height, canvas.height / canvas.scale);
    for (int t = 0; t < h; ++t)
        for (int s = 0; s < w; ++s) {
            const std::uint8_t i = skin.pixels[std::size_t(t) * std::size_t(skin.width) + std::size_t(s)];
            canvas.texel(s, t, {skin.palette[i * 3], skin.palette[i * 3 + 1], skin.palette[i * 3 + 2]}, 256);
        }
}

void fillCharts(Canvas& canvas, const Mesh& mesh, const LayoutOptions& o) {
    const std::vector<Chart> charts = FindCharts(mesh);
    const std::span<const MappingVert> verts(mesh.mappingVerts.data(), std::size_t(std::max<int>(mesh.mappingVertCount, 0)));
    for (std::size_t c = 0; c < charts.size(); ++c) {
        Chart chart = charts[c];
        std::erase_if(chart.triangles, [&](int t) { return !drawn(mesh.triangles[std::size_t(t)], o); });
        // Coverage is counted from the skin's corner; a chart reaching past it
        // up or left has no texels there to fill.
        if (chart.triangles.empty() || chart.left < 0 || chart.top < 0) continue;
        const std::vector<Corners> corners = ChartCorners(mesh, chart, verts);
        const Shape shape = FootprintOf(corners, 0);
        const int alpha = o.overSkin ? kFillOverSkin : 256;
        // Only what lies on the skin is filled, however far the chart reaches.
        const int columns = canvas.width / canvas.scale;
        for (int t = 0; t < std::min(shape.height, canvas.height / canvas.scale); ++t)
            for (const Span& span : shape.rows[std::size_t(t)])
                for (int s = span.left; s <= std::min(span.right, columns - 1); ++s)
                    canvas.texel(s, t, chartColour(c), alpha);
    }
}

// Texel by texel, as the overlay draws at a zoom of 1.
void texelEdges(Canvas& canvas, const Mesh& mesh, const LayoutOptions& o) {
    const int pitch = (canvas.width + kRowAlign - 1) / kRowAlign * kRowAlign;
    std::vector<std::uint8_t> plane(std::size_t(pitch) * std::size_t(canvas.height), 0);
    Rasterizer raster;
    raster.SetTarget(RasterTarget{plane.data(), nullptr, nullptr, nullptr, pitch, canvas.height});
    forEachEdge(mesh, o, [&](const MappingVert& a, const MappingVert& b) {
        raster.Line(Segment2D{a.s, a.t, b.s, b.t}, 1);
    });
    for (int y = 0; y < canvas.height; ++y)
        for (int x = 0; x < canvas.width; ++x)
            if (plane[std::size_t(y) * std::size_t(pitch) + std::size_t(x)] != 0) canvas.blend(x, y, o.edge, 256);
}

// Xiaolin Wu's line between two points in pixel-centre coordinates, keeping
// the strongest coverage of each pixel so that crossing edges do not darken.
void smoothLine(std::vector<float>& cover, int width, int height, float x0, float y0, float x1, float y1) {
    const bool steep = std::fabs(y1 - y0) > std::fabs(x1 - x0);
    if (steep) {
        std::swap(x0, y0);
        std::swap(x1, y1);
    }
    if (x0 > x1) {
        std::swap(x0, x1);
        std::swap(y0, y1);
    }
    auto plot = [&](int a, int b, float c) {
        const int x = steep ? b : a;
        const int y = steep ? a : b;
        if (x < 0 || y < 0 || x >= width || y >= height) return;
        float& v = cover[std::size_t(y) * std::size_t(width) + std::size_t(x)];
        v = std::max(v, c);
    };
    const float dx = x1 - x0;
    const float gradient = dx == 0.0f ? 0.0f : (y1 - y0) / dx;
    const int first = static_cast<int>(std::lround(x0));
    const int last = static_cast<int>(std::lround(x1));
    for (int x = first; x <= last; ++x) {
        const float y = y0 + gradient * (static_cast<float>(x) - x0);
        const float base = std::floor(y);
        const float frac = y - base;
        plot(x, static_cast<int>(base), 1.0f - frac);
        plot(x, static_cast<int>(base) + 1, frac);
    }
}

void smoothEdges(Canvas& canvas, const Mesh& mesh, const LayoutOptions& o) {
    std::vector<float> cover(std::size_t(canvas.width) * std::size_t(canvas.height), 0.0f);
    const float n = static_cast<float>(canvas.scale);
    // A texel's centre, where the overlay's lines start and end, in the
    // coordinates of picture pixel centres.
    auto at = [n](int v) { return (static_cast<float>(v) + 0.5f) * n - 0.5f; };
    forEachEdge(mesh, o, [&](const MappingVert& a, const MappingVert& b) {
        smoothLine(cover, canvas.width, canvas.height, at(a.s), at(a.t), at(b.s), at(b.t));
    });
    for (int y = 0; y < canvas.height; ++y)
        for (int x = 0; x < canvas.width; ++x) {
            const float c = cover[std::size_t(y) * std::size_t(canvas.width) + std::size_t(x)];
            canvas.blend(x, y, o.edge, static_cast<int>(std::lround(c * 256.0f)));
        }
}

bool mappingUsable(const Mesh& mesh) {
    for (int i = 0; i < mesh.triangleCount; ++i)
        for (std::int16_t m : mesh.triangles[std::size_t(i)].mapping)
            if (m < 0 || m >= mesh.mappingVertCount) return false;
    return true;
}

}  // namespace

std::string LayoutTooLarge(const Mesh& mesh, int scale) {
    const long long width = static_cast<long long>(mesh.skinWidth) * scale;
    const long long height = static_cast<long long>(mesh.skinHeight) * scale;
    if (width * height <= kMaxLayoutPixels) return {};
    return "The layout would be " + std::to_string(width) + "x" + std::to_string(height) +
           " pixels; a layout holds at most " + std::to_string(kMaxLayoutPixels) +
           " pixels (a 640x480 skin at scale 8). Choose a smaller scale.";
}

LayoutPicture RenderLayout(const Mesh& mesh, const Skin* skin, const LayoutOptions& options) {
    LayoutPicture picture;
    const int scale = std::clamp(options.scale, 1, kMaxLayoutScale);
    if (mesh.skinWidth <= 0 || mesh.skinHeight <= 0 || !mappingUsable(mesh) || !LayoutTooLarge(mesh, scale).empty())
        return picture;
    picture.width = mesh.skinWidth * scale;
    picture.height = mesh.skinHeight * scale;
    picture.rgb.assign(std::size_t(picture.width) * std::size_t(picture.height) * 3, kPaper);
    Canvas canvas{picture.width, picture.height, scale, picture.rgb};
    if (options.overSkin && skin != nullptr && skin->pixels.size() >= skin->pixelCount()) drawSkin(canvas, *skin);
    if (options.fill) fillCharts(canvas, mesh, options);
    if (scale == 1)
        texelEdges(canvas, mesh, options);
    else
        smoothEdges(canvas, mesh, options);
    return picture;
}

int WriteLayout(const std::string& path, const LayoutPicture& picture) {
    if (picture.rgb.empty()) return EINVAL;
    const Bytes png = encodePng24(picture.width, picture.height, picture.rgb.data());
    return png.empty() ? ENOMEM : writeFileAtomic(path, png);
}

void exportLayoutCommand(SkinEditContext& c) {
    if (c.mesh.skinWidth <= 0 || c.mesh.skinHeight <= 0) return;
    LayoutChoices initial;
    initial.selectedOnly = std::any_of(c.mesh.triangles.begin(), c.mesh.triangles.begin() + std::max<int>(c.mesh.triangleCount, 0),
                                       [](const Triangle& t) { return (t.flags & kTriSelected) != 0; });
    const std::optional<LayoutChoices> chosen = c.ui.layoutChoices(initial);
    if (!chosen) return;
    if (const std::string why = LayoutTooLarge(c.mesh, chosen->scale); !why.empty()) {
        c.ui.message(why);
        return;
    }
    FileDialogRequest request;
    request.filter = kLayoutFilter;
    request.initialName = "*.png";
    if (const Skin* shown = c.skins.current(); shown != nullptr && !shown->filePath.empty())
        proposeFile(request, withExtension(shown->filePath, "_layout.png"));
    request.title = "Export the mapping layout as a picture";
    const auto file = askSavePath(c.ui, c.settings, c.folders, request);
    if (!file) return;
    const std::string path = appendExtensionIfNone(file->path, ".png");
    LayoutOptions options;
    static_cast<LayoutChoices&>(options) = *chosen;
    const Skin* skin = c.skins.current();
    if (skin != nullptr) {
        const std::size_t i = c.paint.colorSlots[kSlotEdge];
        options.edge = {skin->palette[i * 3], skin->palette[i * 3 + 1], skin->palette[i * 3 + 2]};
    }
    if (const int error = WriteLayout(path, RenderLayout(c.mesh, skin, options)); error != 0)
        c.ui.message(errorSavingMessage(error, path));
}

}  // namespace tarn
