#pragma once
// Watches the files TARN shows for writes by other programs and hands each
// change to the core's reload decision. Their folders are watched too, so a
// file deleted and written again, however much later, is still followed.
#include <QFileSystemWatcher>
#include <QObject>

#include "app/live_reload.h"

namespace tarn {

class Application;

class OutsideEditWatch : public QObject {
    Q_OBJECT
public:
    OutsideEditWatch(Application& app, QObject* parent);

    // Follows the skins and maps shown now: new ones are watched, gone ones no
    // longer.
    void sync();
    // What the watcher reports for `path`; public so tests can stand in for it.
    void fileEvent(const QString& path);
    QStringList watched() const { return watcher_.files(); }

private:
    // A watched folder changed: a shown file in it may have been deleted,
    // written anew or renamed over, which a watch on the file alone misses.
    void folderEvent(const QString& folder);
    void handle(const QString& path, int attemptsLeft);

    LiveReload reload_;
    QFileSystemWatcher watcher_;
    QStringList wanted_;  // the files shown, absolute
};

}  // namespace tarn
