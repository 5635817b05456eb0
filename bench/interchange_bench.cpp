// Out to other tools and back, on the real male player (198 frames, 608
// Triangles): the animated glTF built in memory, the OBJ of a frame, and the
// mapping read back from that OBJ through assimp and matched.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <sstream>

#include "edit/mapping_import.h"
#include "export/gltf_export.h"
#include "export/obj_export.h"
#include "model/game_folder.h"
#include "model/mesh_session.h"
#include "platform/batch_ui.h"

namespace {

struct Male {
    std::ostringstream log;
    tarn::BatchUi ui{log};
    tarn::MemorySettings settings;
    std::string path = std::string(TARN_REAL_TESTDATA) + "/q2-didux/baseq2/players/male/tris.md2";
    tarn::MeshSession session{ui, settings, tarn::defaultBaseFolder(path)};
    bool loaded = false;
    Male() {
        settings.setInt(tarn::kPreferences, tarn::kDirScanPromptKey, 1);
        loaded = tarn::LoadMesh(session.context, path);
    }
};

Male& male() {
    static Male m;
    return m;
}

void BM_GltfOfTheMalePlayer(benchmark::State& state) {
    Male& m = male();
    if (!m.loaded) return state.SkipWithError("no real test data");
    std::size_t bytes = 0;
    for (auto _ : state) bytes = tarn::encodeGltf(m.session.mesh, m.session.skins, m.session.sourceImage, {}).bytes.size();
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_GltfOfTheMalePlayer)->Unit(benchmark::kMillisecond);

void BM_ObjOfTheMalePlayer(benchmark::State& state) {
    Male& m = male();
    if (!m.loaded) return state.SkipWithError("no real test data");
    for (auto _ : state) benchmark::DoNotOptimize(tarn::encodeObj(m.session.mesh, 0, m.session.skins.current(), "m"));
}
BENCHMARK(BM_ObjOfTheMalePlayer)->Unit(benchmark::kMillisecond);

void BM_MappingFromTheMalePlayersObj(benchmark::State& state) {
    Male& m = male();
    if (!m.loaded) return state.SkipWithError("no real test data");
    const std::string obj = (std::filesystem::temp_directory_path() / "tarn_interchange_bench.obj").string();
    if (!tarn::SaveObj(m.session.mesh, 0, nullptr, obj).empty()) return state.SkipWithError("cannot write the OBJ");
    for (auto _ : state) benchmark::DoNotOptimize(tarn::ReadModelMapping(m.session.mesh, 0, obj).matchedCount);
    std::filesystem::remove(obj);
}
BENCHMARK(BM_MappingFromTheMalePlayersObj)->Unit(benchmark::kMillisecond);

}  // namespace
