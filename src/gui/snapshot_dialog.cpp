#include "snapshot_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

#include "render/snapshot.h"

namespace tarn {

namespace {

// Wide enough to type any size; the command checks the range.
constexpr int kMaxTypedSide = 99999;

template <typename W>
W* named(W* widget, int id) {
    widget->setObjectName(QString::number(id));
    return widget;
}

}  // namespace

SnapshotDialog::SnapshotDialog(const SnapshotOptions& initial, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Snapshots"));
    setObjectName(QStringLiteral("snapshotDialog"));

    auto* size = new QGroupBox(QStringLiteral("Image Size"), this);
    auto* sizeGrid = new QGridLayout(size);
    default_ = named(new QRadioButton(QStringLiteral("Default"), size), 1004);
    custom_ = named(new QRadioButton(QStringLiteral("Custom:"), size), 1010);
    auto sideEdit = [&](int id, int value) {
        auto* edit = named(new QLineEdit(QString::number(value), size), id);
        edit->setValidator(new QIntValidator(0, kMaxTypedSide, edit));
        return edit;
    };
    width_ = sideEdit(1007, initial.width);
    height_ = sideEdit(1008, initial.height);
    sizeGrid->addWidget(default_, 0, 0);
    sizeGrid->addWidget(custom_, 1, 0);
    sizeGrid->addWidget(new QLabel(QStringLiteral("Width"), size), 1, 1);
    sizeGrid->addWidget(width_, 1, 2);
    sizeGrid->addWidget(new QLabel(QStringLiteral("Height"), size), 2, 1);
    sizeGrid->addWidget(height_, 2, 2);
    (initial.custom ? custom_ : default_)->setChecked(true);

    auto* quality = new QGroupBox(QStringLiteral("Output Quality"), this);
    auto* qualityGrid = new QGridLayout(quality);
    trueColour_ = named(new QCheckBox(QStringLiteral("24 Bit Color"), quality), 1014);
    smoothing_ = named(new QCheckBox(QStringLiteral("Smoothing:"), quality), 1015);
    sharpness_ = named(new QSlider(Qt::Horizontal, quality), 1013);
    sharpness_->setRange(0, kSnapshotSliderMax);
    trueColour_->setChecked(initial.trueColour);
    smoothing_->setChecked(initial.smoothing);
    sharpness_->setValue(initial.sharpness);
    qualityGrid->addWidget(trueColour_, 0, 0, 1, 3);
    qualityGrid->addWidget(smoothing_, 1, 0, 1, 3);
    qualityGrid->addWidget(new QLabel(QStringLiteral("Blurry"), quality), 2, 0);
    qualityGrid->addWidget(sharpness_, 2, 1);
    qualityGrid->addWidget(new QLabel(QStringLiteral("Sharp"), quality), 2, 2);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(size);
    layout->addWidget(quality);
    layout->addWidget(buttons);

    for (QAbstractButton* b : {static_cast<QAbstractButton*>(default_), static_cast<QAbstractButton*>(custom_),
                               static_cast<QAbstractButton*>(trueColour_), static_cast<QAbstractButton*>(smoothing_)})
        connect(b, &QAbstractButton::clicked, this, &SnapshotDialog::updateEnabling);
    updateEnabling();
}

void SnapshotDialog::updateEnabling() {
    width_->setEnabled(!default_->isChecked());
    height_->setEnabled(!default_->isChecked());
    smoothing_->setEnabled(trueColour_->isChecked());
    sharpness_->setEnabled(trueColour_->isChecked() && smoothing_->isChecked());
}

SnapshotOptions SnapshotDialog::options() const {
    SnapshotOptions o;
    o.custom = custom_->isChecked();
    o.width = width_->text().toInt();
    o.height = height_->text().toInt();
    o.trueColour = trueColour_->isChecked();
    o.smoothing = smoothing_->isChecked();
    o.sharpness = sharpness_->value();
    return o;
}

}  // namespace tarn
