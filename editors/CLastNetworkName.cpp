#include "CLastNetworkName.h"

#include <QDir>
#include <QFileInfo>
#include <utility>

#include "CReplacingFile.h"
#include "ReadOwnFile.h"

namespace {

constexpr char kFileName[] = "reseau";
// A name is one line, as long as the name field lets it be (32767 characters of up to three
// bytes each); a longer file is not one we wrote.
constexpr size_t kMaxBytes = 3 * 32767 + 1;

}  // namespace

QString CLastNetworkName::StateFolder() {
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

CLastNetworkName::CLastNetworkName()
    : filePath(StateFolder().isEmpty() ? QString() : StateFolder() + QLatin1Char('/') + kFileName) {
}

CLastNetworkName::CLastNetworkName(QString filePath) : filePath(std::move(filePath)) {}

// A link, a FIFO or a device in its place is not read: the name then lasts for this run.
QString CLastNetworkName::Load() const {
    std::string bytes;
    if (filePath.isEmpty() || ReadOwnFile(filePath.toStdString(), kMaxBytes, bytes) != FILE_OK) {
        return {};
    }
    // A file saved by hand may lack its final line feed: the line is whole all the same.
    return QString::fromStdString(bytes.substr(0, bytes.find('\n'))).trimmed();
}

bool CLastNetworkName::Save(const QString& name) const {
    if (filePath.isEmpty() || !QDir().mkpath(QFileInfo(filePath).path())) {
        return false;
    }
    // Written aside and renamed, so a crash never leaves half a name; never through a link.
    return ReplaceFile(filePath.toStdString(), name.trimmed().toStdString() + '\n') == FILE_OK;
}
