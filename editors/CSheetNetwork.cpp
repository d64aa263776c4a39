#include "CSheetNetwork.h"

#include <algorithm>

#include "CEditorJournal.h"
#include "CMyPropSheet.h"
#include "CNetworkMapView.h"
#include "CPlanStore.h"
#include "CSheetPage.h"
#include "MapCellTexts.h"
#include "MapTexts.h"
#include "PlanStates.h"
#include "PlanWalkTexts.h"

CSheetNetwork::CSheetNetwork(const Setup& setup)
    : journal(setup.journal),
      repeaterCount(setup.repeaterCount),
      nameField(
          setup.journal, setup.repeaterCount, setup.lastName, [this] { Rebuild(); },
          [this] { return follower.Started() && follower.Map().EntryCount() > 0; }),
      report(setup.journal, [this] { return nameField.Name(); }),
      journalChoice(setup.journal, [this] { Rebuild(); }),
      watch([this] { Follow(); }),
      plan(CPlanStore::FolderBeside(setup.journal.Folder()), setup.repeaterCount),
      planImport(plan.Folder(), [this](const QString& network) { PlanImported(network); }) {}

CSheetNetwork::~CSheetNetwork() = default;

void CSheetNetwork::Install(CMyPropSheet& sheet) {
    if (installed) {
        return;
    }
    installed = true;
    this->sheet = &sheet;
    nameField.Install(sheet);
    planImport.Install(sheet);
    report.Install(sheet);
    journalChoice.Install(sheet);
    view = new CNetworkMapView;
    sheet.SetBesidePages(plan.MakePanel(view, &sheet, [this] { GoToNextToDo(); }));
    connect(view, &CNetworkMapView::DeviceChosen, this, &CSheetNetwork::GoToCell);
    Rebuild();
}

void CSheetNetwork::Rebuild() {
    follower.Start(journal.Folder(), Name().toStdString());
    plan.Load(Name().toStdString());
    if (view == nullptr) {
        return;
    }
    watch.Watch(QString::fromStdString(journal.Folder()));
    view->SetBands(repeaterCount);
    view->SetLegend(Plan() != nullptr ? MapCellTexts::PlanLegend() : MapCellTexts::Legend());
    apart.clear();
    PlaceCells();
    follower.TakeNew();
    ShowChanged(false);
    ShowCounts();
}

void CSheetNetwork::Follow() {
    if (!follower.Started() || view == nullptr) {
        return;
    }
    const bool news = follower.TakeNew();
    if (news) {
        ShowChanged(true);
    }
    if (news || follower.CountsChanged()) {
        ShowCounts();
    }
}

// Only the cells whose latest exchange changed are drawn again. After the sheet's own send
// that is its cell alone, whose record the panel under the map then shows.
void CSheetNetwork::ShowChanged(bool followLatest) {
    const CNetworkMap& map = follower.Map();
    const SitePlan* planned = Plan();
    const size_t apartBefore = apart.size();
    for (int32_t id : follower.TakeChangedDevices()) {
        view->SetDevice(id, planned == nullptr ? MapCellTexts::DeviceCell(id, map.Device(id))
                                               : MapCellTexts::PlanDeviceCell(id, *planned, map));
        if (planned != nullptr && planned->Find(id) == nullptr &&
            map.Device(id).state != DeviceState::kNotProgrammed) {
            apart.push_back(id);
        }
        if (followLatest) {
            view->FollowDevice(id);
        }
    }
    for (int32_t param : follower.TakeChangedModemParams()) {
        const QString name = QString::fromUtf8(ParameterOfModemNumber(param)->name);
        view->SetModemParam(param, name,
                            planned == nullptr
                                ? MapCellTexts::ModemCell(param, map.ModemParam(param))
                                : MapCellTexts::PlanModemCell(param, *planned, map));
        if (followLatest) {
            view->FollowModemParam(param);
        }
    }
    if (apart.size() != apartBefore) {
        PlaceCells();
    }
}

void CSheetNetwork::PlaceCells() {
    const SitePlan* planned = Plan();
    CNetworkMapView::Places places;
    if (planned != nullptr) {
        places.byPlan = true;
        for (const PlannedDevice& device : planned->Devices()) {
            places.planned.push_back(device.id);
        }
        std::sort(apart.begin(), apart.end());
        apart.erase(std::unique(apart.begin(), apart.end()), apart.end());
        places.apart = apart;
    }
    view->SetPlaces(std::move(places));
}

void CSheetNetwork::ShowCounts() {
    const size_t skipped = follower.TakeSkippedLines();
    const SitePlan* planned = Plan();
    view->SetSummary(QString::fromStdString(planned != nullptr
                                                ? PlanSummary(*planned, follower.Map())
                                                : BandSummary(follower.Map(), repeaterCount)));
    view->SetNote(MapCellTexts::Notes(Name().isEmpty(), skipped, follower.TakeUnreadableFiles(),
                                      follower.TakeLeftAside()));
}

void CSheetNetwork::ShowNext(int32_t deviceId, int32_t modemParam) {
    if (view != nullptr) {
        view->HighlightDevice(deviceId);
        view->HighlightModemParam(modemParam);
        // Only the modem's page sends to no device.
        if (deviceId < 0) {
            view->ShowModemBand();
        }
    }
}

CSheetPage* CSheetNetwork::ActivePage() const {
    return sheet != nullptr ? dynamic_cast<CSheetPage*>(sheet->GetPage(sheet->GetActiveIndex()))
                            : nullptr;
}

void CSheetNetwork::GoToNextToDo() {
    CSheetPage* page = ActivePage();
    const SitePlan* planned = Plan();
    if (page == nullptr || planned == nullptr || !page->PlanBand()) {
        return;
    }
    Follow();
    if (const std::optional<int32_t> id = FirstToDo(*planned, follower.Map(), *page->PlanBand())) {
        page->GoToId(*id);
    } else {
        plan.ShowLine(QString::fromUtf8(PlanWalkTexts::kBandDone));
    }
}

// Only a walk by plan takes its ID from the map.
void CSheetNetwork::GoToCell(int32_t id) {
    CSheetPage* page = ActivePage();
    if (page != nullptr && Plan() != nullptr) {
        page->GoToId(id);
    }
}

// The sheet shows the plan's network at once, its pages on the plan's values.
void CSheetNetwork::PlanImported(const QString& network) {
    if (network == Name()) {
        Rebuild();
    } else {
        SetName(network);
    }
    if (CSheetPage* page = ActivePage(); page != nullptr && page->NextDeviceId() >= 0) {
        page->GoToId(page->NextDeviceId());
    } else if (sheet != nullptr) {
        sheet->PageChanged();
    }
}

#include "moc_CSheetNetwork.cpp"
