// The phong and environment map reader. The first input byte picks the kind,
// the rest is the file. A map that is refused says why; one that loads is
// 256 x 256, keeps no stored state, and a phong map's levels fit its shade
// rows.
#include <utility>

#include "fuzz_support.h"
#include "image/map_commands.h"
#include "image/maps.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarn;
    using namespace tarn::fuzz;
    if (size == 0) return 0;
    if (!proportionate(declaredPixels(data + 1, size - 1), size)) return 0;
    const MapKind kind = (data[0] & 1) ? MapKind::Env : MapKind::Phong;
    static const std::string path = joinPath(scratchFolder(), "map.bmp");
    if (!writeScratch(path, bytesOf(data + 1, size - 1))) return 0;
    QuietUi quiet;
    const auto map = LoadLightingMap(path, kind, quiet.ui);
    if (!map) {
        TARN_FUZZ_CHECK(quiet.shown() > 0 && quiet.allSaySomething());
        return 0;
    }
    TARN_FUZZ_CHECK(map->image.width == kLightingMapSide && map->image.height == kLightingMapSide);
    TARN_FUZZ_CHECK(map->image.pixels.size() == std::size_t(kLightingMapTexels));
    TARN_FUZZ_CHECK(map->image.backup.empty());
    if (kind == MapKind::Phong)
        for (std::uint8_t level : std::as_const(map->image.pixels)) TARN_FUZZ_CHECK(level <= (255 >> kPhongLevelShift));
    return 0;
}
