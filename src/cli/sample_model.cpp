#include "sample_model.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <map>
#include <numbers>

#include "image/byte_view.h"
#include "model/mesh.h"

namespace tarn::cli::sample {

namespace {

constexpr int kIslandGap = 2;  // keeps texture filtering from bleeding between islands
constexpr int kMaxPackedByte = 255;
constexpr std::int32_t kSampleVersion = 8;

}  // namespace

Xf Xf::operator*(const Xf& inner) const {
    Xf out;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) {
            float sum = 0.0f;
            for (int k = 0; k < 3; ++k)
                sum += m[static_cast<std::size_t>(r * 3 + k)] * inner.m[static_cast<std::size_t>(k * 3 + c)];
            out.m[static_cast<std::size_t>(r * 3 + c)] = sum;
        }
    out.t = apply(inner.t);
    return out;
}

Xf translate(float x, float y, float z) {
    Xf out;
    out.t = {x, y, z};
    return out;
}

Xf rotateX(float a) {
    Xf out;
    out.m = {1, 0, 0, 0, std::cos(a), -std::sin(a), 0, std::sin(a), std::cos(a)};
    return out;
}

Xf rotateY(float a) {
    Xf out;
    out.m = {std::cos(a), 0, std::sin(a), 0, 1, 0, -std::sin(a), 0, std::cos(a)};
    return out;
}

Xf rotateZ(float a) {
    Xf out;
    out.m = {std::cos(a), -std::sin(a), 0, std::sin(a), std::cos(a), 0, 0, 0, 1};
    return out;
}

int ModelBuilder::addIsland(int w, int h, IslandPainter painter) {
    islands_.push_back({w, h, {}, std::move(painter)});
    return static_cast<int>(islands_.size()) - 1;
}

int ModelBuilder::addVertex(const Vec3f& local, int bone) {
    local_.push_back(local);
    bone_.push_back(bone);
    return static_cast<int>(local_.size()) - 1;
}

int ModelBuilder::addCoord(int island, float u, float v) {
    pending_.push_back({island, u, v});
    return static_cast<int>(pending_.size()) - 1;
}

void ModelBuilder::addTriangle(std::array<int, 3> v, std::array<int, 3> st, const Vec3f& outward) {
    const Vec3f& p0 = local_[static_cast<std::size_t>(v[0])];
    const Vec3f& p1 = local_[static_cast<std::size_t>(v[1])];
    const Vec3f& p2 = local_[static_cast<std::size_t>(v[2])];
    // Game models wind their faces so that (p1 - p0) x (p2 - p1) points into
    // the solid; the sample follows them so it lights like they do.
    if (dot(cross(p1 - p0, p2 - p1), outward) > 0.0f) {
        std::swap(v[1], v[2]);
        std::swap(st[1], st[2]);
    }
    Md2Triangle tri;
    for (std::size_t c = 0; c < 3; ++c) {
        tri.vertex[c] = static_cast<std::int16_t>(v[c]);
        tri.skinCoord[c] = static_cast<std::int16_t>(st[c]);
    }
    triangles_.push_back(tri);
}

