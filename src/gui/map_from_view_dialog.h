#pragma once
// "Map from 3D View": the projection (Perspective or Parallel) and the three
// switches, shown at their defaults each time it opens.
#include <QDialog>

#include "platform/ui.h"

class QCheckBox;
class QRadioButton;

namespace tarn {

class MapFromViewDialog : public QDialog {
public:
    explicit MapFromViewDialog(const MapFromViewOptions& defaults, QWidget* parent = nullptr);
    MapFromViewOptions options() const;

private:
    QRadioButton* perspective_ = nullptr;
    QRadioButton* parallel_ = nullptr;
    QCheckBox* noBackfaces_ = nullptr;
    QCheckBox* flip_ = nullptr;
    QCheckBox* mirror_ = nullptr;
};

}  // namespace tarn
