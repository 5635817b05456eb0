#pragma once
// "Offset Companion Model": the three offsets of the current Companion as
// decimal numbers.
#include <QDialog>

#include "platform/ui.h"

class QLineEdit;
class QDialogButtonBox;

namespace tarn {

class OffsetDialog : public QDialog {
public:
    OffsetDialog(const CompanionOffsets& current, QWidget* parent = nullptr);
    CompanionOffsets offsets() const;

private:
    QLineEdit* addField(const QString& label, int controlId, float value);
    void updateOk();

    QLineEdit* x_ = nullptr;
    QLineEdit* y_ = nullptr;
    QLineEdit* z_ = nullptr;
    QDialogButtonBox* buttons_ = nullptr;
};

}  // namespace tarn
