#pragma once
#include <QMainWindow>

namespace tarn {

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);

    // The smallest outer size the window can be given.
    static constexpr int kMinWidth = 516;
    static constexpr int kMinHeight = 360;
};

}  // namespace tarn
