#pragma once
// The About box: TARN's name and version over the model statistics.
#include <QDialog>
#include <vector>

#include "platform/ui.h"

namespace tarn {

class AboutDialog : public QDialog {
public:
    AboutDialog(const std::vector<StatisticsRow>& rows, QWidget* parent = nullptr);
};

}  // namespace tarn
