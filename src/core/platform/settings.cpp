#include "platform/settings.h"

namespace tarn {

int MemorySettings::getInt(const std::string& section, const std::string& key, int def) const {
    auto it = ints_.find({section, key});
    return it == ints_.end() ? def : it->second;
}

std::string MemorySettings::getString(const std::string& section, const std::string& key,
                                      const std::string& def) const {
    auto it = strings_.find({section, key});
    return it == strings_.end() ? def : it->second;
}

void MemorySettings::setInt(const std::string& section, const std::string& key, int value) {
    ints_[{section, key}] = value;
}

void MemorySettings::setString(const std::string& section, const std::string& key,
                               const std::string& value) {
    strings_[{section, key}] = value;
}

bool MemorySettings::contains(const std::string& section, const std::string& key) const {
    return ints_.count({section, key}) != 0 || strings_.count({section, key}) != 0;
}

}  // namespace tarn
