#pragma once

#include <QByteArray>
#include <QString>

// What the sheet keeps from one run to the next besides the network's name, in the same
// state folder: the sheet's size and where the last report went.
namespace Remembered {

QByteArray SheetGeometry();
void SetSheetGeometry(const QByteArray& geometry);
// Empty when no report was written yet.
QString ReportFolder();
void SetReportFolder(const QString& folder);

}  // namespace Remembered
