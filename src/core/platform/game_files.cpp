#include "platform/game_files.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <filesystem>
#include <map>

#include "platform/ui.h"

namespace fs = std::filesystem;

namespace tarn {

namespace {

constexpr const char* kPakPrefix = "pak";
constexpr const char* kPakExtension = ".pak";
// Numbers past this are not PAKs of the game's naming, just odd names.
constexpr std::size_t kMaxPakDigits = 4;

// The number of a "pakN.pak" name in any case, or -1.
int pakNumber(const std::string& fileName) {
    const std::string name = lowerCase(fileName);
    const std::size_t prefix = std::char_traits<char>::length(kPakPrefix);
    const std::size_t suffix = std::char_traits<char>::length(kPakExtension);
    if (name.size() <= prefix + suffix || name.compare(0, prefix, kPakPrefix) != 0 ||
        name.compare(name.size() - suffix, suffix, kPakExtension) != 0)
        return -1;
    const std::string digits = name.substr(prefix, name.size() - prefix - suffix);
    if (digits.size() > kMaxPakDigits ||
        !std::all_of(digits.begin(), digits.end(), [](unsigned char c) { return std::isdigit(c); }))
        return -1;
    return std::stoi(digits);
}

GameFile lookInPaks(Ui& ui, const std::string& baseFolder, const std::string& name, PakShelf& shelf) {
    GameFile g;
    g.loosePath = joinPath(baseFolder, toNative(name));
    for (const auto& archive : shelf.archives(baseFolder, ui)) {
        if (const PakEntry* entry = archive->find(name)) {
            g.file = archive->read(*entry);
            g.pakPath = archive->path();
            return g;
        }
    }
    g.file.error = ENOENT;
    return g;
}

}  // namespace

std::vector<std::string> pakFilesOf(const std::string& folder) {
    std::vector<std::pair<int, std::string>> found;
    std::error_code ec;
    for (fs::directory_iterator it(fs::path(folder.empty() ? "." : folder), ec), end; !ec && it != end;
         it.increment(ec)) {
        std::error_code fec;
        if (!it->is_regular_file(fec)) continue;
        const std::string name = it->path().filename().string();
        const int number = pakNumber(name);
        if (number >= 0) found.emplace_back(number, name);
    }
    // Highest number first; one number spelt twice is ordered by name, so
    // the order never depends on the directory's.
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first > b.first : a.second < b.second;
    });
    std::vector<std::string> paths;
    for (const auto& [number, name] : found) paths.push_back(joinPath(folder, name));
    return paths;
}

std::string surplusPakMessage(const std::string& baseFolder, const std::vector<std::string>& skipped) {
    std::string text = "\"" + baseFolder + "\" holds more than " + std::to_string(kMaxPakFiles) +
                       " PAK files; these " + std::to_string(skipped.size()) + " were skipped:";
    constexpr std::size_t kNamed = 10;
    for (std::size_t i = 0; i < skipped.size() && i < kNamed; ++i) text += "\n" + fileNameOf(skipped[i]);
    if (skipped.size() > kNamed) text += "\n... and " + std::to_string(skipped.size() - kNamed) + " more.";
    return text;
}

std::string damagedPakMessage(const std::string& pakPath, const std::string& reason) {
    return "The PAK file \"" + pakPath + "\" is damaged and was skipped:\n" + reason + ".";
}

