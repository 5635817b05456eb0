// The companion reader. A refused file gives nothing and says why; a
// companion that loads holds tables that agree with its counts, so the render
// pipeline can index them without a check.
#include "fuzz_support.h"
#include "model/companion.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarn;
    using namespace tarn::fuzz;
    QuietUi quiet;
    const std::string base = joinPath(scratchFolder(), "baseq2");
    auto c = LoadCompanion(bytesOf(data, size), "companion.md2", base, quiet.ui);
    if (!c) {
        TARN_FUZZ_CHECK(quiet.shown() > 0 && quiet.allSaySomething());
        return 0;
    }
    TARN_FUZZ_CHECK(c->vertexCount >= 0 && c->frameCount >= 0 && c->skinWidth >= 0 && c->skinHeight >= 0);
    TARN_FUZZ_CHECK(c->positions.size() == std::size_t(c->vertexCount) * std::size_t(c->frameCount));
    TARN_FUZZ_CHECK(c->triangles.size() == std::size_t(c->triangleCount));
    TARN_FUZZ_CHECK(c->cameraPositions.size() == std::size_t(c->vertexCount));
    for (const CompanionTriangle& t : c->triangles)
        for (std::int16_t v : t.vertex) TARN_FUZZ_CHECK(v >= 0 && v < c->vertexCount);
    for (int f = 0; f < c->frameCount; ++f) {
        TARN_FUZZ_CHECK(c->framePositions(f) != nullptr || c->vertexCount == 0);
        c->computeFaceNormals(f);
    }
    TARN_FUZZ_CHECK(c->framePositions(c->frameCount) == nullptr);
    // Without a skin file below the base folder, the checkerboard stands in.
    c->giveCheckerboard();
    TARN_FUZZ_CHECK(c->skinPixels.size() == std::size_t(c->skinWidth) * std::size_t(c->skinHeight));
    TARN_FUZZ_CHECK(c->rowTable.size() == std::size_t(c->skinHeight));
    return 0;
}
