#include "CSheetNetwork.h"

#include "CEditorJournal.h"
#include "CMyPropSheet.h"
#include "CNetworkMapView.h"
#include "MapCellTexts.h"
#include "MapTexts.h"

CSheetNetwork::CSheetNetwork(const Setup& setup)
    : journal(setup.journal),
      repeaterCount(setup.repeaterCount),
      nameField(
          setup.journal, setup.repeaterCount, setup.lastName, [this] { Rebuild(); },
          [this] { return follower.Started() && follower.Map().EntryCount() > 0; }),
      report(setup.journal, [this] { return nameField.Name(); }),
      journalChoice(setup.journal, [this] { Rebuild(); }),
      watch([this] { Follow(); }) {}

CSheetNetwork::~CSheetNetwork() = default;

void CSheetNetwork::Install(CMyPropSheet& sheet) {
    if (installed) {
        return;
    }
    installed = true;
    nameField.Install(sheet);
    report.Install(sheet);
    journalChoice.Install(sheet);
    view = new CNetworkMapView;
    sheet.SetBesidePages(view);
    Rebuild();
}

void CSheetNetwork::Rebuild() {
    follower.Start(journal.Folder(), Name().toStdString());
    if (view == nullptr) {
        return;
    }
    watch.Watch(QString::fromStdString(journal.Folder()));
    view->SetBands(repeaterCount);
    view->SetLegend(MapCellTexts::Legend());
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
    for (int32_t id : follower.TakeChangedDevices()) {
        view->SetDevice(id, MapCellTexts::DeviceCell(id, map.Device(id)));
        if (followLatest) {
            view->FollowDevice(id);
        }
    }
    for (int32_t param : follower.TakeChangedModemParams()) {
        view->SetModemParam(param, QString::fromUtf8(ParameterOfModemNumber(param)->name),
                            MapCellTexts::ModemCell(param, map.ModemParam(param)));
        if (followLatest) {
            view->FollowModemParam(param);
        }
    }
}

void CSheetNetwork::ShowCounts() {
    const size_t skipped = follower.TakeSkippedLines();
    view->SetSummary(QString::fromStdString(BandSummary(follower.Map(), repeaterCount)));
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
