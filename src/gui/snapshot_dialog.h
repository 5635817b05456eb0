#pragma once
// "Snapshots": the picture's size (the pane's, or a typed one) and its
// quality (true colour, smoothing and how sharp). Controls carry their ids
// as object names.
#include <QDialog>

#include "platform/ui.h"

class QCheckBox;
class QLineEdit;
class QRadioButton;
class QSlider;

namespace tarn {

class SnapshotDialog : public QDialog {
public:
    SnapshotDialog(const SnapshotOptions& initial, QWidget* parent = nullptr);
    // What the controls hold; the slider is read as OK closes the dialog.
    SnapshotOptions options() const;
    // Applies the enabling rules; run at start and on every click of the
    // size buttons and the two check boxes.
    void updateEnabling();

private:
    QRadioButton* default_ = nullptr;
    QRadioButton* custom_ = nullptr;
    QLineEdit* width_ = nullptr;
    QLineEdit* height_ = nullptr;
    QCheckBox* trueColour_ = nullptr;
    QCheckBox* smoothing_ = nullptr;
    QSlider* sharpness_ = nullptr;
};

}  // namespace tarn
