#include "CJournalWatch.h"

#include <QDir>
#include <utility>

#include "JournalFormat.h"

namespace {

// Only the latest days are written to; older files stay as they are.
constexpr int kWatchedFiles = 16;
// Long enough to take a burst of writes as one change, far below what a user waits for.
constexpr int kSettleMs = 100;

}  // namespace

CJournalWatch::CJournalWatch(std::function<void()> changed)
    : changed(std::move(changed)), watcher(new QFileSystemWatcher(this)), settle(new QTimer(this)) {
    settle->setSingleShot(true);
    settle->setInterval(kSettleMs);
    connect(watcher, &QFileSystemWatcher::directoryChanged, this, &CJournalWatch::Changed);
    connect(watcher, &QFileSystemWatcher::fileChanged, this, &CJournalWatch::Changed);
    connect(settle, &QTimer::timeout, this, [this] {
        WatchLatestFiles();
        this->changed();
    });
}

void CJournalWatch::Watch(const QString& newFolder) {
    if (newFolder == folder) {
        WatchLatestFiles();  // the folder may have been made since
        return;
    }
    const QStringList watched = watcher->files() + watcher->directories();
    if (!watched.isEmpty()) {
        watcher->removePaths(watched);
    }
    folder = newFolder;
    if (!folder.isEmpty() && QDir(folder).exists()) {
        watcher->addPath(folder);
    }
    WatchLatestFiles();
}

void CJournalWatch::Changed() {
    settle->start();
}

void CJournalWatch::WatchLatestFiles() {
    QStringList latest;
    const QStringList names =
        QDir(folder).entryList({QStringLiteral("*.csv")}, QDir::Files, QDir::Name | QDir::Reversed);
    for (const QString& name : names) {
        if (latest.size() == kWatchedFiles) {
            break;
        }
        if (JournalFormat::IsFileName(name.toStdString())) {
            latest << QDir(folder).filePath(name);
        }
    }
    QStringList unwatched;
    for (const QString& path : latest) {
        if (!watcher->files().contains(path)) {
            unwatched << path;
        }
    }
    if (!unwatched.isEmpty()) {
        watcher->addPaths(unwatched);
    }
    if (watcher->directories().isEmpty() && QDir(folder).exists()) {
        watcher->addPath(folder);
    }
}

#include "moc_CJournalWatch.cpp"
