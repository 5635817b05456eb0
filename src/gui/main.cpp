#include <QApplication>
#include <QDir>
#include <cstdio>
#include <cstring>

#include "app/startup.h"
#include "content_folder.h"
#include "main_window.h"
#include "qt_settings.h"
#include "qt_ui.h"
#include "start_request.h"

int main(int argc, char** argv) {
    // Answered before any window system is needed, so they work anywhere.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(tarn::kTarnUsage, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("tarn %s\n", TARN_VERSION);
            return 0;
        }
    }
    QApplication app(argc, argv);
    QApplication::setOrganizationName("Velgrim");
    QApplication::setApplicationName("TARN");
    QApplication::setApplicationVersion(TARN_VERSION);

    tarn::StartupRequest request = tarn::startRequestFrom(QApplication::arguments());
    request.ctrlHeld = QGuiApplication::queryKeyboardModifiers() & Qt::ControlModifier;
    request.workingFolder = QDir::currentPath().toStdString();

    tarn::QtSettings stored;
    const tarn::PreferenceDefaults content = tarn::contentDefaultsFor(QApplication::applicationDirPath());
    tarn::ContentDefaults settings(stored, content);
    tarn::QtUi ui;
    tarn::MainWindow window(ui, settings);
    if (!content.palettePath.empty()) window.app().preferenceDefaults = content;
    ui.setParent(&window);
    window.show();
    if (!window.start(request)) return 0;
    return QApplication::exec();
}
