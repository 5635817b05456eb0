#pragma once
// The settings store on QSettings: organisation "Velgrim", application "TARN",
// one group per section. Tests pass their own QSettings file.
#include <QSettings>
#include <memory>

#include "platform/settings.h"

namespace tarn {

class QtSettings final : public SettingsStore {
public:
    QtSettings();                                   // the user's store
    explicit QtSettings(const QString& iniFile);    // a file of the caller's
    int getInt(const std::string& section, const std::string& key, int def) const override;
    std::string getString(const std::string& section, const std::string& key,
                          const std::string& def) const override;
    void setInt(const std::string& section, const std::string& key, int value) override;
    void setString(const std::string& section, const std::string& key,
                   const std::string& value) override;
    void sync() { settings_->sync(); }

private:
    static QString keyOf(const std::string& section, const std::string& key);
    std::unique_ptr<QSettings> settings_;
};

}  // namespace tarn
