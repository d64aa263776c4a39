#include "HelpCommand.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

#include "MessageBoxes.h"

namespace {

const char* const kHelpFileMissing = "Le fichier d'aide %1 est introuvable.";
const char* const kNoHelpViewer = "Aucune visionneuse d'aide n'est installée pour ouvrir %1.";

}  // namespace

QString HelpFilePath() {
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') +
           QCoreApplication::applicationName() + QStringLiteral(".HLP");
}

void RunHelpCommand(QWidget* parent) {
    Q_UNUSED(parent);
    const QString path = HelpFilePath();
    if (!QFileInfo(path).isFile()) {
        AfxMessageBox(QString::fromUtf8(kHelpFileMissing).arg(path));
        return;
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path))) {
        AfxMessageBox(QString::fromUtf8(kNoHelpViewer).arg(path));
    }
}
