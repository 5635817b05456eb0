#include "content_folder.h"

#include <QDir>
#include <QFileInfo>

namespace tarn {

QString findContentFolder(const QString& programFolder) {
    const QDir program(programFolder);
    for (const QString& candidate : {QStringLiteral("../share/tarn"), QStringLiteral("content")}) {
        const QString folder = QDir::cleanPath(program.absoluteFilePath(candidate));
        if (QFileInfo(folder + QStringLiteral("/colormap.pcx")).isFile()) return QDir::toNativeSeparators(folder);
    }
    return {};
}

QString findUserGuide(const QString& programFolder) {
    const QDir program(programFolder);
    const QString guide = QStringLiteral("/guide.html");
    for (const QString& folder : {program.absoluteFilePath(QStringLiteral("../share/tarn/doc")),
                                  QStringLiteral(TARN_DOCS_DIR)}) {
        const QString path = QDir::cleanPath(folder + guide);
        if (QFileInfo(path).isFile()) return QDir::toNativeSeparators(path);
    }
    return {};
}

PreferenceDefaults contentDefaultsFor(const QString& programFolder) {
    const QString folder = findContentFolder(programFolder);
    return folder.isEmpty() ? PreferenceDefaults{} : PreferenceDefaults::inFolder(folder.toStdString());
}

}  // namespace tarn
