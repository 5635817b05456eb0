#include "edit/mapping_import.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>
#include <utility>

#include "edit/kmap.h"
#include "edit/rebake.h"
#include "edit/retro_map.h"
#include "edit/seam_padding.h"
#include "model/mapping_edit.h"
#include "platform/refresh.h"
#include "platform/settings.h"

namespace tarn {

namespace {

// A quarter turn or mirror of the axes: p[i] = sign[i] * q[axis[i]].
struct Orientation {
    std::array<int, 3> axis{0, 1, 2};
    std::array<float, 3> sign{1, 1, 1};
    Vec3f apply(const Vec3f& q) const {
        const float c[3] = {q.x, q.y, q.z};
        return {sign[0] * c[axis[0]], sign[1] * c[axis[1]], sign[2] * c[axis[2]]};
    }
};

// As they are, then back from y-up (what TARN's and most tools' glTF and OBJ
// writers make of z-up), then the other 46.
std::vector<Orientation> orientations() {
    std::vector<Orientation> out = {Orientation{}, Orientation{{0, 2, 1}, {1, -1, 1}}};
    std::array<int, 3> axis{0, 1, 2};
    do {
        for (int s = 0; s < 8; ++s) {
            const Orientation o{axis, {s & 1 ? -1.0f : 1.0f, s & 2 ? -1.0f : 1.0f, s & 4 ? -1.0f : 1.0f}};
            if (std::none_of(out.begin(), out.end(),
                             [&](const Orientation& e) { return e.axis == o.axis && e.sign == o.sign; }))
                out.push_back(o);
        }
    } while (std::next_permutation(axis.begin(), axis.end()));
    return out;
}

// The vertices of one Frame, found by position within a tolerance.
class VertexGrid {
public:
    VertexGrid(const std::vector<Vec3f>& positions, int count, float tolerance)
        : positions_(positions), tolerance_(tolerance) {
        for (int v = 0; v < count; ++v) cells_[key(cellOf(positions[std::size_t(v)]))].push_back(v);
    }

    // Appends every vertex within the tolerance of `p` to `out` (cleared first).
    void near(const Vec3f& p, std::vector<int>& out) const {
        out.clear();
        const std::array<long long, 3> c = cellOf(p);
        for (long long dx = -1; dx <= 1; ++dx)
            for (long long dy = -1; dy <= 1; ++dy)
                for (long long dz = -1; dz <= 1; ++dz) {
                    const auto it = cells_.find(key({c[0] + dx, c[1] + dy, c[2] + dz}));
                    if (it == cells_.end()) continue;
                    for (const int v : it->second) {
                        const Vec3f d = positions_[std::size_t(v)] - p;
                        if (dot(d, d) <= tolerance_ * tolerance_) out.push_back(v);
                    }
                }
    }

private:
    std::array<long long, 3> cellOf(const Vec3f& p) const {
        return {static_cast<long long>(std::floor(p.x / tolerance_)), static_cast<long long>(std::floor(p.y / tolerance_)),
                static_cast<long long>(std::floor(p.z / tolerance_))};
    }
    static std::uint64_t key(const std::array<long long, 3>& c) {
        std::uint64_t h = 1469598103934665603ull;
        for (const long long v : c) h = (h ^ static_cast<std::uint64_t>(v)) * 1099511628211ull;
        return h;
    }
    const std::vector<Vec3f>& positions_;
    float tolerance_;
    std::unordered_map<std::uint64_t, std::vector<int>> cells_;
};

// A small fraction of the model's size: far below the spacing of the
// format's packed positions, far above the rounding of any writer.
float toleranceOf(const std::vector<Vec3f>& positions, int count) {
    Vec3f lo{INFINITY, INFINITY, INFINITY}, hi{-INFINITY, -INFINITY, -INFINITY};
    for (int v = 0; v < count; ++v) {
        const Vec3f& p = positions[std::size_t(v)];
        lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
        hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
    }
    const Vec3f d = hi - lo;
    return std::max(1e-4f * std::sqrt(dot(d, d)), 1e-6f);
}

// The texel a texture coordinate falls in; nullopt when it is far outside.
// The skin is at most 32767 x 2048, so the texel fits 16 bits.
std::optional<MappingVert> texelOf(const ForeignUv& uv, int width, int height) {
    const double u = uv.u, t = 1.0 - static_cast<double>(uv.v);
    if (u < -kUvSlack || u > 1.0 + kUvSlack || t < -kUvSlack || t > 1.0 + kUvSlack) return std::nullopt;
    // Not clamped to the skin: the format's own coordinates may lie on its far
    // edge (s equal to the width), and such a corner must come back as it went.
    return MappingVert{static_cast<std::int16_t>(std::floor(u * width)), static_cast<std::int16_t>(std::floor(t * height))};
}

constexpr std::array<std::array<int, 3>, 6> kCornerOrders = {
    {{0, 1, 2}, {1, 2, 0}, {2, 0, 1}, {0, 2, 1}, {2, 1, 0}, {1, 0, 2}}};

struct Matcher {
    const Mesh& mesh;
    const VertexGrid& grid;
    std::vector<std::vector<int>> facesOf;  // per vertex, the Triangles using it

