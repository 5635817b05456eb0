#include "image/map_commands.h"

#include <memory>
#include <utility>

#include "image/skin_io.h"
#include "platform/dialogs.h"
#include "platform/fs.h"
#include "platform/refresh.h"
#include "platform/settings.h"
#include "platform/ui.h"

namespace tarn {

namespace {

// What differs between the two submenus.
struct MapCommandTexts {
    MapKind kind;
    const char* filter;
    int (*scan)(const std::string&, MapList&, Ui&, RefreshSink&);
};

constexpr MapCommandTexts kPhongTexts{MapKind::Phong, kPhongMapFilter, &ScanPhongMaps};
constexpr MapCommandTexts kEnvTexts{MapKind::Env, kEnvMapFilter, &ScanEnvMaps};

// The second filter of both dialogs is the PCX one.
constexpr int kPcxFilterIndex = 2;

// A PhongMap change re-derives everything that depends on the light response.
void afterPhongMapsChanged(RefreshSink& refresh) {
    refresh.rebuildLightTable();
    refresh.rebuildPhongShadeTable();
    refresh.rebuildPaintRemap();
}

// After Open or Close: everything is redrawn from the changed list.
void afterListChanged(MapKind kind, RefreshSink& refresh) {
    if (kind == MapKind::Phong) {
        afterPhongMapsChanged(refresh);
        refresh.refreshAll();
    } else {
        refresh.refreshAll();
        refresh.rebuildPaintRemap();
    }
}

// The image reader reports refused files itself but leaves a file that cannot
// be read to its caller.
std::unique_ptr<Skin> loadImage(const std::string& path, Ui& ui) {
    int readError = 0;
    auto image = LoadSkinImage(ui, path, nullptr, &readError);
    if (!image && readError != 0 && readRefusalMessage(path, readError).empty())
        ui.message(errorLoadingMessage(readError));
    return image;
}

bool openMap(MapList& list, MapCommandContext& c, const MapCommandTexts& texts) {
    FileDialogRequest request;
    request.filter = texts.filter;
    request.initialName = "*.bmp";
    request.mustExist = true;
    const auto chosen = askOpenPath(c.ui, c.settings, c.folders, request);
    if (!chosen) return false;
    const std::string path = appendExtensionIfNone(
        chosen->path, chosen->filterIndex == kPcxFilterIndex ? ".pcx" : ".bmp");

    auto map = LoadLightingMap(path, texts.kind, c.ui);
    if (!map) return false;
    list.append(std::move(map));
    list.choose(list.count() - 1);
    afterListChanged(list.kind(), c.refresh);
    return true;
}

bool closeMap(MapList& list, MapCommandContext& c) {
    if (!list.closeCurrent()) return false;
    afterListChanged(list.kind(), c.refresh);
    return true;
}

bool scanFolder(MapList& list, MapCommandContext& c, const MapCommandTexts& texts) {
    const auto folder = c.ui.browseFolder(kMapFolderTitle);
    if (!folder || !isUsableFolder(*folder)) {
        c.ui.message(kMsgMapFolderNotValid);
        return false;
    }
    return texts.scan(*folder, list, c.ui, c.refresh) > 0;
}

}  // namespace

std::unique_ptr<LightingMap> LoadLightingMap(const std::string& path, MapKind kind, Ui& ui) {
    std::unique_ptr<Skin> image = loadImage(path, ui);
    if (!image) return nullptr;
    auto map = makeLightingMap(std::move(*image), kind);
    if (!map) ui.message(kind == MapKind::Phong ? kMsgPhongMapWrongSize : kMsgEnvMapWrongSize);
    return map;
}

bool OpenPhongMap(MapList& phongMaps, MapCommandContext& context) {
    return openMap(phongMaps, context, kPhongTexts);
}
bool ClosePhongMap(MapList& phongMaps, MapCommandContext& context) {
    return closeMap(phongMaps, context);
}
bool ScanPhongMapFolder(MapList& phongMaps, MapCommandContext& context) {
    return scanFolder(phongMaps, context, kPhongTexts);
}

bool OpenEnvMap(MapList& envMaps, MapCommandContext& context) {
    return openMap(envMaps, context, kEnvTexts);
}
bool CloseEnvMap(MapList& envMaps, MapCommandContext& context) {
    return closeMap(envMaps, context);
}
bool ScanEnvMapFolder(MapList& envMaps, MapCommandContext& context) {
    return scanFolder(envMaps, context, kEnvTexts);
}

bool ChoosePhongMap(MapList& phongMaps, int index, RefreshSink& refresh) {
    if (!phongMaps.choose(index)) return false;
    afterPhongMapsChanged(refresh);
    refresh.refresh(kRedrawFull, kPanesSkinIsoPalette);
    return true;
}

bool ChooseEnvMap(MapList& envMaps, int index, RefreshSink& refresh) {
    if (!envMaps.choose(index)) return false;
    refresh.refresh(kRedrawFull, kPanesSkinIsoPalette);
    refresh.rebuildPaintRemap();
    return true;
}

void ScanMapFoldersAtStartup(const SettingsStore& settings, MapList& phongMaps,
                             MapList& envMaps, Ui& ui, RefreshSink& refresh) {
    const std::string phongPath = settings.getString(kPreferences, "Phong Path", kUnknown);
    if (phongPath != kUnknown) {
        ScanPhongMaps(phongPath, phongMaps, ui, refresh);
        if (!phongMaps.empty() && phongMaps.currentIndex() < 0) phongMaps.choose(0);
    }
    const std::string envPath = settings.getString(kPreferences, "Env Path", kUnknown);
    if (envPath != kUnknown) {
        ScanEnvMaps(envPath, envMaps, ui, refresh);
        if (!envMaps.empty() && envMaps.currentIndex() < 0) envMaps.choose(0);
    }
}

}  // namespace tarn
