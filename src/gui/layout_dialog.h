#pragma once
// "Export Layout": how large the picture is, and what lies under the edges.
#include <QDialog>

#include "platform/ui.h"

class QCheckBox;
class QSpinBox;

namespace tarn {

class LayoutDialog : public QDialog {
public:
    LayoutDialog(const LayoutChoices& initial, QWidget* parent = nullptr);
    LayoutChoices values() const;

private:
    QSpinBox* scale_ = nullptr;
    QCheckBox* overSkin_ = nullptr;
    QCheckBox* fill_ = nullptr;
    QCheckBox* selectedOnly_ = nullptr;
};

}  // namespace tarn
