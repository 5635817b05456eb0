#pragma once
// "Pack Islands": the margin, the scale, the skin size, whether islands may
// turn and whether only the selected ones move; "Wasted Space" now and what
// the choices would leave, recomputed as they change. The recomputing runs
// on a thread of its own, so the dialog answers at once on any model; a
// choice changed while it runs asks it to stop, and only the latest choices
// are worked out.
#include <QDialog>
#include <memory>
#include <thread>

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
    ~PackDialog() override;
    PackIslandsValues values() const;
    // True while a preview is being worked out (tests wait on it).
    bool previewPending() const { return run_ != nullptr || stale_; }

private:
    struct PreviewRun;
    void updatePreview();
    void startPreview();
    void previewFinished();

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
    std::unique_ptr<PreviewRun> run_;
    std::thread worker_;
    bool stale_ = false;  // the choices changed since `run_` started
};

}  // namespace tarn
