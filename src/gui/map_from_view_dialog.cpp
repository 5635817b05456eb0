#include "map_from_view_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tarn {

namespace {

// Control ids kept as object names, so tests can find each control.
template <class Control>
Control* control(const char* text, int id, bool checked, QWidget* parent) {
    auto* c = new Control(QString::fromLatin1(text), parent);
    c->setObjectName(QString::number(id));
    c->setChecked(checked);
    return c;
}

}  // namespace

MapFromViewDialog::MapFromViewDialog(const MapFromViewOptions& defaults, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Map from 3D View"));
    setObjectName(QStringLiteral("mapFromViewDialog"));
    auto* layout = new QVBoxLayout(this);

    auto* projection = new QGroupBox(QStringLiteral("Projection"), this);
    auto* projectionLayout = new QVBoxLayout(projection);
    perspective_ = control<QRadioButton>("Perspective", 1016, !defaults.parallel, projection);
    parallel_ = control<QRadioButton>("Parallel", 1017, defaults.parallel, projection);
    auto* group = new QButtonGroup(this);
    group->addButton(perspective_);
    group->addButton(parallel_);
    projectionLayout->addWidget(perspective_);
    projectionLayout->addWidget(parallel_);
    layout->addWidget(projection);

    noBackfaces_ = control<QCheckBox>("No Backfaces", 1018, defaults.noBackfaces, this);
    flip_ = control<QCheckBox>("Flip", 1019, defaults.flip, this);
    mirror_ = control<QCheckBox>("Mirror", 1020, defaults.mirror, this);
    for (QCheckBox* box : {noBackfaces_, flip_, mirror_}) layout->addWidget(box);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

MapFromViewOptions MapFromViewDialog::options() const {
    return MapFromViewOptions{parallel_->isChecked(), noBackfaces_->isChecked(), flip_->isChecked(),
                              mirror_->isChecked()};
}

}  // namespace tarn
