#pragma once

#include <QImage>
#include <QString>

#include "CNetworkMap.h"
#include "ReportInput.h"

// The acceptance record of one network as HTML: for whom, by whom, when and the overall
// verdict, the map as a picture, the counts and anomalies, one row per device sent, the
// incident history, the signature boxes and where the report's facts came from.
class CReportDocument {
public:
    explicit CReportDocument(const ReportInput& input);

    bool Empty() const { return input.entries.empty(); }
    // The page, its map picture named by `mapSource` (a resource name or a data: address).
    QString Html(const QString& mapSource) const;
    QImage MapImage() const;

private:
    QString Cover() const;
    QString Counts() const;
    QString ModemCount() const;
    QString PlanCounts() const;
    const SitePlan* Plan() const;
    QString Anomalies() const;
    QString Signatures() const;
    QString Provenance() const;
    QString Unread() const;

    const ReportInput& input;
    CNetworkMap map;
    int repeaterCount = 0;
};
