#include "preferences_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QVBoxLayout>

#include "intro_sound.h"

namespace tarn {

namespace {

constexpr int kIntroRandom = 8;
constexpr int kIntroCustom = 9;

QString q(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

PreferencesDialog::PreferencesDialog(const PreferencesValues& values, const PreferencesBrowsers& browsers,
                                     QWidget* parent)
    : QDialog(parent), initial_(values), sound_(new IntroSound(this)) {
    setWindowTitle(QStringLiteral("Preferences"));
    setObjectName(QStringLiteral("preferencesDialog"));
    auto* layout = new QVBoxLayout(this);

    auto* scanBox = new QGroupBox(QStringLiteral("Directory scan prompt (no internal skins)"), this);
    auto* scanLayout = new QHBoxLayout(scanBox);
    scan_ = new QButtonGroup(this);
    const std::array<std::pair<const char*, int>, 3> radios = {{{"Auto yes", 1004}, {"Auto no", 1010}, {"Prompt", 1011}}};
    for (int i = 0; i < 3; ++i) {
        auto* radio = new QRadioButton(QString::fromUtf8(radios[static_cast<std::size_t>(i)].first), scanBox);
        radio->setObjectName(QString::number(radios[static_cast<std::size_t>(i)].second));
        scan_->addButton(radio, i);
        scanLayout->addWidget(radio);
    }
    if (QAbstractButton* chosen = scan_->button(values.dirScanPrompt)) chosen->setChecked(true);
    layout->addWidget(scanBox);

    auto* grid = new QGridLayout;
    palette_ = pathRow(grid, 0, QStringLiteral("Default Colormap with Palette:"), 1005, 1006, browsers.palette);
    phong_ = pathRow(grid, 2, QStringLiteral("Default Phong Map Folder:"), 1007, 1008, browsers.phongFolder);
    env_ = pathRow(grid, 4, QStringLiteral("Default Environment Map Folder:"), 1009, 1014, browsers.envFolder);
    palette_->setText(q(values.palettePath));
    phong_->setText(q(values.phongPath));
    env_->setText(q(values.envPath));
    // The map folders are taken by their browse buttons alone, so typing there
    // would be thrown away: the fields only show the folders.
    phong_->setReadOnly(true);
    env_->setReadOnly(true);
    layout->addLayout(grid);

    auto* introBox = new QGroupBox(QStringLiteral("Intro Settings"), this);
    auto* introGrid = new QGridLayout(introBox);
    intro_ = new QComboBox(introBox);
    intro_->setObjectName(QStringLiteral("1021"));
    for (int i = 0; i < kIntroClipCount; ++i) intro_->addItem(IntroSound::clipName(i));
    intro_->addItem(QStringLiteral("Random"));
    intro_->addItem(QStringLiteral("Custom..."));
    introGrid->addWidget(intro_, 0, 0, 1, 2);
    wav_ = pathRow(introGrid, 1, QStringLiteral("Custom Intro .WAV:"), 1015, 1016, browsers.introWav);
    wav_->setText(q(values.introWav));
    wavBrowse_ = findChild<QPushButton*>(QStringLiteral("1016"));
    layout->addWidget(introBox);
    intro_->setCurrentIndex(values.introNumber);
    enableCustom(values.introNumber);
    connect(intro_, &QComboBox::activated, this, [this](int index) { introChosen(index); });

    skipIntro_ = new QCheckBox(QStringLiteral("Skip intro"), this);
    skipIntro_->setObjectName(QStringLiteral("1003"));
    skipIntro_->setChecked(values.skipIntro);
    quickExit_ = new QCheckBox(QStringLiteral("Quick exit"), this);
    quickExit_->setObjectName(QStringLiteral("1012"));
    quickExit_->setChecked(values.quickExit);
    palOnTop_ = new QCheckBox(QStringLiteral("Palette on Top"), this);
    palOnTop_->setObjectName(QStringLiteral("1013"));
    palOnTop_->setChecked(values.palOnTop);
    auto* checks = new QHBoxLayout;
    checks->addWidget(skipIntro_);
    checks->addWidget(quickExit_);
    checks->addWidget(palOnTop_);
    layout->addLayout(checks);
    reloadOutside_ = new QCheckBox(QStringLiteral("Reload files changed outside TARN"), this);
    reloadOutside_->setObjectName(QStringLiteral("reloadOutside"));
    reloadOutside_->setChecked(values.reloadOutside);
    layout->addWidget(reloadOutside_);
    classicKeys_ = new QCheckBox(QStringLiteral("Classic keys"), this);
    classicKeys_->setObjectName(QStringLiteral("classicKeys"));
    classicKeys_->setToolTip(QStringLiteral("Ctrl+Z reverts the skin and Alt+Backspace undoes, as in TARN's first versions"));
    classicKeys_->setChecked(values.classicKeys);
    layout->addWidget(classicKeys_);
    offerWeapon_ = new QCheckBox(QStringLiteral("Offer a player's weapon as a companion"), this);
    offerWeapon_->setObjectName(QStringLiteral("offerWeapon"));
    offerWeapon_->setChecked(values.offerWeapon);
    layout->addWidget(offerWeapon_);
    pressureStrength_ = new QCheckBox(QStringLiteral("Pen pressure sets the paint strength"), this);
    pressureStrength_->setObjectName(QStringLiteral("pressureStrength"));
    pressureStrength_->setToolTip(QStringLiteral("Off: a tablet pen's pressure sets the brush size"));
    pressureStrength_->setChecked(values.pressureStrength);
    layout->addWidget(pressureStrength_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    preview_.setSingleShot(true);
    preview_.setInterval(kPreviewMs);
    connect(&preview_, &QTimer::timeout, this, [this] { sound_->stop(); });
}

PreferencesDialog::~PreferencesDialog() { sound_->stop(); }

QLineEdit* PreferencesDialog::pathRow(QGridLayout* grid, int row, const QString& label, int editId,
                                      int buttonId, const std::function<std::optional<std::string>()>& browse) {
    grid->addWidget(new QLabel(label, this), row, 0, 1, 2);
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QString::number(editId));
    edit->setMinimumWidth(280);
    auto* button = new QPushButton(QStringLiteral("..."), this);
    button->setObjectName(QString::number(buttonId));
    button->setMaximumWidth(32);
    grid->addWidget(edit, row + 1, 0);
    grid->addWidget(button, row + 1, 1);
    connect(button, &QPushButton::clicked, this, [edit, browse] {
        if (!browse) return;
        if (auto text = browse()) edit->setText(q(*text));
    });
    return edit;
}

void PreferencesDialog::enableCustom(int index) {
    wav_->setEnabled(index == kIntroCustom);
    if (wavBrowse_) wavBrowse_->setEnabled(index == kIntroCustom);
}

void PreferencesDialog::introChosen(int index) {
    enableCustom(index);
    sound_->stop();
    if (index == kIntroCustom) {
        if (!sound_->playFile(wav_->text())) return;
    } else {
        int clip = index == kIntroRandom ? static_cast<int>(QRandomGenerator::global()->bounded(kIntroClipCount))
                                         : index;
        sound_->playClip(clip);
    }
    preview_.start();
}

void PreferencesDialog::done(int result) {
    preview_.stop();
    sound_->stop();
    QDialog::done(result);
}

PreferencesValues PreferencesDialog::values() const {
    PreferencesValues v = initial_;
    v.dirScanPrompt = scan_->checkedId() < 0 ? initial_.dirScanPrompt : scan_->checkedId();
    v.palettePath = palette_->text().toStdString();
    v.phongPath = phong_->text().toStdString();
    v.envPath = env_->text().toStdString();
    v.introNumber = intro_->currentIndex();
    v.introWav = wav_->text().toStdString();
    v.skipIntro = skipIntro_->isChecked();
    v.quickExit = quickExit_->isChecked();
    v.palOnTop = palOnTop_->isChecked();
    v.reloadOutside = reloadOutside_->isChecked();
    v.classicKeys = classicKeys_->isChecked();
    v.offerWeapon = offerWeapon_->isChecked();
    v.pressureStrength = pressureStrength_->isChecked();
    return v;
}

}  // namespace tarn
