#include "render/render_session.h"

#include "model/md2_commands.h"
#include "platform/fs.h"
#include "platform/game_files.h"
#include "platform/refresh.h"
#include "platform/settings.h"
#include "platform/ui.h"
#include "render/shading.h"

namespace tarn {

namespace {
constexpr int kDirScanNever = 1;
}  // namespace

RenderSession::RenderSession() { setSize(0, 0); }

void RenderSession::setSize(int width, int height) {
    frame.resize(width, height);
    target.colour = frame.colour();
    target.depth = frame.depth();
    target.pick = frame.pick();
    target.width = frame.width();
    target.height = frame.height();
}

void RenderSession::setCamera(const Vec3f& eye, const Vec3f& lookAt, float fieldOfView) {
    target.eye = eye;
    target.lookAt = lookAt;
    target.fieldOfView = fieldOfView;
}

void RenderSession::rebuildTables() {
    paint.updateLightTable();
    const Skin* skin = skins.current();
    paint.updatePaintRemap(skin ? &skin->palette : nullptr);
    lighting.shadeRamps =
        BuildShadeRamps(skin ? &skin->palette : nullptr, paint.colorSlots, paint.lightTable);
}

ModeResources RenderSession::resources() const {
    ModeResources r;
    r.skinLoaded = skins.current() != nullptr;
    r.phongMapLoaded = phongMap.pixels != nullptr;
    r.envMapLoaded = envMap.pixels != nullptr;
    const bool haveColormap = colormap != nullptr;
    r.colormapReadable = [haveColormap] { return haveColormap; };
    return r;
}

RenderScene RenderSession::scene() {
    RenderScene s;
    s.mesh = &mesh;
    s.skin = skins.current();
    s.companions = &companions;
    s.mappingMode = mappingMode;
    s.paint = &paint;
    s.lighting = &lighting;
    s.rasterizer = &rasterizer;
    s.phongMap = phongMap;
    s.phongShadeTable = phongShadeTable;
    s.envMap = envMap;
    s.colormap = colormap;
    return s;
}

void RenderSession::draw(int index) {
    RenderScene s = scene();
    modes.at(index).Draw(target, s);
}

bool loadSessionModel(RenderSession& session, const std::string& path,
                      const std::string& baseFolder, Ui& ui) {
    MemorySettings settings;
    // Headless: a model without skins names is shown as it is, no folder scan.
    settings.setInt(kPreferences, kDirScanPromptKey, kDirScanNever);
    RecordingRefresh refresh;
    Bytes sourceImage;
    std::string currentFile;
    Folders folders{baseFolder, baseFolder, baseFolder};
    MeshFileContext context{ui, settings, refresh, session.mesh, session.skins, sourceImage,
                            currentFile, folders, &session.companions};
    if (!LoadMesh(context, path)) return false;
    session.rebuildTables();
    return true;
}

bool addSessionCompanion(RenderSession& session, const std::string& path,
                         const std::string& baseFolder, Ui& ui) {
    const ReadResult file = readGamePath(ui, path).file;
    if (!file.ok()) {
        ui.message(withReadRefusal(kMsgLoadError, path, file.error));
        return false;
    }
    auto companion = LoadCompanion(file.bytes, path, baseFolder, ui);
    if (!companion) return false;
    if (!companion->hasSkin()) companion->giveCheckerboard();
    session.companions.push_back(std::move(companion));
    return true;
}

}  // namespace tarn
