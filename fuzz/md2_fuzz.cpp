// The .md2 reader as Open runs it. A refused file leaves the Mesh, the skins
// and the kept file bytes exactly as they were, with a message; a file that
// loads is written back and read again, and every field the Mesh holds comes
// back the same.
#include <cstring>

#include "fuzz_support.h"
#include "model/md2_format.h"
#include "model/mesh_session.h"

namespace tarn::fuzz {
namespace {

struct Snapshot {
    Bytes source;
    int triangles, vertices, mappingVerts, skins, currentSkin;
    std::size_t frames;
    explicit Snapshot(const MeshSession& s)
        : source(s.sourceImage), triangles(s.mesh.triangleCount), vertices(s.mesh.vertexCount),
          mappingVerts(s.mesh.mappingVertCount), skins(s.skins.count()),
          currentSkin(s.skins.currentIndex()), frames(s.mesh.frames.size()) {}
    bool same(const MeshSession& s) const {
        return source == s.sourceImage && triangles == s.mesh.triangleCount &&
               vertices == s.mesh.vertexCount && mappingVerts == s.mesh.mappingVertCount &&
               skins == s.skins.count() && currentSkin == s.skins.currentIndex() &&
               frames == s.mesh.frames.size();
    }
};

void checkSameMesh(const Mesh& a, const Mesh& b) {
    TARN_FUZZ_CHECK(a.skinWidth == b.skinWidth && a.skinHeight == b.skinHeight);
    TARN_FUZZ_CHECK(a.vertexCount == b.vertexCount && a.triangleCount == b.triangleCount);
    TARN_FUZZ_CHECK(a.mappingVertCount == b.mappingVertCount);
    for (int i = 0; i < a.mappingVertCount; ++i) {
        const auto& p = a.mappingVerts[std::size_t(i)];
        const auto& q = b.mappingVerts[std::size_t(i)];
        TARN_FUZZ_CHECK(p.s == q.s && p.t == q.t);
    }
    for (int i = 0; i < a.triangleCount; ++i) {
        const Triangle& p = a.triangles[std::size_t(i)];
        const Triangle& q = b.triangles[std::size_t(i)];
        TARN_FUZZ_CHECK(p.vertex == q.vertex && p.mapping == q.mapping);
    }
    TARN_FUZZ_CHECK(a.frames.size() == b.frames.size());
    for (std::size_t f = 0; f < a.frames.size(); ++f) {
        TARN_FUZZ_CHECK(a.frames[f].name == b.frames[f].name);
        TARN_FUZZ_CHECK(a.frames[f].positions.size() == b.frames[f].positions.size());
        // Bitwise, so that NaN positions compare too; a frame of no vertices has no data to compare.
        TARN_FUZZ_CHECK(a.frames[f].positions.empty() ||
                        std::memcmp(a.frames[f].positions.data(), b.frames[f].positions.data(),
                                    a.frames[f].positions.size() * sizeof(Vec3f)) == 0);
    }
}

struct World {
    QuietUi quiet;
    MemorySettings settings;
    MeshSession session{quiet.ui, settings, joinPath(scratchFolder(), "baseq2")};
    std::string path = joinPath(scratchFolder(), "input.md2");
    World() { settings.setInt(kPreferences, kDirScanPromptKey, 1); }
};

}  // namespace
}  // namespace tarn::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarn;
    using namespace tarn::fuzz;
    static World w;
    const Bytes file = bytesOf(data, size);
    // A model whose skins are missing gets a temporary skin of the header's
    // size: a load in full only where that stays in proportion to the input.
    const Md2Parse parsed = parseMd2(file);
    if (parsed.ok()) {
        const Md2Header& h = parsed.contents.header;
        if (!proportionate(std::size_t(h.skinWidth) * std::size_t(h.skinHeight), size)) return 0;
    }
    if (!writeScratch(w.path, file)) return 0;
    const Snapshot before(w.session);
    const std::size_t shownBefore = w.quiet.shown();
    if (!LoadMesh(w.session.context, w.path)) {
        TARN_FUZZ_CHECK(w.quiet.shown() > shownBefore && w.quiet.allSaySomething(shownBefore));
        TARN_FUZZ_CHECK(before.same(w.session));
        TARN_FUZZ_CHECK(!parsed.ok());
        return 0;
    }
    const Mesh& mesh = w.session.mesh;
    TARN_FUZZ_CHECK(w.session.sourceImage == file);
    TARN_FUZZ_CHECK(w.session.skins.count() <= kMd2MaxSkins);
    for (int i = 0; i < w.session.skins.count(); ++i) {
        const Skin* skin = w.session.skins.at(i);
        TARN_FUZZ_CHECK(skin->width == mesh.skinWidth && skin->height == mesh.skinHeight);
        TARN_FUZZ_CHECK(skin->pixels.size() == skin->pixelCount());
    }
    for (int i = 0; i < mesh.triangleCount; ++i)
        for (int c = 0; c < 3; ++c) {
            const Triangle& t = mesh.triangles[std::size_t(i)];
            TARN_FUZZ_CHECK(t.vertex[std::size_t(c)] >= 0 && t.vertex[std::size_t(c)] < mesh.vertexCount);
            TARN_FUZZ_CHECK(t.mapping[std::size_t(c)] >= 0 && t.mapping[std::size_t(c)] < mesh.mappingVertCount);
        }

    const Md2Encode written = encodeMd2(mesh, linkedSkinNames(w.session.skins), w.session.sourceImage);
    TARN_FUZZ_CHECK(written.ok());
    Md2Parse again = parseMd2(written.bytes);
    TARN_FUZZ_CHECK(again.ok());
    std::vector<std::string> names = linkedSkinNames(w.session.skins);
    for (std::string& name : names)
        for (char& ch : name)
            if (ch == '\\') ch = '/';
    TARN_FUZZ_CHECK(again.contents.skinNames == names);
    static Mesh reread;
    applyMd2ToMesh(std::move(again.contents), reread);
    checkSameMesh(mesh, reread);
    return 0;
}
