#include "app/application.h"

#include <new>

#include "app/about.h"
#include "app/command_ids.h"
#include "edit/layout_export.h"
#include "export/export_commands.h"
#include "image/map_commands.h"
#include "image/skin_io.h"
#include "paint/color_commands.h"
#include "platform/game_files.h"
#include "platform/refresh.h"
#include "render/companion_commands.h"
#include "render/maps_inputs.h"
#include "render/phong_shade.h"
#include "render/shading.h"

namespace tarn {

namespace {

constexpr const char* kModifiedMark = " *";
constexpr const char* kMsgNoPakModels = "There are no models in the PAK files of the base folder.";

// A command that works on a context made afresh by `make` at each run: the
// lists, folders and sizes it refers to may have changed since the binding.
template <typename Make, typename Command>
auto onFreshContext(Make make, Command command) {
    return [make, command] {
        auto context = make();
        command(context);
    };
}

}  // namespace

Application::Application(Ui& ui, SettingsStore& settings, RefreshSink& refresh)
    : ui_(&ui), settings_(settings), refresh_(refresh) {
    paint.colorSlots.load(settings_);
    paint.tip.load(settings_);
    paint.pressureSetsStrength = settings_.getInt(kPreferences, kPressureStrengthKey, 0) != 0;
    recentFiles.load(settings_);
    bindCommands();
    commands_.onOutOfMemory([this] { ui_->message(kMsgOutOfMemory); });
    modeAvailable_ = !currentModeLost();
}

void Application::bindCommands() {
    bindOptionCommands();
    bindPaintCommands();
    bindMapCommands();
    bindMappingCommands();
    bindSkinCommands();
    bindSkinEditCommands();
    bindFileCommands();
    bindCompanionCommands();
    bindMappingFileCommands();
    bindPreviewCommands();
    bindEditCommands();
    bindMirrorCommands();
    bindHelpCommands();
    bindBrushCommands();
    bindSelectionCommands();
}

void Application::bindEditCommands() {
    // A step may have changed any skin, its palette or size, the list or the
    // mapping: everything that shows them is redrawn.
    auto afterStep = [this] {
        refresh_.refreshAll();
        rebuildSkinTables(refresh_);
    };
    commands_.bind(cmd::kUndo, [this, afterStep] {
        if (history.undo()) afterStep();
    });
    commands_.bind(cmd::kRedo, [this, afterStep] {
        if (history.redo()) afterStep();
    });
}

void Application::bindCompanionCommands() {
    auto companionCommand = [this](auto command) {
        return onFreshContext(
            [this] { return CompanionContext{*ui_, settings_, refresh_, folders, mesh, companions, companionIndex}; },
            command);
    };
    commands_.bind(cmd::kCompanionOpen, companionCommand(openCompanion));
    commands_.bind(cmd::kCompanionClose, companionCommand(closeCompanion));
    commands_.bind(cmd::kCompanionLoadSkin, companionCommand(loadCompanionSkin));
    commands_.bind(cmd::kCompanionHide, companionCommand(toggleCompanionHidden));
    commands_.bind(cmd::kCompanionOffset, companionCommand(offsetCompanion));
}

void Application::bindFileCommands() {
    commands_.bind(cmd::kPreferences, [this] {
        runPreferences(*ui_, settings_, preferenceDefaults, palOnTopChanged);
        paint.pressureSetsStrength = settings_.getInt(kPreferences, kPressureStrengthKey, 0) != 0;
    });
    commands_.bind(cmd::kAbout, [this] { ui_->aboutStatistics(aboutRows(mesh, skins)); });
    commands_.bind(cmd::kOpen, [this] {
        if (!confirmDiscardSkins(*ui_, modifiedSkins())) {
            refresh_.refreshAll();
            return;
        }
        MeshFileContext c = meshContext();
        if (openMesh(c)) {
            noteRecentFile();
            offerPlayerWeapon();
        }
    });
    commands_.bind(cmd::kOpenFromPak, [this] { openFromPak(); });
    for (int id = cmd::kRecentFile1; id <= cmd::kRecentFile4; ++id)
        commands_.bind(id, [this, id] { openRecentFile(id - cmd::kRecentFile1); });
    const auto context = [this] { return meshContext(); };
    commands_.bind(cmd::kSave, onFreshContext(context, saveMeshCommand));
    commands_.bind(cmd::kSaveAs, [this] {
        MeshFileContext c = meshContext();
        if (saveMeshAs(c)) noteRecentFile();
    });
    const auto exportContext = [this] {
        return ExportContext{*ui_, settings_, folders, mesh, &skins, &sourceImage, player.rate(), !interpolateFrames,
                             currentFile};
    };
    commands_.bind(cmd::kExportSsm, onFreshContext(exportContext, ExportSsmObject));
    commands_.bind(cmd::kExportDh2, onFreshContext(exportContext, ExportDh2Mesh));
    commands_.bind(cmd::kExportGltf, onFreshContext(exportContext, ExportGltf));
    commands_.bind(cmd::kExportObj, onFreshContext(exportContext, ExportObj));
}

void Application::noteRecentFile() {
    // A model out of a PAK is listed by its place below the base folder, where
    // the game (and the next open) finds it again.
    if (isRegularFile(currentFile) || !currentFilePak.empty()) recentFiles.add(settings_, currentFile);
}

void Application::openRecentFile(int index) {
    if (index < 0 || index >= static_cast<int>(recentFiles.entries().size())) return;
    const std::string path = recentFiles.entries()[std::size_t(index)];
    if (!isRegularFile(path) && !readGamePath(*ui_, path).fromPak()) {
        recentFiles.remove(settings_, path);
        ui_->message(recentFileMissingMessage(path));
        return;
    }
    if (!confirmDiscardSkins(*ui_, modifiedSkins())) {
        refresh_.refreshAll();
        return;
    }
    MeshFileContext c = meshContext();
    if (openMeshAt(c, path)) {
        noteRecentFile();
        offerPlayerWeapon();
    }
    refresh_.refreshAll();
}

void Application::openFromPak() {
    const std::vector<std::string> names = pakNamesOf(*ui_, folders.base, kMd2Extension);
    if (names.empty()) {
        ui_->message(kMsgNoPakModels);
        return;
    }
    const std::optional<std::string> chosen = ui_->chooseFromList(kOpenFromPakTitle, names);
    if (!chosen) return;
    if (!confirmDiscardSkins(*ui_, modifiedSkins())) {
        refresh_.refreshAll();
        return;
    }
    MeshFileContext c = meshContext();
    if (openMeshAt(c, joinPath(folders.base, toNative(*chosen)))) {
        noteRecentFile();
        offerPlayerWeapon();
    }
    refresh_.refreshAll();
}

void Application::bindPreviewCommands() {
    commands_.bind(cmd::kPlayPause, [this] {
        if (player.playing()) {
            stopPlayback();
            return;
        }
        std::vector<std::string> names;
        for (const Frame& frame : mesh.frames) names.push_back(frame.name);
        player.start(names, mesh.currentFrame);
    });
    commands_.bind(cmd::kLoopAnimation, [this] {
        const bool animation = player.loop != FramePlayer::Loop::Animation;
        player.loop = animation ? FramePlayer::Loop::Animation : FramePlayer::Loop::WholeModel;
        // A running preview takes the new span from the frame it shows.
        if (player.playing()) {
            stopPlayback();
            commands_.run(cmd::kPlayPause);
        }
    });
    commands_.bind(cmd::kInterpolateFrames, [this] {
        interpolateFrames = !interpolateFrames;
        if (!interpolateFrames && blending_) {
            blending_ = false;
            refresh_.refresh(kRedrawFull, kPanesIso);
        }
    });
    for (int id : {cmd::kRate5, cmd::kRate10, cmd::kRate20, cmd::kRate30})
        commands_.bind(id, [this, id] { player.setRate(frameRateOf(id)); });
}

bool Application::advancePlayback(double seconds) {
    if (!player.playing()) return false;
    const FrameSpan& span = player.span();
    if (span.first + span.count > static_cast<int>(mesh.frames.size())) {
        stopPlayback();  // another model came in under the preview
        return true;
    }
    const PlayPosition at = player.advance(seconds);
    bool changed = false;
    if (at.frame != mesh.currentFrame) changed = SelectFrame(mesh, at.frame);
    const bool blend = interpolateFrames && at.fraction > 0.0f && at.next != at.frame;
    if (blend)
        blendPositions(mesh.frames[std::size_t(at.frame)].positions, mesh.frames[std::size_t(at.next)].positions,
                       at.fraction, blended_);
    changed = changed || blend || blending_;
    blending_ = blend;
    return changed;
}

void Application::stopPlayback() {
    player.stop();
    if (blending_) {
        blending_ = false;
        refresh_.refresh(kRedrawFull, kPanesIso);
    }
}

const std::vector<Vec3f>* Application::previewPositions() const { return blending_ ? &blended_ : nullptr; }

MeshFileContext Application::meshContext() {
    return MeshFileContext{*ui_,        settings_,   refresh_,   mesh,        skins,
                           sourceImage, currentFile, folders,    &companions, &history,
                           [this] { savedMapping.mark(); }, &currentFilePak};
}

void Application::bindSkinCommands() {
    auto skinCommand = [this](auto command) { return onFreshContext([this] { return skinContext(); }, command); };
    commands_.bind(cmd::kSkinRevert, skinCommand(revertSkin));
    commands_.bind(cmd::kSkinStore, skinCommand(storeSkin));
    commands_.bind(cmd::kSkinSave, skinCommand(saveSkin));
    commands_.bind(cmd::kSkinSaveAs, skinCommand(saveSkinAs));
    commands_.bind(cmd::kSkinOpen, skinCommand(openSkin));
    commands_.bind(cmd::kSkinMoveUp, skinCommand(moveSkinUp));
    commands_.bind(cmd::kSkinMoveDown, skinCommand(moveSkinDown));
    commands_.bind(cmd::kSkinUnlink, skinCommand(unlinkSkin));
    commands_.bind(cmd::kSkinLink, skinCommand(linkSkin));
    commands_.bind(cmd::kBaseFolder, skinCommand(chooseBaseFolder));
    commands_.bind(cmd::kSkinScanFolder, skinCommand(scanSkinFolder));
    commands_.bind(cmd::kSkinRepalette, skinCommand(rePalette));
    commands_.bind(cmd::kDefaultPalette, skinCommand(defaultPalette));
    commands_.bind(cmd::kSkinClose, [this] {
        const Skin* skin = skins.current();
        if (skin && skin->modified() && !confirmDiscardSkins(*ui_, {displayName(*skin)}))
            return;
        SkinContext c = skinContext();
        closeSkin(c);
    });
}

void Application::bindSkinEditCommands() {
    auto edit = [this](auto command) { return onFreshContext([this] { return skinEditContext(); }, command); };
    commands_.bind(cmd::kSkinNew, edit(newSkin));
    commands_.bind(cmd::kSkinResizeAll, edit(resizeAllSkins));
    commands_.bind(cmd::kPackIslands, edit(packIslandsCommand));
    commands_.bind(cmd::kExportLayout, edit(exportLayoutCommand));
    commands_.bind(cmd::kSkinReload, edit(reloadSkin));
    commands_.bind(cmd::kSkinDuplicate, edit(duplicateSkin));
    commands_.bind(cmd::kInvertPalette, edit(invertPalette));
    commands_.bind(cmd::kInvertPixels, edit(invertPixels));
    commands_.bind(cmd::kInvertBoth, edit(invertBoth));
    commands_.bind(cmd::kReplaceColors, edit(replaceColors));
    commands_.bind(cmd::kFxOutline, edit(outlineSelected));
    commands_.bind(cmd::kFxFill, edit(fillSelected));
    commands_.bind(cmd::kFxShade, edit(shadeSelected));
    commands_.bind(cmd::kFxLoadToSelected, edit(loadToSelected));
}

SkinEditContext Application::skinEditContext() {
    return SkinEditContext{*ui_, settings_, folders, mesh, skins, paint, lighting, refresh_, &history};
}

SkinContext Application::skinContext() {
    return SkinContext{*ui_,           settings_,       folders,  skins,
                       refresh_,       mesh.skinWidth,  mesh.skinHeight, &history,
                       paint.colorSlots[kSlotBackground]};
}

Companion* Application::currentCompanion() {
    if (companionIndex < 0 || companionIndex >= static_cast<int>(companions.size())) return nullptr;
    return companions[static_cast<std::size_t>(companionIndex)].get();
}

void Application::bindOptionCommands() {
    auto toggle = [this](bool& flag, int panes) {
        return [this, &flag, panes] {
            flag = !flag;
            if (panes == kPanesAll)
                refresh_.refreshAll();
            else if (panes)
                refresh_.refresh(kRedrawFull, panes);
        };
    };
    commands_.bind(cmd::kCameraOverride, toggle(paneModes.cameraOverride, kPanesAll));
    commands_.bind(cmd::kSkinFollowsMapping, toggle(view.skinFollowsMapping, 0));
    commands_.bind(cmd::kMappingOverlayInPaint, toggle(paneModes.mappingOverlayInPaint, kPanesAll));

    auto interaction = [this](bool mapping) {
        return [this, mapping] {
            if (paneModes.mappingMode == mapping) return;
            paneModes.mappingMode = mapping;
            refresh_.refreshAll();
        };
    };
    commands_.bind(cmd::kPaintMode, interaction(false));
    commands_.bind(cmd::kMappingMode, interaction(true));

    auto brush = [this](Brush b) {
        return [this, b] { paneModes.brush = b, paneModes.select = SelectTool::None; };
    };
    commands_.bind(cmd::kPointBrush, brush(Brush::Point));
    commands_.bind(cmd::kPencilBrush, brush(Brush::Pencil));
    commands_.bind(cmd::kLineBrush, brush(Brush::Line));
    commands_.bind(cmd::kFillBrush, brush(Brush::Fill));
    commands_.bind(cmd::kRectangleBrush, brush(Brush::Rectangle));
    commands_.bind(cmd::kEllipseBrush, brush(Brush::Ellipse));
}

void Application::bindPaintCommands() {
    for (int id : {cmd::kColorNext, cmd::kColorPrevious, cmd::kColorNextRow, cmd::kColorPreviousRow})
        commands_.bind(id, [this, id] { stepActiveColor(paint, colorKeyStep(id), refresh_); });
    commands_.bind(cmd::kBlendRgb, [this] { chooseBlendMode(paint, kBlendRgb, refresh_); });
    commands_.bind(cmd::kBlendKeepBrightness,
                   [this] { chooseBlendMode(paint, kBlendKeepBrightness, refresh_); });
}

void Application::bindMapCommands() {
    auto withContext = [this](auto command, MapList& list) {
        return [this, command, &list] {
            MapCommandContext context{*ui_, settings_, folders, refresh_};
            command(list, context);
        };
    };
    commands_.bind(cmd::kPhongOpen, withContext(OpenPhongMap, phongMaps));
    commands_.bind(cmd::kPhongClose, withContext(ClosePhongMap, phongMaps));
    commands_.bind(cmd::kPhongScan, withContext(ScanPhongMapFolder, phongMaps));
    commands_.bind(cmd::kEnvOpen, withContext(OpenEnvMap, envMaps));
    commands_.bind(cmd::kEnvClose, withContext(CloseEnvMap, envMaps));
    commands_.bind(cmd::kEnvScan, withContext(ScanEnvMapFolder, envMaps));
}

UpdateFlags Application::updateFlags() const {
    UpdateFlags f;
    f.cameraOverride = paneModes.cameraOverride;
    f.interactionMode = paneModes.mappingMode ? 1 : 0;
    f.brush = paneModes.select == SelectTool::None ? static_cast<int>(paneModes.brush) : -1;
    f.selectTool = static_cast<int>(paneModes.select);
    f.floating = floating.active();
    f.skinFollowsMapping = view.skinFollowsMapping;
    f.mappingOverlay = paneModes.mappingOverlayInPaint;
    f.rectangleMode = view.rectangleMode;
    f.pixelGrid = view.pixelGrid;
    f.brushShape = static_cast<int>(paint.tip.shape);
    f.filledShapes = paneModes.filledShapes;
    f.ink = static_cast<int>(paint.ink);
    f.ditherSize = paint.ditherSize;
    f.mirror = paneModes.mirror;
    f.mirrorShareTexels = mirrorShareTexels;
    f.symmetryAxis = symmetry.frame >= 0 ? symmetry.axis : -1;
    f.blendMode = paint.blendMode;
    f.playing = player.playing();
    f.loopAnimation = player.loop == FramePlayer::Loop::Animation;
    f.interpolate = interpolateFrames;
    f.frameRate = static_cast<int>(player.rate());
    f.recentFiles = recentFiles.entries();
    f.undoName = history.undoName();
    f.redoName = history.redoName();
    if (companionIndex >= 0 && companionIndex < static_cast<int>(companions.size())) {
        f.hasCompanion = true;
        f.companionHidden = companions[static_cast<std::size_t>(companionIndex)]->hidden;
    }
    return f;
}

CommandState Application::stateOf(int id) const {
    const CommandEntry* entry = findCommand(id);
    if (!entry) return {};
    return commandState(*entry, commands_.bound(id), updateFlags());
}

ListContent Application::listContent(int listId) {
    ListContent c;
    switch (listId) {
    case kListFrames:
        for (const auto& frame : mesh.frames) c.entries.push_back(frame.name);
        c.current = mesh.frames.empty() ? -1 : mesh.currentFrame;
        break;
    case kListSkins:
        for (const SkinListEntry& e : refillSkinEntries(skins)) {
            c.entries.push_back(skinListText(static_cast<int>(c.entries.size())));
            c.images.push_back(e.image);
        }
        c.current = skins.currentIndex();
        break;
    case kListCompanions:
        c.entries = companionListEntries(companions);
        c.current = companions.empty() ? -1 : companionIndex;
        break;
    case kListModes:
        c.entries = modes.names();
        c.current = modes.currentIndex();
        break;
    case kListPhongMaps:
        c.entries = phongMaps.names();
        c.current = phongMaps.currentIndex();
        break;
    case kListEnvMaps:
        c.entries = envMaps.names();
        c.current = envMaps.currentIndex();
        break;
    default:
        break;
    }
    return c;
}

void Application::listChosen(int listId, int index) {
    dropFloating();
    switch (listId) {
    case kListFrames:
        if (SelectFrame(mesh, index)) refresh_.refresh(kRedrawFull, kPanesIso);
        break;
    case kListModes:
        chooseMode(index);
        break;
    case kListSkins: {
        SkinContext c = skinContext();
        selectSkin(c, index);
        break;
    }
    case kListCompanions:
        if (index < 0 || index >= static_cast<int>(companions.size())) break;
        companionIndex = index;
        refresh_.refresh(kRedrawFull, kPanesSkinIsoPalette);
        refresh_.rebuildPaintRemap();
        break;
    case kListPhongMaps:
        ChoosePhongMap(phongMaps, index, refresh_);
        break;
    case kListEnvMaps:
        ChooseEnvMap(envMaps, index, refresh_);
        break;
    default:
        break;
    }
}

std::string Application::skinListText(int index) const {
    const Skin* skin = skins.at(index);
    if (!skin) return {};
    return displayName(*skin) + (skin->modified() ? kModifiedMark : "");
}

bool Application::skinLoaded() const { return !skins.empty(); }

void Application::rebuildPaintRemap() {
    const Skin* skin = skins.current();
    paint.updatePaintRemap(skin ? &skin->palette : nullptr);
}

void Application::rebuildShadeRamps() {
    const Skin* skin = skins.current();
    lighting.shadeRamps = BuildShadeRamps(skin ? &skin->palette : nullptr, paint.colorSlots, paint.lightTable);
}

void Application::rebuildLightTable() {
    paint.updateLightTable();
    rebuildPhongShadeTable();
}

void Application::rebuildPhongShadeTable() {
    BuildPhongShadeTable(modes.currentIndex(), phongMaps, paint.lightTable);
}

void Application::chooseMode(int index) {
    wantedMode_ = index;
    if (index != modes.currentIndex()) {
        ModeResources resources;
        resources.skinLoaded = skinLoaded();
        addMapResources(resources, phongMaps, envMaps, colormap, settings_, *ui_);
        SelectRenderMode(modes, index, resources, *ui_, refresh_);
    }
    refresh_.refresh(kRedrawFull, kPanesSkinIso);
}

ModeResources Application::heldResources() const {
    ModeResources held;
    held.skinLoaded = skinLoaded();
    held.phongMapLoaded = phongMaps.current() != nullptr;
    held.envMapLoaded = envMaps.current() != nullptr;
    // The Colormap of the current mode is the one it holds; the file is not read again.
    held.colormapReadable = [this] { return colormap.held(); };
    return held;
}

std::optional<std::string> Application::currentModeLost() const {
    return modeRefusal(modes.currentIndex(), heldResources());
}

void Application::keepModeAvailable() {
    const std::optional<std::string> lost = currentModeLost();
    const bool wasAvailable = modeAvailable_;
    modeAvailable_ = !lost;
    // A mode that gave way to another comes back once what it needs is there
    // again: a model without skins does not leave the next one untextured.
    if (!lost && wantedMode_ >= 0 && wantedMode_ < kRenderModeCount && wantedMode_ != modes.currentIndex() &&
        !modeRefusal(wantedMode_, heldResources())) {
        ModeResources resources;
        resources.skinLoaded = skinLoaded();
        addMapResources(resources, phongMaps, envMaps, colormap, settings_, *ui_);
        SelectRenderMode(modes, wantedMode_, resources, *ui_, refresh_);
        refresh_.refillLists();
        return;
    }
    if (!lost || !wasAvailable) return;
    ui_->message(*lost);
    if (wantedMode_ < 0) wantedMode_ = modes.currentIndex();
    ModeResources resources;
    resources.skinLoaded = skinLoaded();
    addMapResources(resources, phongMaps, envMaps, colormap, settings_, *ui_);
    SelectRenderMode(modes, resources.skinLoaded ? kModeTextured : kModeGouraud, resources, *ui_, refresh_);
    modeAvailable_ = !currentModeLost();
    refresh_.refillLists();
}

bool Application::loadMesh(const std::string& path) {
    MeshFileContext c = meshContext();
    // Start-up loads run outside the command table, so they catch here.
    try {
        return LoadMesh(c, path);
    } catch (const std::bad_alloc&) {
        ui_->message(kMsgOutOfMemory);
        return false;
    }
}

StartupModel::SkinResult Application::addExternalSkin(const std::string& path) {
    std::unique_ptr<Skin> skin = LoadSkinImage(*ui_, path);
    if (!skin) return SkinResult::Unreadable;
    if (skin->width != mesh.skinWidth || skin->height != mesh.skinHeight) return SkinResult::WrongSize;
    skin->name = path;
    skin->external = true;
    skins.append(std::move(skin));
    skins.makeCurrent(skins.count() - 1);
    return SkinResult::Added;
}

void Application::scanPhongMaps(const std::string& folder) {
    ScanPhongMaps(folder, phongMaps, *ui_, refresh_);
    if (!phongMaps.empty() && phongMaps.currentIndex() < 0) phongMaps.choose(0);
}

void Application::scanEnvMaps(const std::string& folder) {
    ScanEnvMaps(folder, envMaps, *ui_, refresh_);
    if (!envMaps.empty() && envMaps.currentIndex() < 0) envMaps.choose(0);
}

std::vector<std::string> Application::modifiedSkins() const {
    std::vector<std::string> names;
    for (int i = 0; i < skins.count(); ++i) {
        const Skin* skin = skins.at(i);
        if (skin->modified()) names.push_back(displayName(*skin));
    }
    return names;
}

bool Application::start(const StartupRequest& request) {
    StartupResult r = runStartup(request, *this, *ui_, settings_, refresh_, folders);
    currentFile = r.currentFile;
    splitterFraction = r.splitterFraction;
    if (mesh.loaded) noteRecentFile();
    return r.keepRunning;
}

bool Application::confirmQuit() {
    // Where the close asks about unstored skins instead of asking to quit, it
    // offers to save a changed mapping first.
    if (settings_.getInt(kPreferences, "Quick Exit", 0) == 1 && mappingChanged()) {
        MeshFileContext c = meshContext();
        if (!offerMeshSave(c)) return false;
    }
    return confirmClose(*ui_, settings_, splitterFraction, paint.colorSlots, *this);
}

}  // namespace tarn
