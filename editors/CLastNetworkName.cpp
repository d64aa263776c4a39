#include "CLastNetworkName.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <utility>

namespace {

constexpr char kFileName[] = "reseau";
// A name is one line; anything longer than this in the file is not one we wrote.
constexpr qint64 kMaxBytes = 4096;

QString StateFolder() {
    const QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.startsWith(QLatin1Char('/'))) {
        return state + QStringLiteral("/zav7305");
    }
    const QString home = qEnvironmentVariable("HOME");
    if (home.startsWith(QLatin1Char('/'))) {
        return home + QStringLiteral("/.local/state/zav7305");
    }
    return {};
}

}  // namespace

CLastNetworkName::CLastNetworkName()
    : filePath(StateFolder().isEmpty() ? QString() : StateFolder() + QLatin1Char('/') + kFileName) {
}

CLastNetworkName::CLastNetworkName(QString filePath) : filePath(std::move(filePath)) {}

QString CLastNetworkName::Load() const {
    QFile file(filePath);
    if (filePath.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QByteArray bytes = file.read(kMaxBytes);
    return QString::fromUtf8(bytes.left(bytes.indexOf('\n'))).trimmed();
}

bool CLastNetworkName::Save(const QString& name) const {
    if (filePath.isEmpty() || !QDir().mkpath(QFileInfo(filePath).path())) {
        return false;
    }
    // Written aside and renamed, so a crash never leaves half a name.
    QSaveFile file(filePath);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    file.write(name.trimmed().toUtf8() + '\n');
    return file.commit();
}
