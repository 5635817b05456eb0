#include "qt_settings.h"

namespace tarn {

QtSettings::QtSettings() : settings_(std::make_unique<QSettings>("Velgrim", "TARN")) {}

QtSettings::QtSettings(const QString& iniFile)
    : settings_(std::make_unique<QSettings>(iniFile, QSettings::IniFormat)) {}

QString QtSettings::keyOf(const std::string& section, const std::string& key) {
    return QString::fromStdString(section) + '/' + QString::fromStdString(key);
}

int QtSettings::getInt(const std::string& section, const std::string& key, int def) const {
    bool ok = false;
    int v = settings_->value(keyOf(section, key), def).toInt(&ok);
    return ok ? v : def;
}

std::string QtSettings::getString(const std::string& section, const std::string& key,
                                  const std::string& def) const {
    QVariant v = settings_->value(keyOf(section, key));
    return v.isValid() ? v.toString().toStdString() : def;
}

void QtSettings::setInt(const std::string& section, const std::string& key, int value) {
    settings_->setValue(keyOf(section, key), value);
}

void QtSettings::setString(const std::string& section, const std::string& key,
                           const std::string& value) {
    settings_->setValue(keyOf(section, key), QString::fromStdString(value));
}

}  // namespace tarn
