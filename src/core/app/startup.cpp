#include "app/startup.h"

#include <cmath>

#include "model/md2_commands.h"
#include "platform/fs.h"
#include "platform/game_files.h"
#include "platform/refresh.h"

namespace tarn {

namespace {

constexpr const char* kCommandLineSwitch = "-md2";

bool isUnknownOrUnusable(const std::string& folder) {
    return folder == kUnknown || !isUsableFolder(folder);
}

std::string absoluteFrom(const std::string& folder, const std::string& path) {
    if (path.empty() || folder.empty()) return path;
    bool absolute = path.front() == '/' || path.front() == '\\' ||
                    (path.size() > 1 && path[1] == ':');
    return absolute ? path : joinPath(folder, path);
}

void storeCurrentFile(SettingsStore& settings, const std::string& path) {
    settings.setString(kProject, kCurFileKey, path);
}

// The Open dialog of a model without the save question. Returns the loaded path.
std::optional<std::string> offerOpen(StartupModel& model, Ui& ui, SettingsStore& settings,
                                     Folders& folders) {
    FileDialogRequest request;
    request.filter = kMd2OpenFilter;
    request.initialName = kMd2InitialName;
    request.mustExist = true;
    auto chosen = askOpenPath(ui, settings, folders, request);
    if (!chosen) return std::nullopt;
    std::string path = appendExtensionIfNone(chosen->path, kMd2Extension);
    if (!model.loadMesh(path)) return std::nullopt;
    storeCurrentFile(settings, path);
    return path;
}

// The models inside the base folder's PAK files, offered in the list that
// File > Open from PAK shows: a game as installed keeps them all there, and
// the Open dialog would show an empty folder. Returns the loaded path.
std::optional<std::string> offerPakModels(StartupModel& model, Ui& ui, SettingsStore& settings,
                                          const Folders& folders) {
    const std::vector<std::string> names = pakNamesOf(ui, folders.base, kMd2Extension);
    if (names.empty()) return std::nullopt;
    const std::optional<std::string> chosen = ui.chooseFromList(kOpenFromPakTitle, names);
    if (!chosen) return std::nullopt;
    const std::string path = joinPath(folders.base, toNative(*chosen));
    if (!model.loadMesh(path)) return std::nullopt;
    storeCurrentFile(settings, path);
    return path;
}

}  // namespace

std::string ensureBaseFolder(Ui& ui, const SettingsStore& settings,
                             const std::optional<std::string>& forced) {
    if (forced && isUsableFolder(*forced)) return *forced;
    std::string base = settings.getString(kProject, "BaseDir", kUnknown);
    while (isUnknownOrUnusable(base)) {
        auto chosen = ui.browseFolder(kLocateBaseTitle);
        if (!chosen) {
            ui.message(kMustSpecifyFolder);
            continue;
        }
        if (!isUsableFolder(*chosen)) {
            ui.message(kFolderNotValidChooseAnother);
            continue;
        }
        base = *chosen;
    }
    return base;
}

Folders resolveFolders(const std::string& base, SettingsStore& settings, bool storeBase) {
    Folders f;
    f.base = base;
    f.load = settings.getString(kProject, "LoadDir", kUnknown);
    f.save = settings.getString(kProject, "SaveDir", kUnknown);
    if (isUnknownOrUnusable(f.load)) f.load = base;
    if (isUnknownOrUnusable(f.save)) f.save = base;
    if (storeBase) settings.setString(kProject, "BaseDir", f.base);
    settings.setString(kProject, "LoadDir", f.load);
    settings.setString(kProject, "SaveDir", f.save);
    return f;
}

std::vector<std::string> commandLineTokens(const std::string& commandLine) {
    std::vector<std::string> tokens;
    auto at = commandLine.find(kCommandLineSwitch);
    if (at == std::string::npos) return tokens;
    // The switch and the one separator after it go; a line ending in the
    // switch names nothing to load.
    std::size_t start = at + std::string(kCommandLineSwitch).size() + 1;
    if (start > commandLine.size()) return tokens;
    std::string token;
    bool quoted = false, inToken = false;
    for (std::size_t i = start; i < commandLine.size(); ++i) {
        char c = commandLine[i];
        if (c == '"') {
            quoted = !quoted;
            inToken = true;
        } else if (c == ' ' && !quoted) {
            if (inToken) tokens.push_back(token);
            token.clear();
            inToken = false;
        } else {
            token += c;
            inToken = true;
        }
    }
    if (inToken) tokens.push_back(token);
    return tokens;
}

std::optional<std::string> commandLineLoad(const StartupRequest& request, StartupModel& model,
                                           Ui& ui, SettingsStore& settings, RefreshSink& refresh) {
    auto tokens = commandLineTokens(request.commandLine);
    if (tokens.empty()) return std::nullopt;
    std::string modelPath = absoluteFrom(request.workingFolder, tokens.front());
    if (!model.loadMesh(modelPath)) {
        ui.message(kCommandLineModelError);
        return std::nullopt;
    }
    storeCurrentFile(settings, modelPath);
    for (std::size_t i = 1; i < tokens.size(); ++i) {
        switch (model.addExternalSkin(absoluteFrom(request.workingFolder, tokens[i]))) {
        case StartupModel::SkinResult::Unreadable:
            ui.message(kCommandLineSkinError);
            return modelPath;
        case StartupModel::SkinResult::WrongSize:
            ui.message(kSkinWrongDimensions);
            return modelPath;
        case StartupModel::SkinResult::Added:
            refresh.refreshAll();
            break;
        }
    }
    return modelPath;
}

StartupResult runStartup(const StartupRequest& request, StartupModel& model, Ui& ui,
                         SettingsStore& settings, RefreshSink& refresh, Folders& folders) {
    StartupResult result;
    const bool skipped = request.ctrlHeld;
    refresh.rebuildPaintRemap();
    refresh.rebuildLightTable();
    refresh.rebuildPhongShadeTable();
    result.splitterFraction =
        settings.getInt(kPreferences, "Splitter", kDefaultSplitter) / static_cast<double>(kSplitterScale);

    const bool forced = request.baseFolder && isUsableFolder(*request.baseFolder);
    folders = resolveFolders(ensureBaseFolder(ui, settings, request.baseFolder), settings, !forced);

    if (!skipped) {
        if (auto loaded = commandLineLoad(request, model, ui, settings, refresh))
            result.currentFile = *loaded;
    }
    if (!model.meshLoaded()) {
        std::string stored = settings.getString(kProject, kCurFileKey, kUnknown);
        if (!skipped && stored != kUnknown && model.loadMesh(stored)) result.currentFile = stored;
    }
    if (!model.meshLoaded()) {
        // The PAKs' models first, then the Open dialog for loose ones: only
        // when both are cancelled is there nothing to work on.
        auto opened = offerPakModels(model, ui, settings, folders);
        if (!opened) opened = offerOpen(model, ui, settings, folders);
        if (!opened) return result;
        result.currentFile = *opened;
    }
    refresh.rebuildPaintRemap();

    std::string phong = settings.getString(kPreferences, "Phong Path", kUnknown);
    if (phong != kUnknown) model.scanPhongMaps(phong);
    std::string env = settings.getString(kPreferences, "Env Path", kUnknown);
    if (env != kUnknown) model.scanEnvMaps(env);

    refresh.refreshAll();
    result.keepRunning = true;
    return result;
}

bool confirmDiscardSkins(Ui& ui, const std::vector<std::string>& modifiedSkins) {
    if (modifiedSkins.empty()) return true;
    std::string text = modifiedSkins.size() == 1 ? "This skin has changes that are not stored:\n"
                                                 : "These skins have changes that are not stored:\n";
    for (const auto& name : modifiedSkins) text += "    " + name + "\n";
    text += "Are you sure you want to lose them?";
    return ui.ask(text, QuestionKind::YesNo) == Answer::Yes;
}

bool confirmClose(Ui& ui, SettingsStore& settings, double splitterFraction,
                  const ColorSlots& slots, StartupModel& model) {
    // Rounded, not cut: a fraction such as 0.57 is 5699.99... times the scale,
    // and cutting would move the splitter a step at every start.
    settings.setInt(kPreferences, "Splitter",
                    static_cast<int>(std::lround(splitterFraction * kSplitterScale)));
    slots.store(settings);
    if (settings.getInt(kPreferences, "Quick Exit", 0) == 1)
        return confirmDiscardSkins(ui, model.modifiedSkins());
    std::vector<std::string> unsaved = model.modifiedSkins();
    if (const std::string mesh = model.unsavedModel(); !mesh.empty()) unsaved.push_back(mesh);
    if (unsaved.empty()) return true;
    std::string text = "These have changes that are not saved:\n";
    for (const auto& name : unsaved) text += "    " + name + "\n";
    text += kQuitSaveQuestion;
    switch (ui.ask(text, QuestionKind::SaveDiscardCancel)) {
    case Answer::Yes: return model.saveAll();
    case Answer::No: return true;
    default: return false;
    }
}

}  // namespace tarn
