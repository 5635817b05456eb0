#pragma once
// "Resize Skins": the new width and height of every skin as whole numbers,
// and whether the usual skin limits are enforced.
#include <QDialog>

#include "platform/ui.h"

class QCheckBox;
class QDialogButtonBox;
class QLineEdit;

namespace tarn {

class ResizeDialog : public QDialog {
public:
    ResizeDialog(const ResizeSkinsValues& current, QWidget* parent = nullptr);
    ResizeSkinsValues values() const;

private:
    QLineEdit* addField(const QString& label, int controlId, int value);
    void updateOk();

    QLineEdit* width_ = nullptr;
    QLineEdit* height_ = nullptr;
    QCheckBox* enforce_ = nullptr;
    QDialogButtonBox* buttons_ = nullptr;
};

}  // namespace tarn
