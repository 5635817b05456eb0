#pragma once
// The PhongMap and EnvMap lists: 256 x 256 8-bit images that light the
// phong-shaded modes and colour the environment-mapped mode. Each list keeps
// its maps in the order they were added and a current entry.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "image/skin.h"

namespace tarn {

class Ui;
class RefreshSink;

inline constexpr int kLightingMapSide = 256;
inline constexpr int kLightingMapTexels = kLightingMapSide * kLightingMapSide;
// PhongMaps keep a quarter of each grey level (0..63): the light levels of the
// 64 Colormap rows and of the 64-entry shading ramps.
inline constexpr int kPhongLevelShift = 2;

enum class MapKind { Phong, Env };

// One map. `image` is marked external and named by its file name alone; a
// PhongMap's pixels are already shifted down to 0..63.
struct LightingMap {
    Skin image;
    // PhongMaps only: the Colormap row of every texel for "Textured, P-Shade",
    // refreshed while that mode is current. Empty until first built.
    std::vector<std::uint8_t> shadeTable;
};

class MapList {
public:
    explicit MapList(MapKind kind) : kind_(kind) {}

    MapKind kind() const { return kind_; }
    int count() const { return static_cast<int>(maps_.size()); }
    bool empty() const { return maps_.empty(); }
    // -1 when no map is current (the list may still hold maps after a scan).
    int currentIndex() const { return current_; }
    LightingMap* current() { return current_ < 0 ? nullptr : maps_[std::size_t(current_)].get(); }
    const LightingMap* current() const {
        return current_ < 0 ? nullptr : maps_[std::size_t(current_)].get();
    }
    LightingMap& at(int index) { return *maps_.at(std::size_t(index)); }
    const LightingMap& at(int index) const { return *maps_.at(std::size_t(index)); }

    // Adds a map at the end; the current entry does not change.
    void append(std::unique_ptr<LightingMap> map);
    // Makes entry `index` current; false (and nothing changes) when out of range.
    bool choose(int index);
    // Removes the current map. The entry now at its position becomes current,
    // or the new last one when it was last; an emptied list has none.
    // False when there was no current map.
    bool closeCurrent();
    // The names shown in the P-Maps / E-Maps lists.
    std::vector<std::string> names() const;

private:
    MapKind kind_;
    std::vector<std::unique_ptr<LightingMap>> maps_;
    int current_ = -1;
};

// Turns a freshly read image into a map of `kind`: external, named by its file
// name, a PhongMap's pixels shifted down, no backup pixels kept. Returns null
// when the image is not 256 x 256.
std::unique_ptr<LightingMap> makeLightingMap(Skin image, MapKind kind);

// Adds every readable 256 x 256 PCX, then BMP, of `folder` to `list` (files of
// another size, unreadable or not images are skipped without a message) and
// returns how many were added. After each pass that found a file the panes are
// refreshed; when nothing was added the user is told. The current map does not
// change.
int ScanPhongMaps(const std::string& folder, MapList& list, Ui& ui, RefreshSink& refresh);
int ScanEnvMaps(const std::string& folder, MapList& list, Ui& ui, RefreshSink& refresh);

inline constexpr const char* kMsgNoPhongMapsFound =
    "There were no valid Phong Maps found at that location";
inline constexpr const char* kMsgNoEnvMapsFound =
    "There were no valid Environment Maps at that location";

}  // namespace tarn