std::vector<std::shared_ptr<const PakArchive>> PakShelf::archives(const std::string& baseFolder, Ui& ui) {
    std::vector<std::shared_ptr<const PakArchive>> out;
    std::vector<std::string> said;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        std::vector<std::pair<std::uint64_t, std::uint64_t>> taken;
        std::vector<std::string> surplus;
        for (const std::string& path : pakFilesOf(baseFolder)) {
            FileIdentity id;
            if (!identifyFile(path, id)) continue;
            const std::pair<std::uint64_t, std::uint64_t> key{id.device, id.inode};
            // A second name of a file already searched adds nothing to the search.
            if (std::find(taken.begin(), taken.end(), key) != taken.end()) continue;
            if (taken.size() == kMaxPakFiles) {
                surplus.push_back(path);
                continue;
            }
            taken.push_back(key);
            auto it = shelved_.find(key);
            if (it == shelved_.end() || it->second.identity.size != id.size ||
                it->second.identity.modified != id.modified) {
                PakArchive::Opened opened = PakArchive::open(path);
                if (!opened.archive) said.push_back(damagedPakMessage(path, opened.error));
                it = shelved_.insert_or_assign(key, Shelved{id, opened.archive}).first;
            }
            if (it->second.archive) out.push_back(it->second.archive);
        }
        std::size_t& surplusSaid = surplusSaid_[baseFolder];
        if (!surplus.empty() && surplus.size() != surplusSaid)
            said.push_back(surplusPakMessage(baseFolder, surplus));
        surplusSaid = surplus.size();
    }
    for (const std::string& text : said) ui.message(text);
    return out;
}

PakShelf& PakShelf::shared() {
    static PakShelf shelf;
    return shelf;
}

namespace {

// A missing file, or a folder missing on the way to it: the cases where the
// PAK files are asked next. Anything else found in place (a pipe, a device, a
// file too large) is that file's answer, refused with its reason.
bool absent(const ReadResult& r) {
    return r.error == ENOENT || r.error == ENOTDIR;
}

}  // namespace

GameFile readGameFile(Ui& ui, const std::string& baseFolder, const std::string& name, PakShelf& shelf) {
    // Names come from model files, which may climb ("..") or be absolute;
    // the game only ever looks below its base folder, and so does TARN.
    const std::string confined = confinedName(name);
    GameFile g;
    if (confined.empty()) {
        g.loosePath = baseFolder;
        g.file.error = ENOENT;
        return g;
    }
    g.loosePath = resolveCaseInsensitive(baseFolder, confined);
    g.file = readFile(g.loosePath);
    if (!absent(g.file)) return g;
    return lookInPaks(ui, baseFolder, confined, shelf);
}

GameFile readGamePath(Ui& ui, const std::string& path, PakShelf& shelf) {
    GameFile g;
    g.loosePath = path;
    g.file = readFile(path);
    if (!absent(g.file)) return g;
    std::string folder = folderOf(path);
    std::string rest = fileNameOf(path);
    while (!folder.empty() && !rest.empty()) {
        if (!pakFilesOf(folder).empty()) {
            GameFile packed = lookInPaks(ui, folder, rest, shelf);
            if (packed.fromPak()) return packed;
            break;
        }
        const std::string above = folderOf(folder);
        if (above == folder) break;
        rest = fileNameOf(folder) + "/" + rest;
        folder = above;
    }
    return g;
}

std::string refusalOf(const GameFile& g) {
    return readRefusalMessage(g.loosePath, g.file.error);
}

bool makeFolderFor(const std::string& path) {
    const std::string folder = folderOf(path);
    if (folder.empty()) return true;
    std::error_code ec;
    fs::create_directories(fs::path(folder), ec);
    return isUsableFolder(folder);
}

std::string looseSaveMessage(const std::string& path) {
    return "Saved as a loose file, which the game reads before its PAK files:\n" + path;
}

std::vector<std::string> pakNamesOf(Ui& ui, const std::string& baseFolder, const std::string& extension,
                                    PakShelf& shelf) {
    // Keyed by the lower-case name; the spelling of the PAK that wins.
    std::map<std::string, std::string> names;
    const std::string ext = lowerCase(extension);
    for (const auto& archive : shelf.archives(baseFolder, ui)) {
        for (const PakEntry& entry : archive->entries()) {
            const std::string key = pakKey(entry.name);
            if (key.size() >= ext.size() && key.compare(key.size() - ext.size(), ext.size(), ext) == 0)
                names.emplace(key, entry.name);
        }
    }
    std::vector<std::string> out;
    for (const auto& [key, name] : names) out.push_back(name);
    return out;
}

}  // namespace tarn
