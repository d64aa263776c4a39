#include "HelpCommand.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include "MessageBoxes.h"

namespace {

const char* const kHelpFileMissing = "Le fichier d'aide %1 est introuvable.";
const char* const kNoHelpViewer = "Aucune visionneuse d'aide n'est installée pour ouvrir %1.";

QString& GuideFolderOverride() {
    static QString folder;
    return folder;
}

bool RunsFromBuildTree() {
#ifdef ZAV_BUILD_DIR
    const QString build = QDir::cleanPath(QStringLiteral(ZAV_BUILD_DIR));
    const QString exe = QDir::cleanPath(QCoreApplication::applicationDirPath());
    return exe == build || exe.startsWith(build + QLatin1Char('/'));
#else
    return false;
#endif
}

// Beside the program first, so that a tree installed under another prefix, or moved, still
// finds its own guide.
QString InstalledGuideFolder() {
#ifdef ZAV_HELP_FROM_BIN
    const QString beside = QDir::cleanPath(QCoreApplication::applicationDirPath() +
                                           QStringLiteral("/" ZAV_HELP_FROM_BIN));
    if (QFileInfo(beside).isDir()) {
        return beside;
    }
#endif
    return QString::fromUtf8(ZAV_HELP_INSTALL_DIR);
}

}  // namespace

QString HelpGuideFolder() {
    if (!GuideFolderOverride().isEmpty()) {
        return GuideFolderOverride();
    }
#if defined(ZAV_HELP_SOURCE_DIR) && defined(ZAV_HELP_INSTALL_DIR)
    return RunsFromBuildTree() ? QString::fromUtf8(ZAV_HELP_SOURCE_DIR) : InstalledGuideFolder();
#else
    return QCoreApplication::applicationDirPath();
#endif
}

void SetHelpGuideFolder(const QString& folder) {
    GuideFolderOverride() = folder;
}

QString HelpFilePath(const QString& topic) {
    const QString page = topic.isEmpty() ? QCoreApplication::applicationName() : topic;
    return HelpGuideFolder() + QLatin1Char('/') + page + QStringLiteral(".html");
}

void RunHelpCommand(const QString& topic) {
    const QString path = HelpFilePath(topic);
    if (!QFileInfo(path).isFile()) {
        AfxMessageBox(QString::fromUtf8(kHelpFileMissing).arg(path));
        return;
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path))) {
        AfxMessageBox(QString::fromUtf8(kNoHelpViewer).arg(path));
    }
}
