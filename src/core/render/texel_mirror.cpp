#include "render/texel_mirror.h"

#include <algorithm>
#include <cmath>

namespace tarn {

TexelMirror lineTexelMirror(const SkinMirrorLine& line, int width, int height) {
    return [line, width, height](std::int32_t texel) -> std::int32_t {
        if (texel < 0 || width <= 0 || texel >= width * height) return -1;
        int x = texel % width, y = texel / width;
        // The texel's centre, mirrored, names the texel it falls in.
        int& v = line.vertical ? x : y;
        v = static_cast<int>(std::floor(line.flip(v + 0.5)));
        if (x < 0 || x >= width || y < 0 || y >= height) return -1;
        return y * width + x;
    };
}

SurfaceTexelMirror::SurfaceTexelMirror(const Mesh& mesh, const SymmetrySetting& symmetry, int width, int height)
    : mesh_(mesh), mirror_(mirrorOf(mesh, symmetry)), width_(width), height_(height) {
    const std::size_t texels = std::size_t(std::max(width, 0)) * std::size_t(std::max(height, 0));
    owner_.assign(texels, SurfacePoint{});
    answer_.assign(texels, -2);
    const int triangles = std::clamp<int>(mesh.triangleCount, 0, static_cast<int>(mesh.triangles.size()));
    for (int t = 0; t < triangles; ++t) {
        double s[3], u[3];
        for (int k = 0; k < 3; ++k) {
            const std::int16_t i = mesh.triangles[std::size_t(t)].mapping[std::size_t(k)];
            const bool valid = i >= 0 && i < mesh.mappingVertCount;
            s[k] = valid ? mesh.mappingVerts[std::size_t(i)].s : 0.0;
            u[k] = valid ? mesh.mappingVerts[std::size_t(i)].t : 0.0;
        }
        const double area = (s[1] - s[0]) * (u[2] - u[0]) - (s[2] - s[0]) * (u[1] - u[0]);
        if (area == 0.0) continue;
        const int x0 = std::max(0, int(std::floor(std::min({s[0], s[1], s[2]}))));
        const int x1 = std::min(width - 1, int(std::ceil(std::max({s[0], s[1], s[2]}))));
        const int y0 = std::max(0, int(std::floor(std::min({u[0], u[1], u[2]}))));
        const int y1 = std::min(height - 1, int(std::ceil(std::max({u[0], u[1], u[2]}))));
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) {
                SurfacePoint& owner = owner_[std::size_t(y) * std::size_t(width) + std::size_t(x)];
                if (owner.triangle >= 0) continue;
                const double px = x + 0.5, py = y + 0.5;
                const double w1 = ((px - s[0]) * (u[2] - u[0]) - (s[2] - s[0]) * (py - u[0])) / area;
                const double w2 = ((s[1] - s[0]) * (py - u[0]) - (px - s[0]) * (u[1] - u[0])) / area;
                const double w0 = 1.0 - w1 - w2;
                if (w0 < 0.0 || w1 < 0.0 || w2 < 0.0) continue;
                owner = {t, {float(w0), float(w1), float(w2)}};
            }
    }
}

std::int32_t SurfaceTexelMirror::operator()(std::int32_t texel) {
    if (texel < 0 || std::size_t(texel) >= answer_.size()) return -1;
    std::int32_t& answer = answer_[std::size_t(texel)];
    if (answer != -2) return answer;
    answer = -1;
    const SurfacePoint& owner = owner_[std::size_t(texel)];
    if (owner.triangle < 0) return answer;
    const auto m = mirror_.of(owner);
    if (!m) return answer;
    double s = 0.0, u = 0.0;
    if (!mappingAt(mesh_, *m, s, u)) return answer;
    // A mirror the mapping puts off the skin paints nothing.
    const double x = std::floor(s), y = std::floor(u);
    if (x < 0.0 || y < 0.0 || x >= width_ || y >= height_) return answer;
    answer = int(y) * width_ + int(x);
    return answer;
}

TexelMirror surfaceTexelMirror(const Mesh& mesh, const SymmetrySetting& symmetry, int width, int height) {
    if (symmetry.frame < 0 || symmetry.frame >= static_cast<int>(mesh.frames.size())) return {};
    auto mirror = std::make_shared<SurfaceTexelMirror>(mesh, symmetry, width, height);
    return [mirror](std::int32_t texel) { return (*mirror)(texel); };
}

}  // namespace tarn