void ModelBuilder::addLathe(const LatheShape& shape, const LatheIslands& islands, int bone) {
    const auto rings = shape.rings.size();
    const auto segments = static_cast<std::size_t>(shape.segments);
    const float twoPi = 2.0f * std::numbers::pi_v<float>;
    auto angle = [&](std::size_t j) {
        return std::numbers::pi_v<float> + twoPi * static_cast<float>(j) / static_cast<float>(segments);
    };

    // The side is unwrapped by arc length along the profile.
    std::vector<float> along(rings, 0.0f);
    for (std::size_t i = 1; i < rings; ++i) {
        const float dz = shape.rings[i].z - shape.rings[i - 1].z;
        const float dr = shape.rings[i].r - shape.rings[i - 1].r;
        along[i] = along[i - 1] + std::sqrt(dz * dz + dr * dr);
    }
    const float length = along.back() > 0.0f ? along.back() : 1.0f;

    std::vector<std::vector<int>> vertex(rings, std::vector<int>(segments));
    std::vector<std::vector<int>> coord(rings, std::vector<int>(segments + 1));
    for (std::size_t i = 0; i < rings; ++i) {
        const Ring& ring = shape.rings[i];
        for (std::size_t j = 0; j <= segments; ++j) {
            if (j < segments)
                vertex[i][j] = addVertex({shape.offsetX + ring.r * shape.scaleX * std::cos(angle(j)),
                                          ring.r * shape.scaleY * std::sin(angle(j)), ring.z},
                                         bone);
            coord[i][j] = addCoord(islands.side, static_cast<float>(j) / static_cast<float>(segments),
                                   along[i] / length);
        }
    }
    for (std::size_t i = 0; i + 1 < rings; ++i) {
        for (std::size_t j = 0; j < segments; ++j) {
            const std::size_t k = (j + 1) % segments;
            const float mid = (angle(j) + angle(j + 1)) * 0.5f;
            const Vec3f out{std::cos(mid), std::sin(mid), 0.0f};
            addTriangle({vertex[i][j], vertex[i][k], vertex[i + 1][j]}, {coord[i][j], coord[i][j + 1], coord[i + 1][j]},
                        out);
            addTriangle({vertex[i][k], vertex[i + 1][k], vertex[i + 1][j]},
                        {coord[i][j + 1], coord[i + 1][j + 1], coord[i + 1][j]}, out);
        }
    }

    auto cap = [&](std::size_t i, int island, float facing) {
        const int centre = addVertex({shape.offsetX, 0.0f, shape.rings[i].z}, bone);
        const int centreCoord = addCoord(island, 0.5f, 0.5f);
        std::vector<int> rim(segments);
        for (std::size_t j = 0; j < segments; ++j)
            rim[j] = addCoord(island, 0.5f + 0.5f * std::cos(angle(j)), 0.5f + 0.5f * facing * std::sin(angle(j)));
        for (std::size_t j = 0; j < segments; ++j) {
            const std::size_t k = (j + 1) % segments;
            addTriangle({centre, vertex[i][j], vertex[i][k]}, {centreCoord, rim[j], rim[k]}, {0.0f, 0.0f, facing});
        }
    };
    if (shape.capTop && islands.top >= 0) cap(0, islands.top, 1.0f);
    if (shape.capBottom && islands.bottom >= 0) cap(rings - 1, islands.bottom, -1.0f);
}

bool ModelBuilder::packIslands() {
    std::vector<std::size_t> order(islands_.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return islands_[a].h > islands_[b].h; });
    int x = kIslandGap / 2, y = kIslandGap / 2, shelf = 0;
    for (std::size_t i : order) {
        Island& island = islands_[i];
        if (x + island.w > skinWidth_) {
            x = kIslandGap / 2;
            y += shelf + kIslandGap;
            shelf = 0;
        }
        if (x + island.w > skinWidth_ || y + island.h > skinHeight_) return false;
        island.at = {x, y, island.w, island.h};
        x += island.w + kIslandGap;
        shelf = std::max(shelf, island.h);
    }

    // Corners that land on the same pixel share one skin coordinate.
    std::map<std::pair<int, int>, int> indexOf;
    std::vector<int> remap(pending_.size());
    skinCoords_.clear();
    for (std::size_t p = 0; p < pending_.size(); ++p) {
        const PendingCoord& c = pending_[p];
        const Rect& r = islands_[static_cast<std::size_t>(c.island)].at;
        const int s = r.x + static_cast<int>(std::lround(c.u * static_cast<float>(r.w - 1)));
        const int t = r.y + static_cast<int>(std::lround(c.v * static_cast<float>(r.h - 1)));
        auto [it, added] = indexOf.try_emplace({s, t}, static_cast<int>(skinCoords_.size()));
        if (added) skinCoords_.push_back({static_cast<std::int16_t>(s), static_cast<std::int16_t>(t)});
        remap[p] = it->second;
    }
    for (Md2Triangle& tri : triangles_)
        for (auto& st : tri.skinCoord) st = static_cast<std::int16_t>(remap[static_cast<std::size_t>(st)]);
    pending_.clear();
    return true;
}

