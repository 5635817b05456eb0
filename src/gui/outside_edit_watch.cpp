#include "outside_edit_watch.h"

#include <QFileInfo>
#include <QTimer>

#include "app/application.h"

namespace tarn {

namespace {

// Editors that delete and then write leave no file for a moment; a change is
// picked up within a second when the path is looked at again this often.
constexpr int kRetryMs = 200;
constexpr int kRetries = 5;

}  // namespace

OutsideEditWatch::OutsideEditWatch(Application& app, QObject* parent) : QObject(parent), reload_(app) {
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &OutsideEditWatch::fileEvent);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &OutsideEditWatch::folderEvent);
}

void OutsideEditWatch::sync() {
    QStringList wanted;
    for (const std::string& file : reload_.shownFiles()) {
        const QString path = QFileInfo(QString::fromStdString(file)).absoluteFilePath();
        if (!wanted.contains(path)) wanted << path;
    }
    QStringList folders;
    for (const QString& path : wanted) {
        const QString folder = QFileInfo(path).absolutePath();
        if (!folders.contains(folder)) folders << folder;
    }
    QStringList gone;
    for (const QString& path : watcher_.files())
        if (!wanted.contains(path)) gone << path;
    for (const QString& folder : watcher_.directories())
        if (!folders.contains(folder)) gone << folder;
    if (!gone.isEmpty()) watcher_.removePaths(gone);
    QStringList added;
    for (const QString& path : wanted)
        if (!watcher_.files().contains(path) && QFileInfo::exists(path)) added << path;
    for (const QString& folder : folders)
        if (!watcher_.directories().contains(folder) && QFileInfo(folder).isDir()) added << folder;
    if (!added.isEmpty()) watcher_.addPaths(added);
    wanted_ = wanted;
}

void OutsideEditWatch::folderEvent(const QString& folder) {
    // Whatever else changed in the folder, each shown file is judged by its
    // own state: one that is as it was costs a look and nothing more.
    // A copy: a reload refreshes the window, which syncs the watch anew.
    const QStringList shown = wanted_;
    for (const QString& path : shown)
        if (QFileInfo(path).absolutePath() == folder && QFileInfo::exists(path)) handle(path, 0);
}

void OutsideEditWatch::fileEvent(const QString& path) { handle(path, kRetries); }

void OutsideEditWatch::handle(const QString& path, int attemptsLeft) {
    // A file renamed over the watched one is a new file: the watcher let go of
    // the old one and has to be told to watch the new.
    if (!watcher_.files().contains(path) && QFileInfo::exists(path)) watcher_.addPath(path);
    const bool there = QFileInfo::exists(path);
    const OutsideChange change = there ? reload_.fileChanged(path.toStdString()) : OutsideChange::None;
    // A stroke may last any time; a missing file is given up after a second.
    if (change == OutsideChange::Later)
        QTimer::singleShot(kRetryMs, this, [this, path, attemptsLeft] { handle(path, attemptsLeft); });
    else if (!there && attemptsLeft > 0)
        QTimer::singleShot(kRetryMs, this, [this, path, attemptsLeft] { handle(path, attemptsLeft - 1); });
}

}  // namespace tarn
