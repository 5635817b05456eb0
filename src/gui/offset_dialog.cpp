#include "offset_dialog.h"

#include <QDialogButtonBox>
#include <QDoubleValidator>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

namespace tarn {

namespace {
// Single precision holds about six significant decimal digits.
constexpr int kSignificantDigits = 6;
}  // namespace

OffsetDialog::OffsetDialog(const CompanionOffsets& current, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Offset Companion Model"));
    setObjectName(QStringLiteral("offsetCompanionDialog"));
    auto* form = new QFormLayout;
    setLayout(form);
    x_ = addField(QStringLiteral("X offset"), 1000, current.x);
    y_ = addField(QStringLiteral("Y offset"), 1001, current.y);
    z_ = addField(QStringLiteral("Z offset"), 1002, current.z);
    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons_);
    updateOk();
}

QLineEdit* OffsetDialog::addField(const QString& label, int controlId, float value) {
    auto* edit = new QLineEdit(QString::number(static_cast<double>(value), 'g', kSignificantDigits), this);
    edit->setObjectName(QString::number(controlId));
    auto* validator = new QDoubleValidator(edit);
    validator->setLocale(QLocale::c());
    validator->setNotation(QDoubleValidator::ScientificNotation);
    edit->setValidator(validator);
    connect(edit, &QLineEdit::textChanged, this, [this] { updateOk(); });
    static_cast<QFormLayout*>(layout())->addRow(label, edit);
    return edit;
}

void OffsetDialog::updateOk() {
    bool ok = x_ && y_ && z_ && x_->hasAcceptableInput() && y_->hasAcceptableInput() &&
              z_->hasAcceptableInput();
    if (buttons_) buttons_->button(QDialogButtonBox::Ok)->setEnabled(ok);
}

CompanionOffsets OffsetDialog::offsets() const {
    auto value = [](const QLineEdit* e) { return QLocale::c().toFloat(e->text()); };
    return CompanionOffsets{value(x_), value(y_), value(z_)};
}

}  // namespace tarn
