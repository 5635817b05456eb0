#include "layout_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QSpinBox>

namespace tarn {

namespace {

constexpr int kMaxScale = 8;

QCheckBox* addCheck(QFormLayout* form, QWidget* parent, const QString& text, const char* name, bool on) {
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setChecked(on);
    form->addRow(box);
    return box;
}

}  // namespace

LayoutDialog::LayoutDialog(const LayoutChoices& initial, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Export Layout"));
    setObjectName(QStringLiteral("exportLayoutDialog"));
    auto* form = new QFormLayout;
    setLayout(form);
    scale_ = new QSpinBox(this);
    scale_->setObjectName(QStringLiteral("scale"));
    scale_->setRange(1, kMaxScale);
    scale_->setSuffix(QStringLiteral(" x skin size"));
    scale_->setValue(initial.scale);
    form->addRow(QStringLiteral("Scale"), scale_);
    overSkin_ = addCheck(form, this, QStringLiteral("Over the skin"), "overSkin", initial.overSkin);
    fill_ = addCheck(form, this, QStringLiteral("Fill each island in its own colour"), "fill", initial.fill);
    selectedOnly_ = addCheck(form, this, QStringLiteral("Selected Triangles only"), "selectedOnly", initial.selectedOnly);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

LayoutChoices LayoutDialog::values() const {
    return LayoutChoices{scale_->value(), overSkin_->isChecked(), fill_->isChecked(), selectedOnly_->isChecked()};
}

}  // namespace tarn
