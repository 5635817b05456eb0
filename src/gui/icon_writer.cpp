// tarn-icons DIR SIZE...: writes the application icon as DIR/SIZE.png for
// each size, for installing into the desktop's icon theme.
#include <QDir>
#include <QGuiApplication>
#include <cstdio>

#include "toolbar_icons.h"

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc < 3) {
        std::fputs("usage: tarn-icons DIR SIZE...\n", stderr);
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.mkpath(QStringLiteral("."))) return 1;
    for (int i = 2; i < argc; ++i) {
        const int side = QString::fromLocal8Bit(argv[i]).toInt();
        if (side < 1 || !tarn::drawApplicationIcon(side).save(dir.filePath(QString::number(side) + ".png"))) {
            std::fprintf(stderr, "tarn-icons: cannot write the %s icon\n", argv[i]);
            return 1;
        }
    }
    return 0;
}
