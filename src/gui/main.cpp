#include <QApplication>
#include <QDir>

#include "app/startup.h"
#include "main_window.h"
#include "qt_settings.h"
#include "qt_ui.h"
#include "start_request.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName("Velgrim");
    QApplication::setApplicationName("TARN");

    tarn::StartupRequest request = tarn::startRequestFrom(QApplication::arguments());
    request.ctrlHeld = QGuiApplication::queryKeyboardModifiers() & Qt::ControlModifier;
    request.workingFolder = QDir::currentPath().toStdString();

    tarn::QtSettings settings;
    tarn::QtUi ui;
    tarn::MainWindow window(ui, settings);
    ui.setParent(&window);
    window.show();
    if (!window.start(request)) return 0;
    return QApplication::exec();
}
