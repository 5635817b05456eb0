#include "export/ssm_object.h"

#include <algorithm>

#include "image/byte_view.h"

namespace tarn {

namespace {

constexpr const char* kSsmMagic = "SSMO";
constexpr const char* kDefaultName = "Default";
constexpr const char* kLabelName = "Just Plain Empty";
constexpr std::uint8_t kFrameFlag = 1;
constexpr float kSecondsPerFrame = 0.1f;
// The two int16 values that follow the magic: a version and a reserved zero.
constexpr std::int16_t kSsmVersion = 1;

// A skin coordinate as a fraction of the skin side; a skin without size has
// no fractions to give, and nothing divides by zero.
float fraction(int coordinate, int side) {
    return side > 0 ? static_cast<float>(coordinate) / static_cast<float>(side) : 0.0f;
}

void putString(Bytes& out, const std::string& text) {
    putI16(out, static_cast<std::int16_t>(text.size()));
    out.insert(out.end(), text.begin(), text.end());
}

void putCount(Bytes& out, std::size_t count) { putI16(out, static_cast<std::int16_t>(count)); }

// Every record of the object begins with two int32 that the export leaves 0.
void putRecordStart(Bytes& out) {
    putI32(out, 0);
    putI32(out, 0);
}

void putNamePair(Bytes& out, const SsmNamePair& pair) {
    out.push_back(pair.kind);
    putString(out, pair.first);
    putString(out, pair.second);
}

void putTriangle(Bytes& out, const SsmTriangle& tri) {
    for (std::int16_t v : tri.vertex) putI16(out, v);
    putU16(out, 0);  // reserved
    for (float c : tri.uv) putF32(out, c);
    putI16(out, 0);
    putU16(out, 0);  // reserved
}

}  // namespace

SsmObject buildSsmObject(const Mesh& mesh) {
    SsmObject object;
    object.vertexCount = mesh.vertexCount;
    const int triangles = std::clamp<int>(mesh.triangleCount, 0, static_cast<int>(mesh.triangles.size()));
    for (int i = 0; i < triangles; ++i) {
        const Triangle& t = mesh.triangles[static_cast<std::size_t>(i)];
        SsmTriangle record;
        record.vertex = t.vertex;
        for (std::size_t c = 0; c < 3; ++c) {
            const auto m = static_cast<std::size_t>(std::clamp<int>(t.mapping[c], 0, kMaxMappingVerts - 1));
            const MappingVert& mv = mesh.mappingVerts[m];
            record.uv[2 * c] = fraction(mv.s, mesh.skinWidth);
            record.uv[2 * c + 1] = fraction(mv.t, mesh.skinHeight);
        }
        object.triangles.push_back(record);
    }
    const std::size_t vertices = static_cast<std::size_t>(std::max<int>(mesh.vertexCount, 0));
    SsmAnimation animation{kDefaultName, {}, {}};
    for (std::size_t f = 0; f < mesh.frames.size(); ++f) {
        SsmFrame frame{{kFrameFlag}, mesh.frames[f].positions};
        frame.positions.resize(vertices);
        object.frames.push_back(std::move(frame));
        animation.frames.push_back(static_cast<std::int16_t>(f));
        animation.times.push_back(kSecondsPerFrame);
    }
    object.animations.push_back(std::move(animation));
    object.namedLists.push_back({kDefaultName, {{kDefaultName, 0}}, {}});
    object.labels.push_back({kLabelName});
    return object;
}

Bytes encodeSsmObject(const SsmObject& o) {
    Bytes out(kSsmMagic, kSsmMagic + 4);
    putI16(out, kSsmVersion);
    putI16(out, 0);
    putI16(out, o.vertexCount);
    putCount(out, o.triangles.size());
    putCount(out, o.labels.size());
    putCount(out, o.frames.size());
    putCount(out, o.animations.size());
    putCount(out, o.namedLists.size());
    putCount(out, o.trailing.size());
    for (const SsmTriangle& tri : o.triangles) putTriangle(out, tri);
    for (const SsmLabel& label : o.labels) {
        putI32(out, 0);
        putString(out, label.name);
    }
    for (const SsmFrame& frame : o.frames) {
        putRecordStart(out);
        out.insert(out.end(), frame.flags.begin(), frame.flags.end());
        for (const Vec3f& p : frame.positions) {
            putF32(out, p.x);
            putF32(out, p.y);
            putF32(out, p.z);
        }
    }
    for (const SsmAnimation& a : o.animations) {
        putRecordStart(out);
        putCount(out, a.frames.size());
        putString(out, a.name);
        for (std::int16_t f : a.frames) putI16(out, f);
        for (float t : a.times) putF32(out, t);
    }
    for (const SsmNamedList& list : o.namedLists) {
        putRecordStart(out);
        putString(out, list.name);
        putCount(out, list.entries.size());
        for (const SsmListEntry& e : list.entries) {
            putI16(out, e.value);
            putString(out, e.name);
        }
        putCount(out, list.pairs.size());
        for (const SsmNamePair& pair : list.pairs) putNamePair(out, pair);
    }
    for (const SsmNamePair& pair : o.trailing) putNamePair(out, pair);
    return out;
}

}  // namespace tarn
