#pragma once

#include <QImage>
#include <QString>

#include "CNetworkMap.h"
#include "ReportInput.h"

// The acceptance report of one network as HTML: who, when and where, the map as a picture,
// the counts, the anomalies and one row per ID with its latest exchange.
class CReportDocument {
public:
    explicit CReportDocument(const ReportInput& input);

    bool Empty() const { return input.entries.empty(); }
    // The page, its map picture named by `mapSource` (a resource name or a data: address).
    QString Html(const QString& mapSource) const;
    QImage MapImage() const;

private:
    QString Facts() const;
    QString Unread() const;
    QString Counts() const;
    QString Anomalies() const;
    QString Rows() const;
    QString Row(const QString& name, const MapCell& cell) const;

    const ReportInput& input;
    CNetworkMap map;
    int repeaterCount = 0;
};
