#include "image/skin_list.h"

#include <algorithm>
#include <utility>

#include "image/skin_io.h"
#include "platform/dialogs.h"
#include "platform/fs.h"
#include "platform/game_files.h"
#include "platform/refresh.h"
#include "platform/ui.h"

namespace tarn {

Skin* SkinList::current() { return at(current_); }
const Skin* SkinList::current() const { return at(current_); }

Skin* SkinList::at(int index) {
    return index >= 0 && index < count() ? skins_[static_cast<std::size_t>(index)].get() : nullptr;
}

const Skin* SkinList::at(int index) const {
    return index >= 0 && index < count() ? skins_[static_cast<std::size_t>(index)].get() : nullptr;
}

void SkinList::append(std::unique_ptr<Skin> skin) {
    if (!skin) return;
    skins_.push_back(std::move(skin));
    if (current_ < 0) current_ = 0;
}

void SkinList::insert(int index, std::unique_ptr<Skin> skin) {
    if (!skin) return;
    index = std::clamp(index, 0, count());
    skins_.insert(skins_.begin() + index, std::move(skin));
    if (current_ < 0) current_ = index;
    else if (current_ >= index) ++current_;
}

int SkinList::indexOf(const Skin* skin) const {
    for (int i = 0; i < count(); ++i)
        if (skins_[static_cast<std::size_t>(i)].get() == skin) return i;
    return -1;
}

void SkinList::makeCurrent(int index) { current_ = (index >= 0 && index < count()) ? index : -1; }

std::unique_ptr<Skin> SkinList::remove(int index) {
    if (index < 0 || index >= count()) return nullptr;
    auto skin = std::move(skins_[static_cast<std::size_t>(index)]);
    skins_.erase(skins_.begin() + index);
    if (skins_.empty()) current_ = -1;
    else if (current_ >= count()) current_ = count() - 1;
    return skin;
}

void SkinList::swap(int a, int b) {
    if (a < 0 || b < 0 || a >= count() || b >= count() || a == b) return;
    std::swap(skins_[static_cast<std::size_t>(a)], skins_[static_cast<std::size_t>(b)]);
    if (current_ == a) current_ = b;
    else if (current_ == b) current_ = a;
}

void SkinList::clear() {
    skins_.clear();
    current_ = -1;
}

int SkinList::linkedCount() const {
    int n = 0;
    for (const auto& s : skins_) n += s->external ? 0 : 1;
    return n;
}

void OrderSkins(SkinList& list) {
    const int linked = list.linkedCount();
    for (int i = 0; i < linked; ++i) {
        if (!list.at(i)->external) continue;
        for (int j = i + 1; j < list.count(); ++j) {
            if (!list.at(j)->external) {
                list.swap(i, j);
                break;
            }
        }
    }
}

std::vector<SkinListEntry> refillSkinEntries(SkinList& list) {
    OrderSkins(list);
    std::vector<SkinListEntry> entries;
    for (int i = 0; i < list.count(); ++i) {
        Skin& skin = *list.at(i);
        skin.name = toNative(skin.name);
        skin.filePath = toNative(skin.filePath);
        std::string text = skin.name;
        for (char& c : text)
            if (c == '\\') c = '/';
        entries.push_back({text, skin.external ? 1 : 0});
    }
    return entries;
}

namespace {

// The files of `folder` with `extension`, loose ones first, then those of the
// same folder inside the PAKs of `baseFolder` that no loose file stands for.
std::vector<std::string> gameFilesIn(Ui& ui, const std::string& folder, const std::string& baseFolder,
                                     const std::string& extension) {
    std::vector<std::string> files = listFiles(folder, extension);
    if (baseFolder.empty() || !isBelowBase(joinPath(folder, "x"), baseFolder)) return files;
    const std::string prefix = baseFolder.back() == kSep ? baseFolder : baseFolder + kSep;
    const std::string relative = folder.size() > prefix.size() ? folder.substr(prefix.size()) : "";
    const std::string key = pakKey(relative) + (relative.empty() ? "" : "/");
    for (const std::string& name : pakNamesOf(ui, baseFolder, extension)) {
        const std::string lower = pakKey(name);
        if (lower.compare(0, key.size(), key) != 0 || lower.find('/', key.size()) != std::string::npos) continue;
        const std::string path = joinPath(folder, name.substr(key.size()));
        const bool loose = std::any_of(files.begin(), files.end(),
                                       [&](const std::string& f) { return lowerCase(f) == lowerCase(path); });
        if (!loose) files.push_back(path);
    }
    return files;
}

}  // namespace

int ScanSkins(Ui& ui, RefreshSink& refresh, SkinList& list, const std::string& folder,
              int skinWidth, int skinHeight, const std::string& baseFolder) {
    int added = 0;
    for (const char* extension : {".pcx", ".bmp"}) {
        const auto files = gameFilesIn(ui, folder, baseFolder, extension);
        for (const auto& file : files) {
            auto skin = LoadSkinImage(ui, file);
            if (!skin || skin->width != skinWidth || skin->height != skinHeight) continue;
            skin->name = skin->filePath;
            skin->external = true;
            // The current Skin stays; a list that had none shows the first found.
            list.append(std::move(skin));
            ++added;
        }
        if (!files.empty()) refresh.refreshAll();
    }
    if (added == 0) ui.message(kMsgNoMatchingSkins);
    return added;
}

}  // namespace tarn