Bytes ModelBuilder::paintSkin() const {
    constexpr std::uint8_t kBackground = 2;  // near black, between the islands
    Bytes pixels(static_cast<std::size_t>(skinWidth_ * skinHeight_), kBackground);
    for (const Island& island : islands_) {
        const Rect& r = island.at;
        for (int y = 0; y < r.h; ++y)
            for (int x = 0; x < r.w; ++x)
                pixels[static_cast<std::size_t>((r.y + y) * skinWidth_ + r.x + x)] = island.painter(x, y, r.w, r.h);
    }
    return pixels;
}

std::vector<Vec3f> ModelBuilder::pose(const std::vector<Xf>& bones) const {
    std::vector<Vec3f> out(local_.size());
    for (std::size_t i = 0; i < local_.size(); ++i)
        out[i] = bones[static_cast<std::size_t>(bone_[i])].apply(local_[i]);
    return out;
}

Bytes encodeSampleMd2(const SampleModel& model, const std::vector<std::string>& skinNames) {
    const auto vertices = model.frames.empty() ? std::size_t{0} : model.frames[0].size();
    Bytes source(kMd2HeaderSize, 0);
    std::memcpy(source.data(), kMd2Magic, sizeof kMd2Magic);
    auto put = [&](std::size_t offset, std::int32_t v) {
        for (std::size_t i = 0; i < 4; ++i)
            source[offset + i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) >> (8 * i));
    };
    put(kMd2OfsVersion, kSampleVersion);
    put(kMd2OfsNumVertices, static_cast<std::int32_t>(vertices));
    put(kMd2OfsNumFrames, static_cast<std::int32_t>(model.frames.size()));
    put(kMd2OfsFrameSize, static_cast<std::int32_t>(md2FrameBytes(static_cast<int>(vertices))));
    put(kMd2OfsOffsetFrames, static_cast<std::int32_t>(kMd2HeaderSize));

    Mesh mesh;
    for (std::size_t f = 0; f < model.frames.size(); ++f) {
        const std::vector<Vec3f>& positions = model.frames[f];
        Vec3f lo = positions[0], hi = positions[0];
        for (const Vec3f& p : positions) {
            lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
            hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
        }
        auto step = [](float a, float b) { return b > a ? (b - a) / kMaxPackedByte : 1.0f; };
        const Vec3f scale{step(lo.x, hi.x), step(lo.y, hi.y), step(lo.z, hi.z)};
        for (float v : {scale.x, scale.y, scale.z, lo.x, lo.y, lo.z}) putU32(source, std::bit_cast<std::uint32_t>(v));
        char name[kMd2FrameNameSize] = {};
        std::memcpy(name, model.frameNames[f].data(), std::min(model.frameNames[f].size(), kMd2FrameNameSize));
        source.insert(source.end(), name, name + kMd2FrameNameSize);
        auto pack = [](float p, float origin, float s) {
            return static_cast<std::uint8_t>(std::clamp<long>(std::lround((p - origin) / s), 0, kMaxPackedByte));
        };
        for (const Vec3f& p : positions) {
            // Normal indices are left 0: TARN lights from face normals.
            source.insert(source.end(), {pack(p.x, lo.x, scale.x), pack(p.y, lo.y, scale.y), pack(p.z, lo.z, scale.z), 0});
        }
        mesh.frames.push_back({model.frameNames[f], positions});
    }

    mesh.vertexCount = static_cast<std::int16_t>(vertices);
    mesh.skinWidth = static_cast<std::int16_t>(model.skinWidth);
    mesh.skinHeight = static_cast<std::int16_t>(model.skinHeight);
    mesh.mappingVertCount = static_cast<std::int16_t>(model.skinCoords.size());
    std::copy(model.skinCoords.begin(), model.skinCoords.end(), mesh.mappingVerts.begin());
    mesh.triangleCount = static_cast<std::int16_t>(model.triangles.size());
    for (std::size_t i = 0; i < model.triangles.size(); ++i) {
        mesh.triangles[i].vertex = model.triangles[i].vertex;
        mesh.triangles[i].mapping = model.triangles[i].skinCoord;
    }
    // Numbered as a load numbers them, so a load and save give the same file.
    MergeMappingVerts(mesh);
    return encodeMd2(mesh, skinNames, source).bytes;
}

}  // namespace tarn::cli::sample
