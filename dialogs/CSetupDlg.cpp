#include "CSetupDlg.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <string>

#include "CCustomConfigDlg.h"
#include "CDefaultSheet.h"
#include "CDropDownCombo.h"
#include "CLoginDlg.h"
#include "CPortDirectory.h"
#include "CSystemClock.h"
#include "JournalSettings.h"
#include "MessageBoxes.h"
#include "SortedCombo.h"

const QString CSetupDlg::kWindowText = QStringLiteral("Zav7305");
const QString CSetupDlg::kModeError = QStringLiteral("Erreur TYPE");
const QString CSetupDlg::kNoPortSelected = QStringLiteral("Aucun port série n'est sélectionné.");

namespace {

const QString kSerialSettingsPieces[] = {
    QStringLiteral("\r\n      Bits par seconde : 19200  \r\n"),
    QStringLiteral("  Bits de données  : 8    \r\n"),
    QStringLiteral("Parité           : Aucun  \r\n"),
    QStringLiteral("Bits d'arrêt     : 1      \r\n"),
};

}  // namespace

CSetupDlg::CSetupDlg(QWidget* parent)
    : CTemplateDialog(kTemplateId, parent),
      clock(&CSystemClock::Instance()),
      journal(JournalSettings::UserFolder()) {}

CSetupDlg::~CSetupDlg() = default;

void CSetupDlg::SetClock(IClock* newClock) {
    clock = newClock != nullptr ? newClock : &CSystemClock::Instance();
}

void CSetupDlg::SetPortDirectory(const CPortDirectory* directory) {
    portDirectory = directory;
}

void CSetupDlg::SetAboutOpener(std::function<void(QWidget*)> opener) {
    aboutOpener = std::move(opener);
}

void CSetupDlg::DoDataExchange(CDataExchange& dx) {
    repeaterCountControl = Item<QLineEdit>(kIdRepeaterCount);
    portControl = Item<QComboBox>(kIdPort);
    dx.Int(kIdRepeaterCount, repeaterCount, kMinRepeaters, kMaxRepeaters);
    dx.Radio(kIdCustom, configMode);
    dx.Text(kIdSerialSettings, serialSettingsText, kSerialSettingsMaxChars);
}

bool CSetupDlg::OnInitDialog() {
    CTemplateDialog::OnInitDialog();
    serialSettingsText.clear();
    for (const QString& piece : kSerialSettingsPieces) {
        serialSettingsText += piece;
    }
    UpdateData(false);
    FillPortControl(EnumeratePorts());
    if (auto* ok = Item<QPushButton>(kIdOk)) {
        ok->setDefault(true);
        ok->setEnabled(true);
    }
    setWindowTitle(kWindowText);
    return true;
}

int CSetupDlg::EnumeratePorts() {
    const CPortDirectory machine;
    const CPortDirectory& directory = portDirectory != nullptr ? *portDirectory : machine;
    int count = 0;
    for (const PortEntry& entry : directory.List()) {
        if (count == kMaxPorts) {
            break;
        }
        PortList.names[count] = QString::fromStdString(entry.name);
        PortList.numbers[count] = entry.number;
        ++count;
    }
    // What an earlier reading left beyond this one is no port any more.
    for (int i = count; i < kMaxPorts; ++i) {
        PortList.names[i].clear();
        PortList.numbers[i] = 0;
    }
    return count;
}

void CSetupDlg::FillPortControl(int count) {
    if (portControl == nullptr) {
        return;
    }
    AddPortNames(count);
    portControl->setCurrentIndex(count > 0 ? 0 : -1);
    ShowNameStart();
    connect(portControl, &QComboBox::currentIndexChanged, this, &CSetupDlg::ShowNameStart,
            Qt::UniqueConnection);
    if (auto* dropDown = qobject_cast<CDropDownCombo*>(portControl)) {
        connect(dropDown, &CDropDownCombo::aboutToShowPopup, this, &CSetupDlg::RefreshPorts,
                Qt::UniqueConnection);
    }
}

