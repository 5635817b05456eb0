#include <QApplication>

#include "main_window.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName("Velgrim");
    QApplication::setApplicationName("TARN");
    tarn::MainWindow window;
    window.show();
    return QApplication::exec();
}
