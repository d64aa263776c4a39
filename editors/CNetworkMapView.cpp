#include "CNetworkMapView.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QLabel>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <utility>

#include "EditorTexts.h"
#include "Parameters.h"
#include "PlanWalkTexts.h"

namespace {

constexpr int kColumns = 12;
constexpr int kCellWidth = 46;
constexpr int kCellHeight = 26;
// The cell's text, mark included, this much above the window's.
constexpr int kCellFontGrowth = 2;
// About half the IDs at a time; the cell sent next is scrolled into view.
constexpr int kBandsHeight = 250;
constexpr int kRecordLines = 7;

// The cell sent next has a thick solid frame; the one under the mouse a dashed one of another
// colour, and the one picked a double one: no two read alike, with or without colour.
QString CellStyle(DeviceState state, bool next) {
    const Rgb& fill = StateInfo(state).fill;
    const QString base = QStringLiteral(
                             "QToolButton { background-color: rgb(%1, %2, %3); "
                             "color: black; border: %4; }")
                             .arg(fill.red)
                             .arg(fill.green)
                             .arg(fill.blue)
                             .arg(next ? QStringLiteral("3px solid black")
                                       : QStringLiteral("1px solid rgb(128, 128, 128)"));
    return base + QStringLiteral(
                      " QToolButton:hover { border: 2px dashed rgb(0, 114, 178); }"
                      " QToolButton:checked { border: 3px double rgb(204, 121, 167); }");
}

void EmptyGrid(QGridLayout* grid) {
    while (QLayoutItem* item = grid->takeAt(0)) {
        delete item;
    }
}

}  // namespace

