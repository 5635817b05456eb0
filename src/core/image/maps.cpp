#include "image/maps.h"

#include <optional>
#include <string>
#include <utility>

#include "image/skin_io.h"
#include "platform/fs.h"
#include "platform/refresh.h"
#include "platform/ui.h"

namespace tarn {

void MapList::append(std::unique_ptr<LightingMap> map) {
    if (map) maps_.push_back(std::move(map));
}

bool MapList::choose(int index) {
    if (index < 0 || index >= count()) return false;
    current_ = index;
    return true;
}

bool MapList::closeCurrent() {
    if (current_ < 0) return false;
    maps_.erase(maps_.begin() + current_);
    if (maps_.empty())
        current_ = -1;
    else if (current_ >= count())
        current_ = count() - 1;
    return true;
}

std::vector<std::string> MapList::names() const {
    std::vector<std::string> out;
    out.reserve(maps_.size());
    for (const auto& map : maps_) out.push_back(map->image.name);
    return out;
}

std::unique_ptr<LightingMap> makeLightingMap(Skin image, MapKind kind) {
    if (image.width != kLightingMapSide || image.height != kLightingMapSide ||
        image.pixels.size() != std::size_t(kLightingMapTexels))
        return nullptr;
    auto map = std::make_unique<LightingMap>();
    map->image = std::move(image);
    Skin& skin = map->image;
    skin.external = true;
    skin.name = fileNameOf(skin.filePath.empty() ? skin.name : skin.filePath);
    if (kind == MapKind::Phong)
        for (auto& p : skin.pixels) p = static_cast<std::uint8_t>(p >> kPhongLevelShift);
    // Maps are never painted or reverted, so they keep no stored state.
    skin.backup.clear();
    skin.backup.shrink_to_fit();
    skin.buildRowTable();
    return map;
}

namespace {

// A scan reports only its overall result: whatever the image reader would
// say about a single file goes nowhere.
class SilentUi final : public Ui {
public:
    void message(const std::string&) override {}
    Answer ask(const std::string&, QuestionKind) override { return Answer::Cancel; }
    std::optional<FileDialogResult> openFile(const FileDialogRequest&) override { return {}; }
    std::optional<FileDialogResult> saveFile(const FileDialogRequest&) override { return {}; }
    std::optional<std::string> browseFolder(const std::string&) override { return {}; }
};

std::unique_ptr<LightingMap> readQuietly(const std::string& path, MapKind kind) {
    SilentUi silent;
    auto image = LoadSkinImage(silent, path);
    return image ? makeLightingMap(std::move(*image), kind) : nullptr;
}

int scanMaps(const std::string& folder, MapList& list, Ui& ui, RefreshSink& refresh,
             const char* noneFoundMessage) {
    int added = 0;
    for (const char* extension : {".pcx", ".bmp"}) {
        const std::vector<std::string> files = listFiles(folder, extension);
        for (const std::string& path : files) {
            auto map = readQuietly(path, list.kind());
            if (!map) continue;
            list.append(std::move(map));
            ++added;
        }
        if (!files.empty()) refresh.refreshAll();
    }
    if (added == 0) ui.message(noneFoundMessage);
    return added;
}

}  // namespace

int ScanPhongMaps(const std::string& folder, MapList& list, Ui& ui, RefreshSink& refresh) {
    return scanMaps(folder, list, ui, refresh, kMsgNoPhongMapsFound);
}

int ScanEnvMaps(const std::string& folder, MapList& list, Ui& ui, RefreshSink& refresh) {
    return scanMaps(folder, list, ui, refresh, kMsgNoEnvMapsFound);
}

}  // namespace tarn
