#pragma once
// "Preferences": the settings of the run, with a preview of the intro sound.
#include <QDialog>
#include <QTimer>
#include <functional>
#include <optional>
#include <string>

#include "platform/ui.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QLineEdit;
class QPushButton;

namespace tarn {

class IntroSound;

class PreferencesDialog : public QDialog {
public:
    PreferencesDialog(const PreferencesValues& values, const PreferencesBrowsers& browsers,
                      QWidget* parent = nullptr);
    ~PreferencesDialog() override;

    PreferencesValues values() const;
    IntroSound& sound() { return *sound_; }
    bool previewRunning() const { return preview_.isActive(); }

    // The preview plays this long before it stops by itself.
    static constexpr int kPreviewMs = 15000;

protected:
    void done(int result) override;

private:
    void introChosen(int index);
    void enableCustom(int index);
    QLineEdit* pathRow(QGridLayout* grid, int row, const QString& label, int editId, int buttonId,
                       const std::function<std::optional<std::string>()>& browse);

    PreferencesValues initial_;
    QButtonGroup* scan_ = nullptr;
    QLineEdit* palette_ = nullptr;
    QLineEdit* phong_ = nullptr;
    QLineEdit* env_ = nullptr;
    QComboBox* intro_ = nullptr;
    QLineEdit* wav_ = nullptr;
    QPushButton* wavBrowse_ = nullptr;
    QCheckBox* skipIntro_ = nullptr;
    QCheckBox* quickExit_ = nullptr;
    QCheckBox* palOnTop_ = nullptr;
    QCheckBox* reloadOutside_ = nullptr;
    QCheckBox* classicKeys_ = nullptr;
    QCheckBox* offerWeapon_ = nullptr;
    QCheckBox* pressureStrength_ = nullptr;
    IntroSound* sound_ = nullptr;
    QTimer preview_;
};

}  // namespace tarn
