#include "Remembered.h"

#include <QSettings>
#include <QVariant>

#include "CLastNetworkName.h"

namespace Remembered {

namespace {

constexpr char kSheetGeometry[] = "feuille/geometrie";
constexpr char kReportFolder[] = "rapport/dossier";

// Without a state folder nothing is kept: the values last for this run only.
QVariant Value(const char* key) {
    const QString folder = CLastNetworkName::StateFolder();
    if (folder.isEmpty()) {
        return {};
    }
    return QSettings(folder + QStringLiteral("/zav7305.ini"), QSettings::IniFormat)
        .value(QString::fromUtf8(key));
}

void SetValue(const char* key, const QVariant& value) {
    const QString folder = CLastNetworkName::StateFolder();
    if (!folder.isEmpty()) {
        QSettings(folder + QStringLiteral("/zav7305.ini"), QSettings::IniFormat)
            .setValue(QString::fromUtf8(key), value);
    }
}

}  // namespace

QByteArray SheetGeometry() {
    return Value(kSheetGeometry).toByteArray();
}

void SetSheetGeometry(const QByteArray& geometry) {
    SetValue(kSheetGeometry, geometry);
}

QString ReportFolder() {
    return Value(kReportFolder).toString();
}

void SetReportFolder(const QString& folder) {
    SetValue(kReportFolder, folder);
}

}  // namespace Remembered
