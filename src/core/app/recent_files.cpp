#include "app/recent_files.h"

#include <algorithm>

namespace tarn {

namespace {

std::string keyOf(int index) { return "File" + std::to_string(index + 1); }

}  // namespace

void RecentFiles::load(const SettingsStore& settings) {
    entries_.clear();
    for (int i = 0; i < kRecentFileCount; ++i) {
        std::string path = settings.getString(kRecentFileSection, keyOf(i), "");
        if (!path.empty() && std::find(entries_.begin(), entries_.end(), path) == entries_.end())
            entries_.push_back(std::move(path));
    }
}

void RecentFiles::add(SettingsStore& settings, const std::string& path) {
    if (path.empty()) return;
    entries_.erase(std::remove(entries_.begin(), entries_.end(), path), entries_.end());
    entries_.insert(entries_.begin(), path);
    if (entries_.size() > std::size_t(kRecentFileCount)) entries_.resize(std::size_t(kRecentFileCount));
    store(settings);
}

void RecentFiles::remove(SettingsStore& settings, const std::string& path) {
    entries_.erase(std::remove(entries_.begin(), entries_.end(), path), entries_.end());
    store(settings);
}

void RecentFiles::store(SettingsStore& settings) const {
    for (int i = 0; i < kRecentFileCount; ++i)
        settings.setString(kRecentFileSection, keyOf(i), i < int(entries_.size()) ? entries_[std::size_t(i)] : "");
}

std::string recentFileMenuText(int index, const std::string& path) {
    return "&" + std::to_string(index + 1) + " " + path;
}

std::string recentFileMissingMessage(const std::string& path) {
    return "The file\n" + path + "\nno longer exists; it was taken off the recent-file list.";
}

}  // namespace tarn
