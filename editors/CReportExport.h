#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <optional>

#include "CAsBuiltExport.h"
#include "ReportInput.h"

class CEditorJournal;
class CMyPropSheet;
class QPushButton;
class QWidget;

// The sheet's report button: asks where the network's acceptance report goes and writes it
// from the whole journal of the network, against its stored plan when it has one; beside it,
// the network as built.
class CReportExport : public QObject {
    Q_OBJECT
public:
    // Where the report goes; empty when the user gave up.
    using PathChooser = std::function<QString(QWidget* parent, const QString& suggested)>;
    // Who signs the report, `last` offered; nothing when the user gave up.
    using TechnicianAsker =
        std::function<std::optional<QString>(QWidget* parent, const QString& last)>;

    // `network` tells the name of the network the sheet shows at the time of a click.
    CReportExport(CEditorJournal& journal, std::function<QString()> network);

    // Once, when the sheet's window is built.
    void Install(CMyPropSheet& sheet);
    void Save();
    void SetPathChooser(PathChooser chooser);
    void SetTechnicianAsker(TechnicianAsker asker);
    QPushButton* Button() const { return button; }
    CAsBuiltExport& AsBuilt() { return asBuilt; }

private:
    std::optional<ReportSite> AskSite();
    ReportInput InputOf(const QString& name, ReportSite site) const;
    // True when nothing is at `path` or the user said to replace it.
    bool MayReplace(const QString& path) const;
    // Where the report is written, with a way to open it.
    void TellWritten(const QString& path) const;

    CEditorJournal& journal;
    std::function<QString()> network;
    PathChooser chooser;
    TechnicianAsker askTechnician;
    QString technician;  // the last one named, offered again
    QWidget* window = nullptr;
    QPushButton* button = nullptr;
    CAsBuiltExport asBuilt;
};
