#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

// Watches the journal's folder, so that what another machine's record brings (a file a sync
// tool renames into place, a line appended to a day file) reaches the map without a click.
// The folder and its latest day files are watched; `changed` runs from a timer of the event
// loop, never inside an exchange's wait, once for a burst of changes.
class CJournalWatch : public QObject {
    Q_OBJECT
public:
    explicit CJournalWatch(std::function<void()> changed);

    // Another folder; nothing when it is the one watched.
    void Watch(const QString& folder);
    const QString& Folder() const { return folder; }

private:
    void Changed();
    void WatchLatestFiles();

    std::function<void()> changed;
    QString folder;
    QFileSystemWatcher* watcher;
    QTimer* settle;
};
