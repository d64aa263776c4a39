#pragma once

#include <QObject>
#include <QString>
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "CNetworkMap.h"

class CEditorJournal;
class CJournalFollower;
class CLastNetworkName;
class CMyPropSheet;
class CNetworkMapView;
class QLineEdit;
class QPushButton;
class QWidget;

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
    // Where the report goes; empty when the user gave up.
    using PathChooser = std::function<QString(QWidget* parent, const QString& suggested)>;

    explicit CSheetNetwork(const Setup& setup);
    ~CSheetNetwork() override;

    // Once, when the sheet's window is built.
    void Install(CMyPropSheet& sheet);
    // A new name starts another network; the same name keeps the map as it is.
    void SetName(const QString& name);
    QString Name() const { return name; }
    // Takes in the journal lines appended since the last look.
    void Follow();
    // The shown page's next send; -1 for none.
    void ShowNext(int32_t deviceId, int32_t modemParam);
    void SaveReport();
    void SetPathChooser(PathChooser chooser);

    CNetworkMapView* View() const { return view; }
    QLineEdit* NameField() const { return nameField; }
    QPushButton* ReportButton() const { return reportButton; }

protected:
    // Enter and Escape in the name field stay there: neither sends nor closes the sheet.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnNameEdited();
    void Rebuild();
    void ShowChanged();
    // True once per change of the cell's latest exchange; `shown` keeps what was drawn.
    static bool Changed(const MapCell& cell, std::string& shown);
    void ShowDevice(int32_t id);
    void ShowModemParam(int32_t param);
    void ShowCounts();
    // True when nothing is at `path` or the user said to replace it.
    bool MayReplace(const QString& path) const;

    CEditorJournal& journal;
    int32_t repeaterCount;
    const CLastNetworkName& lastName;
    QString name;
    PathChooser chooser;
    CNetworkMap map;
    std::unique_ptr<CJournalFollower> follower;
    size_t shownSkipped = 0;
    std::vector<std::string> shownUnreadable;
    std::array<std::string, kLastDeviceId + 1> shownDevices;
    std::array<std::string, kModemParamCount + 1> shownModem;
    QWidget* window = nullptr;
    CNetworkMapView* view = nullptr;
    QLineEdit* nameField = nullptr;
    QPushButton* reportButton = nullptr;
};