void CSetupDlg::AddPortNames(int count) {
    portControl->clear();
    for (int i = 0; i < count; ++i) {
        AddSortedString(portControl, PortList.names[i], PortList.numbers[i]);
    }
}

// Adapters come and go while the dialog is open: the list is read again each time it drops
// down. The chosen port stays chosen while it exists; once it is gone none is, and the user
// picks again, so that OK can never open another port than the one the user chose.
void CSetupDlg::RefreshPorts() {
    const int chosen = portControl->currentIndex();
    const QString chosenName = chosen >= 0 ? portControl->itemText(chosen) : QString();
    const int count = EnumeratePorts();
    const QSignalBlocker quiet(portControl);
    AddPortNames(count);
    portControl->setCurrentIndex(
        chosen >= 0 ? portControl->findText(chosenName, Qt::MatchExactly | Qt::MatchCaseSensitive)
                    : -1);
    ShowNameStart();
}

// Long names ("COM101 (ttyUSB0: …)") are read from their start.
void CSetupDlg::ShowNameStart() {
    if (QLineEdit* edit = portControl->lineEdit()) {
        edit->setCursorPosition(0);
    }
}

// Text typed into the port field deselects the entry unless it spells one exactly.
bool CSetupDlg::SelectedPortNumber(int32_t& number) const {
    if (portControl == nullptr) {
        return false;
    }
    int index = portControl->currentIndex();
    if (index >= 0 && portControl->itemText(index) != portControl->currentText()) {
        index = portControl->findText(portControl->currentText(),
                                      Qt::MatchExactly | Qt::MatchCaseSensitive);
    }
    if (index < 0) {
        return false;
    }
    number = portControl->itemData(index).toInt();
    return true;
}

void CSetupDlg::OnOK() {
    if (!SelectedPortNumber(portNumber)) {
        AfxMessageBox(kNoPortSelected);
        return;
    }
    OpenEditor();
}

void CSetupDlg::OnCommand(int id) {
    switch (id) {
        case kIdDefault:
            ChooseMode(kModeDefault);
            break;
        case kIdCustom:
            ChooseMode(kModeCustom);
            break;
        case kIdAbout:
            if (aboutOpener) {
                aboutOpener(this);
            }
            break;
        case kIdLogin:
            Relogin();
            break;
        default:
            CTemplateDialog::OnCommand(id);
            break;
    }
}

void CSetupDlg::OnEditChange(int id) {
    if (id == kIdRepeaterCount) {
        UpdateData(true);
    }
}

void CSetupDlg::ChooseMode(int32_t mode) {
    Form().EnableItem(kIdRepeaterCount, mode == kModeDefault);
    configMode = mode;
}

void CSetupDlg::OpenEditor() {
    int code = 0;
    switch (configMode) {
        case kModeCustom:
            code = RunCustomDialog();
            break;
        case kModeDefault:
            code = RunSheet();
            break;
        default:
            AfxMessageBox(kModeError);
            return;
    }
    if (code == kIdQuitter) {
        EndDialog(kIdQuitter);
    }
}

int CSetupDlg::RunCustomDialog() {
    CCustomConfigDlg dialog(journal);
    dialog.portNumber = portNumber;
    dialog.isClient = isClient;
    dialog.SetClock(clock);
    dialog.SetTiming(timing);
    return RunHidden([&dialog] { return dialog.DoModal(); });
}

int CSetupDlg::RunSheet() {
    // The sheet opens either way: a refused count keeps its last valid value.
    UpdateData(true);
    CDefaultSheet sheet(
        repeaterPage, sensorPage,
        {portNumber, isClient, repeaterCount, *clock, journal, lastNetwork, timing});
    return RunHidden([&sheet] { return sheet.DoModal(); });
}

void CSetupDlg::Relogin() {
    CLoginDlg login;
    if (RunHidden([&login] { return login.DoModal(); }) == 1) {
        isClient = login.role == CLoginDlg::kRoleClient ? 1 : 0;
    }
}

#include "moc_CSetupDlg.cpp"
