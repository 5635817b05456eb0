#include "resize_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QIntValidator>
#include <QLineEdit>
#include <QPushButton>

namespace tarn {

ResizeDialog::ResizeDialog(const ResizeSkinsValues& current, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Resize Skins"));
    setObjectName(QStringLiteral("resizeSkinsDialog"));
    auto* form = new QFormLayout;
    setLayout(form);
    width_ = addField(QStringLiteral("Width"), 1000, current.width);
    height_ = addField(QStringLiteral("Height"), 1001, current.height);
    enforce_ = new QCheckBox(QStringLiteral("Enforce Limits"), this);
    enforce_->setObjectName(QStringLiteral("1009"));
    enforce_->setChecked(current.enforceLimits);
    form->addRow(enforce_);
    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons_);
    updateOk();
}

QLineEdit* ResizeDialog::addField(const QString& label, int controlId, int value) {
    auto* edit = new QLineEdit(QString::number(value), this);
    edit->setObjectName(QString::number(controlId));
    // Zero and negative sizes are accepted here so the command can say why they are refused.
    edit->setValidator(new QIntValidator(edit));
    connect(edit, &QLineEdit::textChanged, this, [this] { updateOk(); });
    static_cast<QFormLayout*>(layout())->addRow(label, edit);
    return edit;
}

void ResizeDialog::updateOk() {
    const bool ok = width_ && height_ && width_->hasAcceptableInput() && height_->hasAcceptableInput();
    if (buttons_) buttons_->button(QDialogButtonBox::Ok)->setEnabled(ok);
}

ResizeSkinsValues ResizeDialog::values() const {
    return ResizeSkinsValues{width_->text().toInt(), height_->text().toInt(), enforce_->isChecked()};
}

}  // namespace tarn
