#pragma once

#include <QString>
#include <QWidget>
#include <cstdint>
#include <vector>

#include "MapStates.h"
#include "Parameters.h"

class QAbstractButton;
class QButtonGroup;
class QGridLayout;
class QLabel;
class QScrollArea;
class QToolButton;

// The map of a network beside the sheet's pages: a cell per ID in two bands (repeaters
// 1..N, sensors N+1..kLastDeviceId) and one per modem parameter. A cell tells its state by its
// colour, a mark and words (its tooltip and accessible name), never by colour alone. Under the
// map stands the record of the latest exchange, or of the cell the user picked.
class CNetworkMapView : public QWidget {
    Q_OBJECT
public:
    static constexpr int32_t kLastId = kLastDeviceId;

    struct Cell {
        DeviceState state = DeviceState::kNotProgrammed;
        QString mark;
        QString words;  // the accessible name
        QString record;
    };
    // Which IDs have cells: every one, or by a site's plan only the planned IDs in the
    // bands and, apart from them, the IDs done that the plan does not hold.
    struct Places {
        bool byPlan = false;
        std::vector<int32_t> planned;
        std::vector<int32_t> apart;
    };

    explicit CNetworkMapView(QWidget* parent = nullptr);

    // Empties every cell; the bands split after ID `repeaterCount`.
    void SetBands(int32_t repeaterCount);
    void SetPlaces(Places places);
    void SetDevice(int32_t id, const Cell& cell);
    // `number` is the modem page's (1..kModemParamCount).
    void SetModemParam(int32_t number, const QString& name, const Cell& cell);
    void SetSummary(const QString& summary);
    // What each mark stands for.
    void SetLegend(const QString& legend);
    // Under the map: skipped journal lines, a network without a name.
    void SetNote(const QString& note);
    // The cell the shown page sends next; -1 for none.
    void HighlightDevice(int32_t id);
    void HighlightModemParam(int32_t number);
    // The modem's band scrolled into view, as when its page is shown.
    void ShowModemBand();
    // The latest exchange changed this cell: its record is shown unless the user picked one.
    void FollowDevice(int32_t id);
    void FollowModemParam(int32_t number);

    // Null outside kFirstDeviceId..kLastId and 1..kModemParamCount.
    QAbstractButton* DeviceCell(int32_t id) const;
    QAbstractButton* ModemCell(int32_t number) const;
    QString RecordShown() const;
    QString SummaryShown() const;
    QString NoteShown() const;

signals:
    // A device's cell was clicked.
    void DeviceChosen(int32_t id);

private:
    struct Slot {
        QToolButton* button = nullptr;
        Cell cell;
        QString label;
    };

    QWidget* MakeBand(QLabel*& title, QGridLayout*& grid);
    void PlaceCells();
    void PlaceByPlan();
    void Paint(Slot& slot, bool highlighted);
    void Highlight(std::vector<Slot>& row, int index, int& current);
    void Select(const Slot& slot);
    void Follow(const Slot& slot);

    int32_t repeaterCount = 0;
    std::vector<Slot> devices;  // index id - 1
    std::vector<Slot> modem;    // index number - 1
    int highlightedDevice = -1;
    int highlightedModem = -1;
    QLabel* summary = nullptr;
    QLabel* legend = nullptr;
    QLabel* note = nullptr;
    QLabel* repeaterTitle = nullptr;
    QLabel* sensorTitle = nullptr;
    QLabel* apartTitle = nullptr;
    QGridLayout* apartGrid = nullptr;
    Places places;
    QGridLayout* repeaterGrid = nullptr;
    QGridLayout* sensorGrid = nullptr;
    QGridLayout* modemGrid = nullptr;
    QScrollArea* scroll = nullptr;
    QButtonGroup* group = nullptr;
    QLabel* record = nullptr;
    QLabel* modemTitle = nullptr;
    bool picked = false;
};
