// The mapping file reader and the import that applies it. The file is parsed
// for the Triangle count its own header claims, so the fuzzer gets past that
// check. A refused import changes nothing; an accepted one leaves every
// Triangle naming MappingVerts inside the table, and writes back to a file
// that parses again with the same records. Read as Import to Selected and
// Retro-Map read it, its corners become a mapping and the re-bake between
// the two stays inside both images, whatever the corners.
#include <cstring>

#include "edit/mapping_file.h"
#include "edit/mapping_selection.h"
#include "edit/retro_map.h"
#include "edit/seam_padding.h"
#include "fuzz_support.h"

namespace {

tarn::Mesh meshOf(int triangles) {
    tarn::Mesh mesh;
    mesh.triangleCount = static_cast<std::int16_t>(triangles);
    mesh.vertexCount = 300;
    mesh.skinWidth = 128;
    mesh.skinHeight = 96;
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

bool sameMapping(const tarn::Mesh& a, const tarn::Mesh& b) {
    if (a.mappingVertCount != b.mappingVertCount || a.mappingVerts != b.mappingVerts) return false;
    for (int i = 0; i < a.triangleCount; ++i) {
        const tarn::Triangle& s = a.triangles[static_cast<std::size_t>(i)];
        const tarn::Triangle& t = b.triangles[static_cast<std::size_t>(i)];
        if (s.mapping != t.mapping || s.vertex != t.vertex || s.corner != t.corner) return false;
    }
    return true;
}

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
        Mesh mapped = meshOf(claimed);
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

    Mesh mesh = meshOf(claimed);
    const Mesh before = mesh;
    if (!ApplyKmapImport(mesh, parsed.file)) {
        TARN_FUZZ_CHECK(sameMapping(mesh, before));
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
