// The mapping file reader and the import that applies it. The file is parsed
// for the Triangle count its own header claims, so the fuzzer gets past that
// check. A refused import changes nothing; an accepted one leaves every
// Triangle naming MappingVerts inside the table, and writes back to a file
// that parses again with the same records. Read as Import to Selected and
// Retro-Map read it, its corners become a mapping and the re-bake between
// the two stays inside both images, whatever the corners.
#include <algorithm>
#include <cstring>
#include <vector>

#include "edit/mapping_file.h"
#include "edit/mapping_selection.h"
#include "edit/retro_map.h"
#include "edit/seam_padding.h"
#include "fuzz_support.h"

namespace {

// Reused from input to input: a Mesh holds tables of the format's full
// capacity, and building them afresh cost more than the rest of an input. The
// small skin keeps the re-bake's work in proportion to the input.
tarn::Mesh& meshOf(tarn::Mesh& mesh, int triangles) {
    std::fill(mesh.triangles.begin(), mesh.triangles.begin() + std::max(triangles, 0), tarn::Triangle{});
    std::fill(mesh.mappingVerts.begin(), mesh.mappingVerts.begin() + std::max<int>(mesh.mappingVertCount, 3),
              tarn::MappingVert{});
    mesh.triangleCount = static_cast<std::int16_t>(triangles);
    mesh.vertexCount = 300;
    mesh.skinWidth = 32;
    mesh.skinHeight = 24;
    mesh.mappingVertCount = 3;
    for (int i = 0; i < triangles; ++i) {
        tarn::Triangle& t = mesh.triangles[static_cast<std::size_t>(i)];
        t.vertex = {0, 1, 2};
        t.mapping = {0, 1, 2};
    }
    mesh.mappingVerts[1] = {5, 0};
    mesh.mappingVerts[2] = {0, 5};
    tarn::MergeMappingVerts(mesh);
    return mesh;
}

// The parts of a Mesh an import may change, as far as its counts reach.
struct MappingCopy {
    int vertCount = 0;
    std::vector<tarn::MappingVert> verts;
    std::vector<tarn::Triangle> triangles;
    explicit MappingCopy(const tarn::Mesh& m)
        : vertCount(m.mappingVertCount),
          verts(m.mappingVerts.begin(), m.mappingVerts.begin() + std::max(m.mappingVertCount, std::int16_t{0})),
          triangles(m.triangles.begin(), m.triangles.begin() + std::max(m.triangleCount, std::int16_t{0})) {}
    bool same(const MappingCopy& o) const {
        if (vertCount != o.vertCount || verts != o.verts || triangles.size() != o.triangles.size()) return false;
        for (std::size_t i = 0; i < triangles.size(); ++i) {
            const tarn::Triangle& s = triangles[i];
            const tarn::Triangle& t = o.triangles[i];
            if (s.mapping != t.mapping || s.vertex != t.vertex || s.corner != t.corner) return false;
        }
        return true;
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarn;
    std::int16_t claimed = 0;
    if (size >= 6) std::memcpy(&claimed, data + 4, sizeof claimed);
    if (claimed < 0 || claimed > kMaxTriangles) claimed = 1;
    const std::span<const std::uint8_t> bytes(data, size);
    const KmapParse loose = ParseKmap(bytes, claimed, KmapVertCount::Ignored);
    // A handful of Triangles: each may cover the whole skin.
    constexpr int kRebakeTriangles = 64;
    if (loose.ok() && claimed <= kRebakeTriangles) {
        static Mesh scratch;
        Mesh& mapped = meshOf(scratch, claimed);
        SelectAll(mapped);
        ApplyKmapToSelected(mapped, loose.file);
        auto old = makeBlankSkin(7, 5);
        const std::vector<std::uint8_t> pixels = RetroMapPixels(mapped, *old, loose.file, 3, kDefaultSeamPadding);
        TARN_FUZZ_CHECK(pixels.size() == std::size_t(mapped.skinWidth) * std::size_t(mapped.skinHeight));
        for (std::uint8_t p : pixels) TARN_FUZZ_CHECK(p == 0 || p == 3);  // the old skin is all 0
    }
    const KmapParse parsed = ParseKmap(bytes, claimed);
    if (!parsed.ok()) return 0;
    TARN_FUZZ_CHECK(parsed.file.records.size() == std::size_t(claimed));

    static Mesh held;
    Mesh& mesh = meshOf(held, claimed);
    const MappingCopy before(mesh);
    if (!ApplyKmapImport(mesh, parsed.file)) {
        TARN_FUZZ_CHECK(MappingCopy(mesh).same(before));
        return 0;
    }
    TARN_FUZZ_CHECK(mesh.mappingVertCount >= 0 && mesh.mappingVertCount <= kMaxMappingVerts);
    for (int i = 0; i < mesh.triangleCount; ++i)
        for (std::int16_t m : mesh.triangles[static_cast<std::size_t>(i)].mapping)
            TARN_FUZZ_CHECK(m >= 0 && m < mesh.mappingVertCount);
    const Bytes written = EncodeKmap(mesh);
    const KmapParse again = ParseKmap(written, claimed);
    TARN_FUZZ_CHECK(again.ok());
    TARN_FUZZ_CHECK(again.file.mappingVertCount == mesh.mappingVertCount);
    return 0;
}
