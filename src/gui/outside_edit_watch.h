#pragma once
// Watches the files TARN shows for writes by other programs and hands each
// change to the core's reload decision.
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
    void handle(const QString& path, int attemptsLeft);

    LiveReload reload_;
    QFileSystemWatcher watcher_;
};

}  // namespace tarn