    // The unused Triangle whose corners lie at `at` (any order); the one whose
    // mapping already equals `texels` wins among faces lying on one another.
    // Fills `order` with the Triangle corner each file corner lands on.
    int find(const std::array<Vec3f, 3>& at, const std::array<MappingVert, 3>& texels,
             const std::vector<std::uint8_t>& used, std::array<int, 3>& order) const {
        std::array<std::vector<int>, 3> near;
        for (int k = 0; k < 3; ++k) grid.near(at[std::size_t(k)], near[std::size_t(k)]);
        int found = -1;
        for (const int v0 : near[0]) {
            for (const int f : facesOf[std::size_t(v0)]) {
                if (used[std::size_t(f)]) continue;
                const Triangle& tri = mesh.triangles[std::size_t(f)];
                for (const auto& o : kCornerOrders) {
                    bool fits = true;
                    for (int k = 0; k < 3 && fits; ++k) {
                        const auto& n = near[std::size_t(k)];
                        fits = std::find(n.begin(), n.end(), tri.vertex[std::size_t(o[std::size_t(k)])]) != n.end();
                    }
                    if (!fits) continue;
                    bool same = true;
                    for (int k = 0; k < 3; ++k)
                        same = same && tri.corner[std::size_t(o[std::size_t(k)])] == texels[std::size_t(k)];
                    if (found < 0 || same) {
                        found = f;
                        order = o;
                    }
                    if (same) return f;
                }
            }
        }
        return found;
    }
};

}  // namespace

ModelMapping MatchModelMapping(const Mesh& mesh, int frame, const ForeignModel& model) {
    ModelMapping out;
    const int triangles = std::max<int>(mesh.triangleCount, 0);
    out.corners.assign(std::size_t(triangles), {});
    out.matched.assign(std::size_t(triangles), 0);
    if (frame < 0 || std::size_t(frame) >= mesh.frames.size() || mesh.skinWidth <= 0 || mesh.skinHeight <= 0) {
        out.refusal = "The model has no frame " + std::to_string(frame) + " or no skin size to map onto.";
        return out;
    }
    const std::vector<Vec3f>& positions = mesh.frames[std::size_t(frame)].positions;
    const int vertices = std::min<int>(mesh.vertexCount, static_cast<int>(positions.size()));
    const VertexGrid grid(positions, vertices, toleranceOf(positions, vertices));

    // The orientation that lands the most corners on vertices, from a sample.
    const std::size_t step = std::max<std::size_t>(1, model.triangles.size() / 2048);
    Orientation best;
    std::size_t bestHits = 0;
    std::vector<int> near;
    for (const Orientation& o : orientations()) {
        std::size_t hits = 0;
        for (std::size_t i = 0; i < model.triangles.size(); i += step)
            for (const Vec3f& c : model.triangles[i].corner) {
                grid.near(o.apply(c), near);
                hits += near.empty() ? 0 : 1;
            }
        if (hits > bestHits) {
            best = o;
            bestHits = hits;
        }
    }

    Matcher matcher{mesh, grid, std::vector<std::vector<int>>(std::size_t(std::max(vertices, 0)))};
    for (int f = 0; f < triangles; ++f) {
        const Triangle& tri = mesh.triangles[std::size_t(f)];
        if (!std::all_of(tri.vertex.begin(), tri.vertex.end(), [&](std::int16_t v) { return v >= 0 && v < vertices; }))
            continue;
        for (std::size_t k = 0; k < 3; ++k)
            if (std::find(tri.vertex.begin(), tri.vertex.begin() + std::ptrdiff_t(k), tri.vertex[k]) ==
                tri.vertex.begin() + std::ptrdiff_t(k))
                matcher.facesOf[std::size_t(tri.vertex[k])].push_back(f);
    }
    int farOutside = 0, fileMatched = 0;
    for (const ForeignTriangle& t : model.triangles) {
        std::array<Vec3f, 3> at{};
        std::array<MappingVert, 3> texels{};
        bool inside = true;
        for (std::size_t k = 0; k < 3; ++k) {
            at[k] = best.apply(t.corner[k]);
            const auto texel = texelOf(t.uv[k], mesh.skinWidth, mesh.skinHeight);
            inside = inside && texel.has_value();
            if (texel) texels[k] = *texel;
        }
        std::array<int, 3> order{};
        const int f = matcher.find(at, texels, out.matched, order);
        if (f < 0) continue;
        ++fileMatched;
        if (!inside) {
            ++farOutside;
            continue;
        }
        out.matched[std::size_t(f)] = 1;
        for (std::size_t k = 0; k < 3; ++k) out.corners[std::size_t(f)][std::size_t(order[k])] = texels[k];
    }
    // A file most of whose triangles lie elsewhere is another model, not this one re-mapped.
    if (fileMatched == 0 || std::size_t(fileMatched) * 2 < model.triangles.size()) {
        out.refusal = std::string(kMsgForeignOtherGeometry) + "\n(" + std::to_string(fileMatched) + " of its " +
                      std::to_string(model.triangles.size()) + " triangles lie on the model in frame " +
                      std::to_string(frame) + ".)";
        return out;
    }
    if (farOutside > 0) {
        out.refusal = std::string(kMsgForeignUvOutside) + "\n(" + std::to_string(farOutside) + " triangles.)";
        return out;
    }
    for (int f = 0; f < triangles; ++f) {
        if (out.matched[std::size_t(f)]) ++out.matchedCount;
        else out.unmatched.push_back(f);
    }
    return out;
}

ModelMapping ReadModelMapping(const Mesh& mesh, int frame, const std::string& path) {
    const ForeignModel model = ReadForeignModel(path);
    if (!model.ok()) {
        ModelMapping refused;
        refused.refusal = model.error;
        return refused;
    }
    ModelMapping out = MatchModelMapping(mesh, frame, model);
    if (!out.ok()) out.refusal += "\n" + path;
    return out;
}

std::string unmatchedTrianglesMessage(const std::vector<int>& triangles) {
    if (triangles.empty()) return {};
    constexpr std::size_t kListed = 40;
    std::string list;
    for (std::size_t i = 0; i < std::min(triangles.size(), kListed); ++i)
        list += (list.empty() ? "" : ", ") + std::to_string(triangles[i]);
    if (triangles.size() > kListed) list += " and " + std::to_string(triangles.size() - kListed) + " more";
    return std::to_string(triangles.size()) + (triangles.size() == 1 ? " Triangle has" : " Triangles have") +
           " no match in the file and kept " + (triangles.size() == 1 ? "its" : "their") + " mapping: " + list + ".";
}

namespace {

// The mapping before the import as a mapping file of the skin size: what a
// re-bake starts from.
KmapFile mappingBefore(const Mesh& mesh, const ModelMapping& mapping) {
    KmapFile old;
    old.width = mesh.skinWidth;
    old.height = mesh.skinHeight;
    const std::size_t triangles = std::min(mapping.matched.size(), std::size_t(std::max<int>(mesh.triangleCount, 0)));
    old.records.resize(triangles);
    for (std::size_t f = 0; f < triangles; ++f) old.records[f].corner = mesh.triangles[f].corner;
    return old;
}

void writeMatchedCorners(Mesh& mesh, const ModelMapping& mapping) {
    StoreMapping(mesh);
    const std::size_t triangles = std::min(mapping.matched.size(), std::size_t(std::max<int>(mesh.triangleCount, 0)));
    for (std::size_t f = 0; f < triangles; ++f)
        if (mapping.matched[f]) mesh.triangles[f].corner = mapping.corners[f];
    RebuildMappingVerts(mesh);
}

bool ofSkinSize(const Mesh& mesh, const Skin& skin) {
    return skin.width == mesh.skinWidth && skin.height == mesh.skinHeight && skin.pixels.size() >= skin.pixelCount();
}

}  // namespace

std::vector<std::vector<std::uint8_t>> RebakeForModelMapping(Mesh mesh, const std::vector<const Skin*>& skins,
                                                             const ModelMapping& mapping, const SkinRebake& rebake,
                                                             Progress* progress) {
    const KmapFile old = mappingBefore(mesh, mapping);
    writeMatchedCorners(mesh, mapping);
    std::vector<std::vector<std::uint8_t>> out(skins.size());
    const auto n = static_cast<long long>(skins.size());
    for (std::size_t i = 0; i < skins.size(); ++i) {
        if (progress != nullptr && !progress->step(static_cast<long long>(i), n)) return {};
        if (ofSkinSize(mesh, *skins[i]))
            out[i] = RetroMapPixels(mesh, *skins[i], old, rebake.background, rebake.padding);
    }
    return out;
}

void ApplyModelMapping(Mesh& mesh, SkinList& skins, const ModelMapping& mapping,
                       std::vector<std::vector<std::uint8_t>> rebaked, History* history) {
    HistoryGroup group(history, kStepImportFromModel);
    {
        MappingEdit edit(history, mesh);
        writeMatchedCorners(mesh, mapping);
        edit.commit(kStepImportFromModel);
    }
    for (int i = 0; i < skins.count() && std::size_t(i) < rebaked.size(); ++i) {
        Skin& skin = *skins.at(i);
        if (rebaked[std::size_t(i)].empty()) continue;
        SkinEdit edit(history, skin);
        skin.pixels = std::move(rebaked[std::size_t(i)]);
        edit.commit(kStepImportFromModel);
    }
}

void ApplyModelMapping(Mesh& mesh, SkinList& skins, const ModelMapping& mapping,
                       const std::optional<SkinRebake>& rebake, History* history) {
    std::vector<std::vector<std::uint8_t>> rebaked;
    if (rebake) {
        std::vector<const Skin*> from;
        for (int i = 0; i < skins.count(); ++i) from.push_back(skins.at(i));
        rebaked = RebakeForModelMapping(CopyWithoutFrames(mesh), from, mapping, *rebake);
    }
    ApplyModelMapping(mesh, skins, mapping, std::move(rebaked), history);
}

void importMappingFromModelCommand(ModelMappingContext& c) {
    if (!c.mesh.loaded) return;
    FileDialogRequest request;
    request.filter = kForeignModelFilter;
    request.initialName = "*.obj";
    request.mustExist = true;
    request.title = kImportFromModelTitle;
    const auto chosen = askOpenPath(c.ui, c.settings, c.folders, request);
    if (!chosen) return;
    // Reading and matching a large file, and re-baking, run beside the window.
    ModelMapping mapping;
    if (!c.ui.runWithProgress(kStepImportFromModel, [&](Progress&) {
            mapping = ReadModelMapping(c.mesh, c.mesh.currentFrame, chosen->path);
        }))
        return;
    if (!mapping.ok()) {
        c.ui.message(mapping.refusal);
        return;
    }
    std::optional<SkinRebake> rebake;
    if (c.skins.count() > 0) {
        const Answer answer = c.ui.ask(kAskRebakeSkins, QuestionKind::YesNoCancel);
        if (answer == Answer::Cancel) return;
        if (answer == Answer::Yes)
            rebake = SkinRebake{c.background, std::clamp(c.settings.getInt(kProject, kKeyRetroMapPadding,
                                                                           kDefaultSeamPadding), 0, kMaxSeamPadding)};
    }
    std::vector<std::vector<std::uint8_t>> rebaked;
    if (rebake) {
        Mesh model = CopyWithoutFrames(c.mesh);
        std::vector<Skin> sources;
        for (int i = 0; i < c.skins.count(); ++i) sources.push_back(*c.skins.at(i));
        std::vector<const Skin*> from;
        for (const Skin& skin : sources) from.push_back(&skin);
        if (!c.ui.runWithProgress(kStepImportFromModel, [&](Progress& progress) {
                rebaked = RebakeForModelMapping(std::move(model), from, mapping, *rebake, &progress);
            }))
            return;
    }
    ApplyModelMapping(c.mesh, c.skins, mapping, std::move(rebaked), c.history);
    if (rebake) c.refresh.rebuildPaintRemap();
    c.refresh.refreshAll();
    if (!mapping.unmatched.empty()) c.ui.message(unmatchedTrianglesMessage(mapping.unmatched));
}

}  // namespace tarn
