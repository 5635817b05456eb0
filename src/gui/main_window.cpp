#include "main_window.h"

namespace tarn {

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(QStringLiteral("TARN"));
    setMinimumSize(kMinWidth, kMinHeight);
    resize(1024, 720);
}

}  // namespace tarn
