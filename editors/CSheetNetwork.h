#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <vector>

#include "CJournalChoice.h"
#include "CJournalWatch.h"
#include "CMapFollower.h"
#include "CNetworkNameField.h"
#include "CPlanImport.h"
#include "CReportExport.h"
#include "CSheetPlan.h"

class CEditorJournal;
class CLastNetworkName;
class CMyPropSheet;
class CNetworkMapView;
class CSheetPage;
class QLineEdit;
class QPushButton;

// The network the sheet commissions: its name in the button row, its map beside the pages
// and its acceptance report. The map is built from the journal when the sheet opens and
// then follows what is appended to it, by this sheet or by the command line.
class CSheetNetwork : public QObject {
    Q_OBJECT
public:
    struct Setup {
        CEditorJournal& journal;
        int32_t repeaterCount;
        const CLastNetworkName& lastName;
    };
    using PathChooser = CReportExport::PathChooser;

    explicit CSheetNetwork(const Setup& setup);
    ~CSheetNetwork() override;

    // Once, when the sheet's window is built.
    void Install(CMyPropSheet& sheet);
    // A new name starts another network; the same name keeps the map as it is.
    void SetName(const QString& name) { nameField.SetName(name); }
    QString Name() const { return nameField.Name(); }
    // Takes in the journal lines appended since the last look.
    void Follow();
    // The shown page's next send; -1 for none.
    void ShowNext(int32_t deviceId, int32_t modemParam);
    void SaveReport() { report.Save(); }
    void SetPathChooser(PathChooser chooser) { report.SetPathChooser(std::move(chooser)); }
    void SetAsBuiltPathChooser(PathChooser chooser) {
        report.AsBuilt().SetPathChooser(std::move(chooser));
    }
    void SetTechnicianAsker(CReportExport::TechnicianAsker asker) {
        report.SetTechnicianAsker(std::move(asker));
    }

    // The network's stored plan; null without one.
    const SitePlan* Plan() const { return plan.Plan(); }
    // The shown page's line about the plan's values.
    void ShowPlanLine(const QString& line) { plan.ShowLine(line); }
    // The active page's ID field takes the first planned ID of its band not yet conforme.
    void GoToNextToDo();
    CSheetPlan& SheetPlan() { return plan; }
    CPlanImport& PlanImport() { return planImport; }

    CNetworkMapView* View() const { return view; }
    QLineEdit* NameField() const { return nameField.Field(); }
    QPushButton* ReportButton() const { return report.Button(); }
    CJournalChoice& JournalChoice() { return journalChoice; }
    QPushButton* AsBuiltButton() { return report.AsBuilt().Button(); }

private:
    void Rebuild();
    void ShowChanged(bool followLatest);
    void ShowCounts();
    void PlaceCells();
    void GoToCell(int32_t id);
    void PlanImported(const QString& network);
    CSheetPage* ActivePage() const;

    CEditorJournal& journal;
    int32_t repeaterCount;
    CNetworkNameField nameField;
    CReportExport report;
    CJournalChoice journalChoice;
    CJournalWatch watch;
    CSheetPlan plan;
    CPlanImport planImport;
    CMyPropSheet* sheet = nullptr;
    std::vector<int32_t> apart;  // done, not planned: their cells stand apart
    CMapFollower follower;
    bool installed = false;
    CNetworkMapView* view = nullptr;
};
