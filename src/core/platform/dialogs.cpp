#include "platform/dialogs.h"

#include <utility>

#include "platform/fs.h"

namespace tarn {

std::vector<FilterEntry> parseFilter(const std::string& filter) {
    std::vector<std::string> pieces;
    std::string cur;
    for (char c : filter) {
        if (c == '|') {
            pieces.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.empty()) pieces.push_back(cur);

    std::vector<FilterEntry> out;
    for (std::size_t i = 0; i + 1 < pieces.size(); i += 2) {
        if (pieces[i].empty() && pieces[i + 1].empty()) break;  // the closing "||"
        out.push_back({pieces[i], pieces[i + 1]});
    }
    return out;
}

std::vector<std::string> toQtNameFilters(const std::string& filter) {
    std::vector<std::string> out;
    for (const auto& e : parseFilter(filter)) {
        std::string patterns;
        std::string cur;
        auto flush = [&] {
            if (cur.empty()) return;
            if (cur == "*.*") cur = "*";
            if (!patterns.empty()) patterns += ' ';
            patterns += cur;
            cur.clear();
        };
        for (char c : e.pattern) {
            if (c == ';' || c == ' ') flush();
            else cur += c;
        }
        flush();
        std::string desc = e.description;
        // Drop a "(...)" the description already carries: Qt reads the
        // patterns from the last parentheses, and ours are the converted ones.
        auto open = desc.rfind('(');
        if (open != std::string::npos && !desc.empty() && desc.back() == ')') {
            desc = desc.substr(0, open);
            while (!desc.empty() && desc.back() == ' ') desc.pop_back();
        }
        out.push_back(desc + " (" + patterns + ")");
    }
    return out;
}

std::string filterExtension(const std::string& filter, int index) {
    auto entries = parseFilter(filter);
    if (index < 1 || index > static_cast<int>(entries.size())) return {};
    std::string pattern = entries[static_cast<std::size_t>(index - 1)].pattern;
    auto semi = pattern.find(';');
    if (semi != std::string::npos) pattern = pattern.substr(0, semi);
    auto dot = pattern.rfind('.');
    if (dot == std::string::npos) return {};
    std::string ext = pattern.substr(dot);
    if (ext.find('*') != std::string::npos || ext.find('?') != std::string::npos) return {};
    return ext;
}

bool hasNoExtension(const std::string& path) {
    return fileNameOf(path).find('.') == std::string::npos;
}

std::string appendExtensionIfNone(const std::string& path, const std::string& extension) {
    return hasNoExtension(path) ? path + extension : path;
}

std::string withExtension(const std::string& path, const std::string& extension) {
    const std::string name = fileNameOf(path);
    const auto dot = name.rfind('.');
    return path.substr(0, path.size() - name.size()) + (dot == std::string::npos ? name : name.substr(0, dot)) +
           extension;
}

std::string applyFolderRule(const std::string& chosenPath, const std::string& key,
                            SettingsStore& settings, const std::string& baseFolder) {
    std::string folder = folderOf(chosenPath);
    if (!isUsableFolder(folder)) {
        folder = settings.getString(kProject, key, kUnknown);
        if (folder == kUnknown || !isUsableFolder(folder)) folder = baseFolder;
    }
    settings.setString(kProject, key, folder);
    return folder;
}

namespace {

// Either file dialog, started in `folder`; a chosen path moves `folder` (and
// the setting `key`) by the folder rule.
template <typename Dialog>
std::optional<FileDialogResult> askPath(Dialog dialog, FileDialogRequest request, std::string& folder,
                                        const char* key, SettingsStore& settings, const std::string& base) {
    // A request that proposes a file's own folder starts there; the choice
    // still moves the load or save folder by the rule.
    if (request.startFolder.empty()) request.startFolder = folder;
    auto result = dialog(request);
    if (!result) return result;
    // A typed "lnk/../x" means where the system takes it, and so does the
    // name a skin saved there gets below the base folder.
    result->path = absolutePath(result->path);
    folder = applyFolderRule(result->path, key, settings, base);
    return result;
}

}  // namespace

std::optional<FileDialogResult> askOpenPath(Ui& ui, SettingsStore& settings, Folders& folders,
                                            FileDialogRequest request) {
    return askPath([&](const FileDialogRequest& r) { return ui.openFile(r); }, std::move(request), folders.load,
                   "LoadDir", settings, folders.base);
}

std::optional<FileDialogResult> askSavePath(Ui& ui, SettingsStore& settings, Folders& folders,
                                            FileDialogRequest request) {
    return askPath([&](const FileDialogRequest& r) { return ui.saveFile(r); }, std::move(request), folders.save,
                   "SaveDir", settings, folders.base);
}

void proposeFile(FileDialogRequest& request, const std::string& path) {
    if (path.empty()) return;
    request.startFolder = folderOf(path);
    request.initialName = fileNameOf(path);
}

bool isBelowBase(const std::string& path, const std::string& base) {
    if (base.empty()) return false;
    // A base that is a root already ends in its separator.
    std::string prefix = (base.back() == kSep) ? base : base + kSep;
    return path.size() > prefix.size() && path.compare(0, prefix.size(), prefix) == 0;
}

std::string relativeToBase(const std::string& path, const std::string& base) {
    if (!isBelowBase(path, base)) return path;
    std::string prefix = (base.back() == kSep) ? base : base + kSep;
    return path.substr(prefix.size());
}

bool confirmBelowBase(Ui& ui, const std::string& path, const std::string& base) {
    if (isBelowBase(path, base)) return true;
    return ui.ask(kBelowBaseQuestion, QuestionKind::YesNo) == Answer::Yes;
}

}  // namespace tarn
