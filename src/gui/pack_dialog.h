#pragma once
// "Pack Islands": the margin, the scale, the skin size, whether islands may
// turn and whether only the selected ones move; "Wasted Space" now and what
// the choices would leave, recomputed as they change.
#include <QDialog>

#include "platform/ui.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace tarn {

class PackDialog : public QDialog {
public:
    PackDialog(const PackIslandsShown& shown, QWidget* parent = nullptr);
    PackIslandsValues values() const;

private:
    void updatePreview();

    PackIslandsShown shown_;
    QSpinBox* margin_ = nullptr;
    QCheckBox* rotate_ = nullptr;
    QRadioButton* fit_ = nullptr;
    QRadioButton* given_ = nullptr;
    QRadioButton* shrink_ = nullptr;
    QSpinBox* width_ = nullptr;
    QSpinBox* height_ = nullptr;
    QCheckBox* selectedOnly_ = nullptr;
    QLabel* after_ = nullptr;
    QPushButton* ok_ = nullptr;
};

}  // namespace tarn
