#include "render/render_pass.h"

#include <algorithm>
#include <cmath>

namespace tarn {

namespace {

constexpr float kNoDistance = 0.0f;

Point3f toPoint(const Vec3f& v) { return {v.x, v.y, v.z}; }

bool indicesWithin(const std::array<std::int16_t, 3>& vertex, std::size_t count) {
    return std::all_of(vertex.begin(), vertex.end(), [&](std::int16_t i) {
        return i >= 0 && static_cast<std::size_t>(i) < count;
    });
}

}  // namespace

RenderPass::RenderPass(RenderTarget& target, RenderScene& scene)
    : target_(target),
      scene_(scene),
      raster_(scene.rasterizer),
      camera_(target.eye, target.lookAt),
      projection_(target.width, target.pictureHeight > 0 ? target.pictureHeight : target.height, camera_.dist,
                  target.fieldOfView) {}

bool RenderPass::setUpFrame(Palette& palette, std::uint8_t background) {
    if (target_.width < 1 || target_.height < 1 || raster_ == nullptr || scene_.paint == nullptr) return false;
    if (scene_.skin != nullptr) {
        palette = scene_.skin->palette;
    } else {
        for (int i = 0; i < kPaletteColors; ++i)
            std::fill_n(palette.begin() + i * 3, 3, static_cast<std::uint8_t>(i));
    }
    background_ = background;
    return raster().SetTarget(rasterTarget(0, 0));
}

// A band of a target that is itself a band of a picture is a band of the
// picture: its rows are counted from the picture's.
RasterTarget RenderPass::rasterTarget(int first, int rows) const {
    const std::size_t skip = std::size_t(first) * std::size_t(target_.width);
    const auto at = [&](auto* plane) { return plane != nullptr ? plane + skip : nullptr; };
    if (target_.pictureHeight <= 0 && rows <= 0)
        return {target_.colour, nullptr, target_.depth, target_.pick, target_.width, target_.height};
    const int height = target_.pictureHeight > 0 ? target_.pictureHeight : target_.height;
    return {at(target_.colour), nullptr, at(target_.depth), at(target_.pick), target_.width, height,
            target_.pictureY + first, rows > 0 ? rows : target_.height};
}

void RenderPass::clear() {
    const std::size_t n = target_.pixelCount();
    if (target_.colour) std::fill_n(target_.colour, n, background_);
    if (target_.depth) std::fill_n(target_.depth, n, std::uint16_t{0xFFFF});
    if (target_.pick) std::fill_n(target_.pick, n, std::int32_t{-1});
}

RenderPass RenderPass::band(Rasterizer& raster, int first, int rows) const {
    RenderPass b(*this);
    b.raster_ = &raster;
    b.bandFirst_ = first;
    b.bandRows_ = rows;
    raster.SetTarget(rasterTarget(first, rows));
    return b;
}

void RenderPass::clearBand() {
    if (bandRows_ <= 0) return clear();
    const std::size_t skip = std::size_t(bandFirst_) * std::size_t(target_.width);
    const std::size_t n = std::size_t(bandRows_) * std::size_t(target_.width);
    if (target_.colour) std::fill_n(target_.colour + skip, n, background_);
    if (target_.depth) std::fill_n(target_.depth + skip, n, std::uint16_t{0xFFFF});
    if (target_.pick) std::fill_n(target_.pick + skip, n, std::int32_t{-1});
}

bool RenderPass::hasModel() const {
    const Mesh* mesh = scene_.mesh;
    return mesh != nullptr && mesh->currentPositions() != nullptr && camera_.dist > kNoDistance &&
           std::isfinite(camera_.dist);
}

void RenderPass::transform() {
    Mesh& m = mesh();
    const std::vector<Vec3f>& positions =
        scene_.framePositions ? *scene_.framePositions : m.frames[std::size_t(m.currentFrame)].positions;
    const std::size_t vertices = std::min({std::size_t(std::max<int>(m.vertexCount, 0)),
                                           positions.size(), target_.transformed.size()});
    for (std::size_t i = 0; i < vertices; ++i)
        target_.transformed[i] = camera_.apply(positions[i]);
    meshVertices_ = vertices;
    projectedReady_ = false;

    const std::size_t triangles = std::min(std::size_t(std::max<int>(m.triangleCount, 0)),
                                           m.triangles.size());
    drawable_.clear();
    for (std::size_t i = 0; i < triangles; ++i)
        if (indicesWithin(m.triangles[i].vertex, vertices))
            drawable_.push_back(static_cast<std::int16_t>(i));

    shown_.clear();
    if (scene_.companions == nullptr) return;
    int listIndex = 0;
    for (auto& owned : *scene_.companions) {
        Companion& c = *owned;
        const int at = listIndex++;
        if (!c.shownAt(m.currentFrame)) continue;
        const Vec3f* p = c.framePositions(m.currentFrame);
        if (p == nullptr) continue;
        c.computeFaceNormals(m.currentFrame);
        // The dialog's offsets move the model's x, y and z by Z, X and Y.
        const Vec3f offset{c.zOffset, c.xOffset, c.yOffset};
        c.cameraPositions.resize(std::size_t(c.vertexCount));
        for (std::size_t i = 0; i < c.cameraPositions.size(); ++i)
            c.cameraPositions[i] = camera_.apply(p[i], offset);
        c.visible.clear();
        shown_.push_back({&c, at});
    }
}

bool RenderPass::visibleCorners(const Vec3f& p0, const Vec3f& p1, const Vec3f& p2) {
    if (p0.z < kNearestFilledZ || p1.z < kNearestFilledZ || p2.z < kNearestFilledZ) return false;
    if (!(dot(p2, cross(p1, p0)) < 0.0f)) return false;
    for (const Vec3f* p : {&p0, &p1, &p2}) {
        zMin_ = std::min<double>(zMin_, p->z);
        zMax_ = std::max<double>(zMax_, p->z);
    }
    return true;
}

void RenderPass::reject() {
    visible_.clear();
    const Mesh& m = mesh();
    const Vec3f* cam = target_.transformed.data();
    for (const std::int16_t i : drawable_) {
        const Triangle& t = m.triangles[std::size_t(i)];
        if (t.flags & kTriHidden) continue;
        if (visibleCorners(cam[t.vertex[0]], cam[t.vertex[1]], cam[t.vertex[2]]))
            visible_.push_back(i);
    }
    for (const ShownCompanion& s : shown_) {
        Companion& c = *s.companion;
        for (std::size_t j = 0; j < c.triangles.size(); ++j) {
            const auto& v = c.triangles[j].vertex;
            const Vec3f* p = c.cameraPositions.data();
            if (visibleCorners(p[v[0]], p[v[1]], p[v[2]]))
                c.visible.push_back(static_cast<std::int16_t>(j));
        }
    }
    // All visible corners at one depth leave the scale at 0: one depth for all.
    depthScale_ = zMax_ > zMin_ ? kDepthSpan / (zMax_ - zMin_) : 0.0;
}

Fixed16 RenderPass::fillDepth(float z) const {
    const double d = (double(z) - zMin_) * depthScale_;
    return static_cast<Fixed16>(std::clamp(d, 0.0, kDepthSpan));
}

PixelCorner RenderPass::corner(const Vec3f& c) const {
    return {projection_.project(c), fillDepth(c.z)};
}

std::array<PixelCorner, 3> RenderPass::meshCorners(int index) const {
    const auto& v = scene_.mesh->triangles[std::size_t(index)].vertex;
    const Vec3f* cam = target_.transformed.data();
    return {corner(cam[v[0]]), corner(cam[v[1]]), corner(cam[v[2]])};
}

std::array<PixelCorner, 3> RenderPass::companionCorners(const Companion& c, int triangle) const {
    const auto& v = c.triangles[std::size_t(triangle)].vertex;
    const Vec3f* cam = c.cameraPositions.data();
    return {corner(cam[v[0]]), corner(cam[v[1]]), corner(cam[v[2]])};
}

void RenderPass::drawEdge(const Vec3f& a, const Vec3f& b, std::uint8_t colour,
                          std::optional<std::int32_t> key) {
    Segment3D s{toPoint(a), toPoint(b)};
    if (!Rasterizer::ClipNear(s)) return;
    const ScreenPoint p0 = projection_.project({s.p0.x, s.p0.y, s.p0.z});
    const ScreenPoint p1 = projection_.project({s.p1.x, s.p1.y, s.p1.z});
    drawSegment({p0.x, p0.y, p1.x, p1.y}, colour, key);
}

// The lines clip themselves to the target, to the same pixels a clip here
// would give, so a segment inside is not clipped twice.
void RenderPass::drawSegment(Segment2D segment, std::uint8_t colour, std::optional<std::int32_t> key) {
    if (key)
        raster().LineOnPick(segment, colour, *key);
    else
        raster().Line(segment, colour);
}

const std::vector<RenderPass::ProjectedVertex>& RenderPass::projectedMesh() {
    if (!projectedReady_) {
        projected_.resize(meshVertices_);
        const Vec3f* cam = target_.transformed.data();
        for (std::size_t i = 0; i < meshVertices_; ++i) {
            const Vec3f& c = cam[i];
            const bool direct = std::isfinite(c.x) && std::isfinite(c.y) && std::isfinite(c.z) && c.z >= kNearPlane;
            projected_[i] = {direct ? projection_.project(c) : ScreenPoint{}, direct};
        }
        projectedReady_ = true;
    }
    return projected_;
}

void RenderPass::drawTriangleEdges(const Vec3f* positions,
                                   const std::array<std::int16_t, 3>& vertex, std::uint8_t colour,
                                   std::optional<std::int32_t> key) {
    for (std::size_t k = 0; k < 3; ++k)
        drawVertexEdge(positions, std::size_t(vertex[k]), std::size_t(vertex[(k + 1) % 3]), colour, key);
}

void RenderPass::drawVertexEdge(const Vec3f* positions, std::size_t a, std::size_t b, std::uint8_t colour,
                                std::optional<std::int32_t> key) {
    if (positions == target_.transformed.data() && a < meshVertices_ && b < meshVertices_) {
        const std::vector<ProjectedVertex>& p = projectedMesh();
        if (p[a].direct && p[b].direct) return drawSegment({p[a].p.x, p[a].p.y, p[b].p.x, p[b].p.y}, colour, key);
    }
    drawEdge(positions[a], positions[b], colour, key);
}

}  // namespace tarn