CNetworkMapView::CNetworkMapView(QWidget* parent) : QWidget(parent) {
    using namespace MapViewTexts;
    group = new QButtonGroup(this);
    group->setExclusive(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    summary = new QLabel;
    layout->addWidget(summary);

    auto* bands = new QWidget;
    auto* bandsLayout = new QVBoxLayout(bands);
    repeaterTitle = new QLabel;
    repeaterGrid = new QGridLayout;
    sensorTitle = new QLabel;
    sensorGrid = new QGridLayout;
    modemGrid = new QGridLayout;
    apartTitle = new QLabel(QString::fromUtf8(PlanWalkTexts::kApartBand));
    apartGrid = new QGridLayout;
    for (QGridLayout* grid : {repeaterGrid, sensorGrid, modemGrid, apartGrid}) {
        grid->setSpacing(1);
        grid->setAlignment(Qt::AlignLeft);
    }
    bandsLayout->addWidget(repeaterTitle);
    bandsLayout->addLayout(repeaterGrid);
    bandsLayout->addWidget(sensorTitle);
    bandsLayout->addLayout(sensorGrid);
    bandsLayout->addWidget(apartTitle);
    bandsLayout->addLayout(apartGrid);
    modemTitle = new QLabel(QString::fromUtf8(kModemBand));
    bandsLayout->addWidget(modemTitle);
    bandsLayout->addLayout(modemGrid);
    bandsLayout->addStretch();

    auto makeSlot = [this, bands]() {
        Slot slot;
        slot.button = new QToolButton(bands);
        slot.button->setCheckable(true);
        slot.button->setFixedSize(kCellWidth, kCellHeight);
        QFont font = slot.button->font();
        font.setPointSize(font.pointSize() + kCellFontGrowth);
        slot.button->setFont(font);
        group->addButton(slot.button);
        return slot;
    };
    for (int32_t id = kFirstDeviceId; id <= kLastId; ++id) {
        devices.push_back(makeSlot());
        devices.back().label = QString::number(id);
    }
    for (int32_t number = 1; number <= kModemParamCount; ++number) {
        modem.push_back(makeSlot());
        modem.back().label = QString::fromUtf8(ParameterOfModemNumber(number)->name);
    }
    for (std::vector<Slot>* row : {&devices, &modem}) {
        for (size_t i = 0; i < row->size(); ++i) {
            connect((*row)[i].button, &QToolButton::clicked, this, [this, row, i] {
                picked = true;
                Select((*row)[i]);
            });
        }
    }
    for (size_t i = 0; i < devices.size(); ++i) {
        connect(devices[i].button, &QToolButton::clicked, this,
                [this, i] { emit DeviceChosen(static_cast<int32_t>(i) + kFirstDeviceId); });
    }

    scroll = new QScrollArea;
    scroll->setWidget(bands);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setMinimumWidth(kColumns * (kCellWidth + 1) + 40);
    // At least about half the IDs; a larger sheet gives the map all its extra room.
    scroll->setMinimumHeight(kBandsHeight);
    layout->addWidget(scroll, 1);
    legend = new QLabel;
    layout->addWidget(legend);
    note = new QLabel;
    layout->addWidget(note);
    record = new QLabel(QString::fromUtf8(kChooseCell));
    record->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // Room for a whole record from the start: choosing a cell never resizes the sheet.
    record->setMinimumHeight(record->fontMetrics().lineSpacing() * kRecordLines);
    record->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    layout->addWidget(record);
    SetBands(0);
}

void CNetworkMapView::SetBands(int32_t count) {
    repeaterCount = std::clamp(count, kRepeaterCountRange.min, kRepeaterCountRange.max);
    repeaterTitle->setText(QString::fromUtf8(MapViewTexts::kRepeaterBand).arg(repeaterCount));
    sensorTitle->setText(
        QString::fromUtf8(MapViewTexts::kSensorBand).arg(repeaterCount + 1).arg(kLastId));
    repeaterTitle->setVisible(repeaterCount > 0);
    sensorTitle->setVisible(repeaterCount < kLastId);
    for (int32_t id = kFirstDeviceId; id <= kLastId; ++id) {
        SetDevice(id, {});
    }
    for (int32_t number = 1; number <= static_cast<int32_t>(modem.size()); ++number) {
        Slot& slot = modem[static_cast<size_t>(number - 1)];
        slot.cell = {};
        Paint(slot, number - 1 == highlightedModem);
    }
    PlaceCells();
    picked = false;
    record->setText(QString::fromUtf8(MapViewTexts::kChooseCell));
}

void CNetworkMapView::SetPlaces(Places shown) {
    places = std::move(shown);
    PlaceCells();
}

void CNetworkMapView::PlaceCells() {
    EmptyGrid(repeaterGrid);
    EmptyGrid(sensorGrid);
    EmptyGrid(modemGrid);
    EmptyGrid(apartGrid);
    apartTitle->setVisible(places.byPlan && !places.apart.empty());
    for (size_t i = 0; i < modem.size(); ++i) {
        modemGrid->addWidget(modem[i].button, 0, static_cast<int>(i));
    }
    if (places.byPlan) {
        PlaceByPlan();
        return;
    }
    for (int32_t id = kFirstDeviceId; id <= kLastId; ++id) {
        const bool repeater = id <= repeaterCount;
        const int32_t at = repeater ? id - 1 : id - repeaterCount - 1;
        QToolButton* button = devices[static_cast<size_t>(id - 1)].button;
        (repeater ? repeaterGrid : sensorGrid)->addWidget(button, at / kColumns, at % kColumns);
        button->setVisible(true);
    }
}

// The planned IDs one after another in their bands, whatever gaps the plan leaves.
void CNetworkMapView::PlaceByPlan() {
    for (Slot& slot : devices) {
        slot.button->setVisible(false);
    }
    std::array<int, 3> next{};
    const auto place = [this, &next](int32_t id, size_t grid) {
        if (id < kFirstDeviceId || id > kLastId) {
            return;
        }
        QGridLayout* layouts[] = {repeaterGrid, sensorGrid, apartGrid};
        QToolButton* button = devices[static_cast<size_t>(id - 1)].button;
        layouts[grid]->addWidget(button, next[grid] / kColumns, next[grid] % kColumns);
        ++next[grid];
        button->setVisible(true);
    };
    for (int32_t id : places.planned) {
        place(id, id <= repeaterCount ? 0 : 1);
    }
    for (int32_t id : places.apart) {
        place(id, 2);
    }
}

void CNetworkMapView::SetDevice(int32_t id, const Cell& cell) {
    if (id < 1 || id > kLastId) {
        return;
    }
    Slot& slot = devices[static_cast<size_t>(id - 1)];
    slot.cell = cell;
    Paint(slot, id - 1 == highlightedDevice);
    if (slot.button->isChecked()) {
        Select(slot);
    }
}

void CNetworkMapView::SetModemParam(int32_t number, const QString& name, const Cell& cell) {
    if (number < 1 || number > static_cast<int32_t>(modem.size())) {
        return;
    }
    Slot& slot = modem[static_cast<size_t>(number - 1)];
    slot.label = name;
    slot.cell = cell;
    Paint(slot, number - 1 == highlightedModem);
    if (slot.button->isChecked()) {
        Select(slot);
    }
}

void CNetworkMapView::SetSummary(const QString& text) {
    summary->setText(text);
}

void CNetworkMapView::SetLegend(const QString& text) {
    legend->setText(text);
}

void CNetworkMapView::SetNote(const QString& text) {
    note->setText(text);
    note->setVisible(!text.isEmpty());
}

void CNetworkMapView::HighlightDevice(int32_t id) {
    Highlight(devices, id - 1, highlightedDevice);
    if (highlightedDevice >= 0) {
        scroll->ensureWidgetVisible(devices[static_cast<size_t>(highlightedDevice)].button);
    }
}

void CNetworkMapView::HighlightModemParam(int32_t number) {
    Highlight(modem, number - 1, highlightedModem);
}

void CNetworkMapView::ShowModemBand() {
    scroll->ensureWidgetVisible(modemTitle);
    scroll->ensureWidgetVisible(modem.back().button);
}

void CNetworkMapView::FollowDevice(int32_t id) {
    if (id >= kFirstDeviceId && id <= kLastId) {
        Follow(devices[static_cast<size_t>(id - 1)]);
    }
}

void CNetworkMapView::FollowModemParam(int32_t number) {
    if (number >= 1 && number <= static_cast<int32_t>(modem.size())) {
        Follow(modem[static_cast<size_t>(number - 1)]);
    }
}

void CNetworkMapView::Follow(const Slot& slot) {
    if (!picked) {
        record->setText(slot.cell.record.isEmpty() ? slot.cell.words : slot.cell.record);
    }
}

void CNetworkMapView::Highlight(std::vector<Slot>& row, int index, int& current) {
    const int next = index >= 0 && index < static_cast<int>(row.size()) ? index : -1;
    if (next == current) {
        return;
    }
    if (current >= 0) {
        Paint(row[static_cast<size_t>(current)], false);
    }
    current = next;
    if (current >= 0) {
        Paint(row[static_cast<size_t>(current)], true);
    }
}

// The next cell stands out by its frame and bold text, so that it shows without colour.
void CNetworkMapView::Paint(Slot& slot, bool highlighted) {
    slot.button->setStyleSheet(CellStyle(slot.cell.state, highlighted));
    const QString mark =
        slot.cell.mark.isEmpty() ? QString::fromUtf8(MapViewTexts::kNoMark) : slot.cell.mark;
    slot.button->setText(slot.label + QLatin1Char(' ') + mark);
    slot.button->setAccessibleName(slot.cell.words);
    slot.button->setToolTip(slot.cell.words);
    slot.button->setAccessibleDescription(highlighted ? QString::fromUtf8(MapViewTexts::kNextCell)
                                                      : QString());
    QFont font = slot.button->font();
    font.setBold(highlighted);
    slot.button->setFont(font);
}

void CNetworkMapView::Select(const Slot& slot) {
    record->setText(slot.cell.record.isEmpty() ? slot.cell.words : slot.cell.record);
}

QAbstractButton* CNetworkMapView::DeviceCell(int32_t id) const {
    return id >= kFirstDeviceId && id <= kLastId ? devices[static_cast<size_t>(id - 1)].button
                                                 : nullptr;
}

QAbstractButton* CNetworkMapView::ModemCell(int32_t number) const {
    return number >= 1 && number <= static_cast<int32_t>(modem.size())
               ? modem[static_cast<size_t>(number - 1)].button
               : nullptr;
}

QString CNetworkMapView::RecordShown() const {
    return record->text();
}

QString CNetworkMapView::SummaryShown() const {
    return summary->text();
}

QString CNetworkMapView::NoteShown() const {
    return note->text();
}

#include "moc_CNetworkMapView.cpp"
