#include "pack_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>
#include <exception>

#include "edit/pack_islands.h"

namespace tarn {

namespace {

constexpr int kPreviewWidth = 320;
constexpr int kWorkingMs = 150;

QSpinBox* spinBox(int low, int high, int value, QWidget* parent) {
    auto* box = new QSpinBox(parent);
    box->setRange(low, high);
    box->setValue(value);
    return box;
}

}  // namespace

PackDialog::PackDialog(const PackIslandsShown& shown, QWidget* parent) : QDialog(parent), shown_(shown) {
    setWindowTitle(QStringLiteral("Pack Islands"));
    setObjectName(QStringLiteral("packIslandsDialog"));
    const PackIslandsValues& v = shown.values;
    auto* form = new QFormLayout;
    setLayout(form);

    margin_ = spinBox(0, kMaxPackMargin, v.margin, this);
    margin_->setObjectName(QStringLiteral("margin"));
    form->addRow(QStringLiteral("Margin (texels)"), margin_);

    auto* keep = new QRadioButton(QStringLiteral("Keep scale"), this);
    fit_ = new QRadioButton(QStringLiteral("Fit the skin"), this);
    fit_->setObjectName(QStringLiteral("fit"));
    (v.fitScale ? fit_ : keep)->setChecked(true);
    auto* scaleRow = new QHBoxLayout;
    scaleRow->addWidget(keep);
    scaleRow->addWidget(fit_);
    form->addRow(QStringLiteral("Scale"), scaleRow);

    auto* current = new QRadioButton(QStringLiteral("Current"), this);
    given_ = new QRadioButton(QStringLiteral("Given"), this);
    shrink_ = new QRadioButton(QStringLiteral("Shrink"), this);
    shrink_->setObjectName(QStringLiteral("shrink"));
    auto* sizes = new QButtonGroup(this);
    for (QRadioButton* b : {current, given_, shrink_}) sizes->addButton(b);
    (v.size == PackSizeChoice::Shrink ? shrink_ : v.size == PackSizeChoice::Given ? given_ : current)->setChecked(true);
    auto* sizeRow = new QHBoxLayout;
    sizeRow->addWidget(current);
    sizeRow->addWidget(given_);
    sizeRow->addWidget(shrink_);
    form->addRow(QStringLiteral("Skin size"), sizeRow);
    width_ = spinBox(1, kMaxImageWidth, std::max(v.width, 1), this);
    height_ = spinBox(1, kMaxImageRows, std::max(v.height, 1), this);
    auto* givenRow = new QHBoxLayout;
    givenRow->addWidget(width_);
    givenRow->addWidget(new QLabel(QStringLiteral("x"), this));
    givenRow->addWidget(height_);
    form->addRow(QString(), givenRow);

    rotate_ = new QCheckBox(QStringLiteral("Quarter turns and mirror images"), this);
    rotate_->setChecked(v.rotate);
    form->addRow(rotate_);
    selectedOnly_ = new QCheckBox(QStringLiteral("Selected islands only"), this);
    selectedOnly_->setChecked(v.selectedOnly);
    form->addRow(selectedOnly_);

    form->addRow(QStringLiteral("Wasted Space"), new QLabel(QString::number(shown.wastedBefore) + "%", this));
    after_ = new QLabel(this);
    after_->setObjectName(QStringLiteral("after"));
    form->addRow(QStringLiteral("After packing"), after_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    // A long refusal wraps rather than widening the dialog at every choice.
    after_->setWordWrap(true);
    after_->setMinimumWidth(kPreviewWidth);
    after_->setMaximumWidth(kPreviewWidth);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);

    const auto changed = [this] { updatePreview(); };
    connect(margin_, &QSpinBox::valueChanged, this, changed);
    connect(width_, &QSpinBox::valueChanged, this, changed);
    connect(height_, &QSpinBox::valueChanged, this, changed);
    for (QAbstractButton* b : std::initializer_list<QAbstractButton*>{keep, fit_, current, given_, shrink_, rotate_,
                                                                       selectedOnly_})
        connect(b, &QAbstractButton::toggled, this, changed);
    updatePreview();
}

PackIslandsValues PackDialog::values() const {
    PackIslandsValues v;
    v.margin = margin_->value();
    v.rotate = rotate_->isChecked();
    v.fitScale = fit_->isChecked();
    v.size = shrink_->isChecked() ? PackSizeChoice::Shrink
             : given_->isChecked() ? PackSizeChoice::Given
                                   : PackSizeChoice::Current;
    v.width = width_->value();
    v.height = height_->value();
    v.selectedOnly = selectedOnly_->isChecked();
    return v;
}

struct PackDialog::PreviewRun {
    Progress progress;
    PackIslandsShown::Preview result;
};

PackDialog::~PackDialog() {
    if (!run_) return;
    run_->progress.stop();
    worker_.join();
}

void PackDialog::updatePreview() {
    width_->setEnabled(given_->isChecked());
    height_->setEnabled(given_->isChecked());
    if (!shown_.preview) return;
    // OK waits for the verdict on the choices as they now stand.
    ok_->setEnabled(false);
    if (run_) {
        stale_ = true;
        run_->progress.stop();
        return;
    }
    startPreview();
}

void PackDialog::startPreview() {
    stale_ = false;
    run_ = std::make_unique<PreviewRun>();
    // The label keeps the last verdict for a moment, so quick choices do not flicker.
    QTimer::singleShot(kWorkingMs, this, [this, run = run_.get()] {
        if (run_.get() == run) after_->setText(QStringLiteral("Working it out..."));
    });
    worker_ = std::thread([this, run = run_.get(), preview = shown_.preview, v = values()] {
        try {
            run->result = preview(v, run->progress);
        } catch (const std::exception& e) {
            run->result = {e.what(), false};
        }
        // Posted to the dialog, which never goes before this thread ends.
        QMetaObject::invokeMethod(this, [this] { previewFinished(); }, Qt::QueuedConnection);
    });
}

void PackDialog::previewFinished() {
    worker_.join();
    const PackIslandsShown::Preview result = std::move(run_->result);
    run_.reset();
    if (stale_) {
        startPreview();
        return;
    }
    after_->setText(QString::fromStdString(result.text));
    ok_->setEnabled(result.ok);
}

}  // namespace tarn
