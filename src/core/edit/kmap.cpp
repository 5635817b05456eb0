#include "edit/kmap.h"

#include <cmath>
#include <cstring>
#include <limits>

#include "image/byte_view.h"

namespace tarn {

namespace {

constexpr char kMagic[4] = {'K', 'M', 'A', 'P'};

std::int16_t i16(const ByteView& v, std::size_t offset) { return static_cast<std::int16_t>(v.u16(offset)); }

void putI16(Bytes& out, std::int16_t v) { putU16(out, static_cast<std::uint16_t>(v)); }

}  // namespace

KmapParse ParseKmap(std::span<const std::uint8_t> bytes, int triangleCount, KmapVertCount vertCount) {
    KmapParse out;
    const ByteView v(bytes.data(), bytes.size());
    auto refuse = [&out](KmapRefusal why) {
        out.refusal = why;
        out.file.records.clear();
        return out;
    };
    if (!v.has(0, sizeof kMagic) || std::memcmp(v.at(0), kMagic, sizeof kMagic) != 0)
        return refuse(KmapRefusal::Invalid);
    if (!v.has(0, kKmapHeaderBytes)) return refuse(KmapRefusal::Invalid);
    const int count = i16(v, 4);
    if (count != triangleCount) return refuse(KmapRefusal::TriangleCount);
    out.file.mappingVertCount = i16(v, 6);
    out.file.width = i16(v, 8);
    out.file.height = i16(v, 10);
    // A size of zero or less would make every rescale a division by nothing.
    const bool countFits = out.file.mappingVertCount >= 0 && out.file.mappingVertCount <= kMaxMappingVerts;
    if ((vertCount == KmapVertCount::Used && !countFits) || out.file.width <= 0 || out.file.height <= 0)
        return refuse(KmapRefusal::Invalid);
    if (count < 0 || !v.has(kKmapHeaderBytes, std::uint64_t(count) * kKmapRecordBytes))
        return refuse(KmapRefusal::Invalid);
    out.file.records.resize(static_cast<std::size_t>(count));
    for (std::size_t i = 0; i < out.file.records.size(); ++i) {
        const std::size_t at = kKmapHeaderBytes + i * kKmapRecordBytes;
        KmapRecord& r = out.file.records[i];
        for (std::size_t k = 0; k < 3; ++k) {
            r.corner[k] = {i16(v, at + 4 * k), i16(v, at + 4 * k + 2)};
            r.mapping[k] = i16(v, at + 12 + 2 * k);
            r.vertex[k] = i16(v, at + 18 + 2 * k);
        }
    }
    return out;
}

Bytes EncodeKmap(const Mesh& mesh) {
    Bytes out;
    const int count = std::max<int>(mesh.triangleCount, 0);
    out.reserve(kKmapHeaderBytes + static_cast<std::size_t>(count) * kKmapRecordBytes);
    out.insert(out.end(), kMagic, kMagic + sizeof kMagic);
    putI16(out, mesh.triangleCount);
    putI16(out, mesh.mappingVertCount);
    putI16(out, mesh.skinWidth);
    putI16(out, mesh.skinHeight);
    for (int i = 0; i < count; ++i) {
        const Triangle& tri = mesh.triangles[static_cast<std::size_t>(i)];
        for (const MappingVert& c : tri.corner) {
            putI16(out, c.s);
            putI16(out, c.t);
        }
        for (std::int16_t m : tri.mapping) putI16(out, m);
        for (std::int16_t x : tri.vertex) putI16(out, x);
    }
    return out;
}

std::int16_t RescaleCoordinate(std::int16_t value, int from, int to) {
    if (from == to || from == 0) return value;
    const float scaled = std::trunc(static_cast<float>(value) * static_cast<float>(to) / static_cast<float>(from));
    constexpr float lo = std::numeric_limits<std::int16_t>::min();
    constexpr float hi = std::numeric_limits<std::int16_t>::max();
    if (!(scaled >= lo)) return std::numeric_limits<std::int16_t>::min();
    if (scaled > hi) return std::numeric_limits<std::int16_t>::max();
    return static_cast<std::int16_t>(scaled);
}

MappingVert RescaleVert(MappingVert v, int fromWidth, int fromHeight, int toWidth, int toHeight) {
    return {RescaleCoordinate(v.s, fromWidth, toWidth), RescaleCoordinate(v.t, fromHeight, toHeight)};
}

}  // namespace tarn
