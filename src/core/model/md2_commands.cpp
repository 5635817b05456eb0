#include "model/md2_commands.h"

#include <cerrno>

#include "model/md2_format.h"
#include "platform/game_files.h"

namespace tarn {

std::vector<std::string> linkedSkinNames(const SkinList& skins) {
    std::vector<std::string> names;
    for (int i = 0; i < skins.count(); ++i) {
        const Skin* skin = skins.at(i);
        if (skin && !skin->external) names.push_back(skin->name);
    }
    return names;
}

namespace {

bool isAbsoluteName(const std::string& name) {
    return (!name.empty() && (name[0] == '/' || name[0] == '\\')) || (name.size() > 1 && name[1] == ':');
}

// A free name for `file` in `folder`: its own, or with _2, _3 ... before the extension.
std::string freeNameIn(const std::string& folder, const std::string& file, const std::string& source) {
    const auto dot = file.rfind('.');
    const std::string stem = dot == std::string::npos ? file : file.substr(0, dot);
    const std::string ext = dot == std::string::npos ? std::string() : file.substr(dot);
    std::string candidate = joinPath(folder, file);
    for (int n = 2; isRegularFile(candidate) && !sameFile(candidate, source); ++n)
        candidate = joinPath(folder, stem + "_" + std::to_string(n) + ext);
    return candidate;
}

// The game reads skin names relative to the base folder only: a linked skin
// saved elsewhere is copied beside the model or left out, never written as
// an absolute name. False when the user cancelled the save.
bool settleOutsideSkins(MeshFileContext& c, const std::string& modelPath) {
    for (int i = 0; i < c.skins.count(); ++i) {
        Skin& skin = *c.skins.at(i);
        if (skin.external || !isAbsoluteName(skin.name)) continue;
        const Answer answer = c.ui.ask(outsideSkinQuestion(skin.name), QuestionKind::YesNoCancel);
        if (answer == Answer::Cancel) return false;
        if (answer == Answer::Yes && isBelowBase(modelPath, c.folders.base)) {
            const std::string copy = freeNameIn(folderOf(modelPath), fileNameOf(skin.filePath), skin.filePath);
            const ReadResult read = readFile(skin.filePath);
            if (read.error != 0) {
                c.ui.message(readFailureMessage(skin.filePath, read.error));
                return false;
            }
            if (!sameFile(copy, skin.filePath)) {
                if (const int error = writeFileAtomic(copy, read.bytes); error != 0) {
                    c.ui.message(errorSavingMessage(error, copy));
                    return false;
                }
            }
            skin.filePath = copy;
            skin.name = relativeToBase(copy, c.folders.base);
            continue;
        }
        if (answer == Answer::Yes) c.ui.message(kMsgModelOutsideBase);
        // Left out of the model, the skin stays open for painting as an external one.
        skin.external = true;
        skin.name = skin.filePath;
    }
    return true;
}

}  // namespace

std::string outsideSkinQuestion(const std::string& name) {
    return "The skin\n" + name +
           "\nlies outside the base folder, where the game cannot find it.\n"
           "Yes: copy it beside the model and name the copy in the model.\n"
           "No: leave it out of the model; it stays open as an external skin.";
}

bool SaveMesh(MeshFileContext& c, const std::string& path) {
    if (!settleOutsideSkins(c, path)) return false;
    c.refresh.refillLists();
    const Md2Encode encoded = encodeMd2(c.mesh, linkedSkinNames(c.skins), c.sourceImage);
    if (!encoded.ok()) {
        c.ui.message(encoded.error + "\n" + path);
        return false;
    }
    const bool packed = c.sourcePak && !c.sourcePak->empty() && path == c.currentFile;
    if (packed && !makeFolderFor(path)) {
        c.ui.message(errorSavingMessage(ENOENT));
        return false;
    }
    if (const int error = writeFileAtomic(path, encoded.bytes); error != 0) {
        c.ui.message(errorSavingMessage(error, path));
        return false;
    }
    if (packed) {
        c.sourcePak->clear();
        c.ui.message(looseSaveMessage(path));
    }
    if (c.matchesFile) c.matchesFile();
    return true;
}

bool offerMeshSave(MeshFileContext& c) {
    const Answer answer = c.ui.ask(kAskSaveMesh, QuestionKind::YesNoCancelIcon);
    if (answer == Answer::Cancel) return false;
    // A model read out of a PAK and not changed since would only come back as
    // a loose copy of itself, which then hides the PAK's from the game.
    if (answer == Answer::Yes && c.sourcePak && !c.sourcePak->empty() &&
        encodeMd2(c.mesh, linkedSkinNames(c.skins), c.sourceImage).bytes == c.sourceImage)
        return true;
    // A save the user asked for that fails must not be followed by whatever
    // would throw the unsaved Mesh away.
    if (answer == Answer::Yes && !SaveMesh(c, c.currentFile)) {
        c.ui.message(kMsgSaveFailedSmiley);
        return false;
    }
    return true;
}

bool openMeshAt(MeshFileContext& c, const std::string& path) {
    if (c.mesh.loaded && !offerMeshSave(c)) return false;
    if (!LoadMesh(c, path)) return false;
    c.currentFile = path;
    c.settings.setString(kProject, kCurFileKey, path);
    return true;
}

bool openMesh(MeshFileContext& c) {
    FileDialogRequest request;
    request.filter = kMd2OpenFilter;
    request.initialName = kMd2InitialName;
    request.mustExist = true;
    auto chosen = askOpenPath(c.ui, c.settings, c.folders, request);
    const bool opened = chosen && openMeshAt(c, appendExtensionIfNone(chosen->path, kMd2Extension));
    c.refresh.refreshAll();
    return opened;
}

bool saveMeshCommand(MeshFileContext& c) {
    if (SaveMesh(c, c.currentFile)) return true;
    c.ui.message(kMsgSaveFailedSmiley);
    return false;
}

bool saveMeshAs(MeshFileContext& c) {
    FileDialogRequest request;
    request.filter = kMd2SaveFilter;
    request.initialName = kMd2InitialName;
    proposeFile(request, c.currentFile);
    request.title = "Save the model as";
    auto chosen = askSavePath(c.ui, c.settings, c.folders, request);
    if (!chosen) return false;
    const std::string path = appendExtensionIfNone(chosen->path, kMd2Extension);
    if (!confirmBelowBase(c.ui, path, c.folders.base)) return false;
    const bool saved = SaveMesh(c, path);
    if (!saved) c.ui.message(kMsgSaveAsFailed);
    if (saved && c.sourcePak) c.sourcePak->clear();
    c.currentFile = path;
    c.settings.setString(kProject, kCurFileKey, path);
    return saved;
}

}  // namespace tarn
