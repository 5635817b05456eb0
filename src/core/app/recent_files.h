#pragma once
// The recent-file list of the File menu: the four models opened or saved last,
// newest first, kept in the settings store where the framework keeps its own
// ("Recent File List", "File1" .. "File4").
#include <string>
#include <vector>

#include "platform/settings.h"

namespace tarn {

inline constexpr const char* kRecentFileSection = "Recent File List";
inline constexpr int kRecentFileCount = 4;

class RecentFiles {
public:
    // Reads the list; empty keys are gaps and are closed up.
    void load(const SettingsStore& settings);
    // Puts `path` first (moving it when it is already listed), drops what
    // falls off the end and stores the list.
    void add(SettingsStore& settings, const std::string& path);
    // Takes `path` out of the list and stores it.
    void remove(SettingsStore& settings, const std::string& path);
    const std::vector<std::string>& entries() const { return entries_; }

private:
    void store(SettingsStore& settings) const;
    std::vector<std::string> entries_;
};

// The File-menu text of entry `index` (0 first): "&1 path".
std::string recentFileMenuText(int index, const std::string& path);

// Said when a listed file is gone; the entry leaves the list.
std::string recentFileMissingMessage(const std::string& path);

}  // namespace tarn
