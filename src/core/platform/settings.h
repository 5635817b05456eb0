#pragma once
// Per-user settings: integers and strings by section and key, read with a
// default. The Qt application keeps them in QSettings; tests and tarn-cli use
// MemorySettings so that nobody's real settings are touched.
#include <map>
#include <string>
#include <utility>

namespace tarn {

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual int getInt(const std::string& section, const std::string& key, int def) const = 0;
    virtual std::string getString(const std::string& section, const std::string& key,
                                  const std::string& def) const = 0;
    virtual void setInt(const std::string& section, const std::string& key, int value) = 0;
    virtual void setString(const std::string& section, const std::string& key,
                           const std::string& value) = 0;
};

class MemorySettings final : public SettingsStore {
public:
    int getInt(const std::string& section, const std::string& key, int def) const override;
    std::string getString(const std::string& section, const std::string& key,
                          const std::string& def) const override;
    void setInt(const std::string& section, const std::string& key, int value) override;
    void setString(const std::string& section, const std::string& key,
                   const std::string& value) override;

    bool contains(const std::string& section, const std::string& key) const;

private:
    using Key = std::pair<std::string, std::string>;
    std::map<Key, int> ints_;
    std::map<Key, std::string> strings_;
};

// Section names of the store.
inline constexpr const char* kProject = "Project";
inline constexpr const char* kPreferences = "Preferences";
inline constexpr const char* kColors = "Colors";
// The value every folder and path key holds until the user gives one.
inline constexpr const char* kUnknown = "Unknown";

}  // namespace tarn
