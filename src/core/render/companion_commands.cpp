#include "render/companion_commands.h"

#include <cstdio>
#include <cstdlib>

#include "image/skin_io.h"
#include "platform/fs.h"
#include "platform/game_files.h"
#include "platform/refresh.h"
#include "platform/settings.h"
#include "platform/ui.h"

namespace tarn {

namespace {

constexpr const char* kModelInitialName = "*.md2";
constexpr const char* kSkinInitialName = "*.pcx";
constexpr const char* kModelExtension = ".md2";
constexpr const char* kSkinExtension = ".pcx";

void refreshFaceNormals(CompanionContext& c) {
    ComputeFaceNormals(c.mesh);
    for (auto& companion : c.companions) companion->computeFaceNormals(c.mesh.currentFrame);
}

void takeCompanionSkin(Companion& companion, Skin& skin) {
    companion.skinFile = skin.hasFile && skin.packedIn.empty() ? skin.filePath : std::string();
    companion.takeSkin(skin.pixels.take(), skin.width, skin.height);
}

// The skin dialog of Open and Load Skin; the image read, or nothing.
std::unique_ptr<Skin> askCompanionSkin(CompanionContext& c) {
    FileDialogRequest request;
    request.filter = kCompanionSkinFilter;
    request.initialName = kSkinInitialName;
    request.mustExist = true;
    const auto chosen = askOpenPath(c.ui, c.settings, c.folders, request);
    if (!chosen) return nullptr;
    return LoadSkinImage(c.ui, appendExtensionIfNone(chosen->path, kSkinExtension));
}

bool fitsCompanion(const Skin& skin, const Companion& companion) {
    return skin.width == companion.skinWidth && skin.height == companion.skinHeight;
}

}  // namespace

Companion* CompanionContext::currentCompanion() const {
    if (current < 0 || std::size_t(current) >= companions.size()) return nullptr;
    return companions[std::size_t(current)].get();
}

void openCompanion(CompanionContext& c) {
    FileDialogRequest request;
    request.filter = kCompanionModelFilter;
    request.initialName = kModelInitialName;
    request.mustExist = true;
    const auto chosen = askOpenPath(c.ui, c.settings, c.folders, request);
    if (!chosen) return;
    openCompanionAt(c, appendExtensionIfNone(chosen->path, kModelExtension), true);
}

bool openCompanionAt(CompanionContext& c, const std::string& path, bool askSkin) {
    // A player's weapon may lie in a PAK below the base folder rather than loose.
    const GameFile found = readGamePath(c.ui, path);
    const ReadResult& file = found.file;
    if (!file.ok()) {
        c.ui.message(withReadRefusal(kMsgCompanionLoadError, path, file.error));
        return false;
    }
    auto companion = LoadCompanion(file.bytes, path, c.folders.base, c.ui);
    if (!companion) return false;
    if (!companion->hasSkin()) {
        // A player's weapon.md2 often names a skin of the model it was made
        // for; its own weapon.pcx lies beside it.
        const std::string beside = withExtension(path, kSkinExtension);
        auto skin = askSkin ? askCompanionSkin(c)
                    : isRegularFile(beside) ? LoadSkinImage(c.ui, beside)
                                            : nullptr;
        if (skin && fitsCompanion(*skin, *companion)) {
            takeCompanionSkin(*companion, *skin);
        } else {
            if (skin) c.ui.message(kMsgCompanionSkinMisfit);
            companion->giveCheckerboard();
        }
    }
    companion->buildRowTable();
    c.companions.push_back(std::move(companion));
    c.current = int(c.companions.size()) - 1;
    refreshFaceNormals(c);
    c.refresh.refreshAll();
    return true;
}

void closeCompanion(CompanionContext& c) {
    if (!c.currentCompanion()) return;
    c.companions.erase(c.companions.begin() + c.current);
    if (c.companions.empty())
        c.current = -1;
    else if (c.current >= int(c.companions.size()))
        c.current = int(c.companions.size()) - 1;
    c.refresh.refreshAll();
}

void loadCompanionSkin(CompanionContext& c) {
    Companion* companion = c.currentCompanion();
    if (!companion) return;
    auto skin = askCompanionSkin(c);
    if (skin) {
        if (fitsCompanion(*skin, *companion))
            takeCompanionSkin(*companion, *skin);
        else
            c.ui.message(kMsgCompanionSkinMisfit);
    }
    companion->buildRowTable();
    c.refresh.refresh(kRedrawFull, kPanesIso);
}

void toggleCompanionHidden(CompanionContext& c) {
    Companion* companion = c.currentCompanion();
    if (!companion) return;
    companion->hidden = !companion->hidden;
    refreshFaceNormals(c);
    c.refresh.refresh(kRedrawFull, kPanesIso);
    c.refresh.refillLists();
}

void offsetCompanion(CompanionContext& c) {
    Companion* companion = c.currentCompanion();
    if (!companion) return;
    const CompanionOffsets shown{roundToDialogPrecision(companion->xOffset),
                                 roundToDialogPrecision(companion->yOffset),
                                 roundToDialogPrecision(companion->zOffset)};
    const auto answer = c.ui.offsetCompanionModel(shown);
    if (!answer) return;
    companion->xOffset = roundToDialogPrecision(answer->x);
    companion->yOffset = roundToDialogPrecision(answer->y);
    companion->zOffset = roundToDialogPrecision(answer->z);
    c.refresh.refresh(kRedrawFull, kPanesIso);
}

const char* companionHideText(const CompanionContext& c) {
    const Companion* companion = c.currentCompanion();
    return companion && companion->hidden ? kShowText : kHideText;
}

std::vector<std::string> companionListEntries(const std::vector<std::unique_ptr<Companion>>& list) {
    std::vector<std::string> out;
    for (const auto& companion : list)
        out.push_back((companion->hasSkin() ? "* " : "  ") + companion->name);
    return out;
}

float roundToDialogPrecision(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", double(value));
    return std::strtof(text, nullptr);
}

}  // namespace tarn
