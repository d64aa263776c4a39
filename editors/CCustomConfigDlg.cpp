#include "CCustomConfigDlg.h"

#include <QLabel>

#include "CExchange.h"
#include "CSystemClock.h"
#include "EditorTexts.h"
#include "ExchangeFeedback.h"
#include "MessageBoxes.h"
#include "ParameterFields.h"
#include "StringTable.h"
#include "VerdictDisplay.h"

using namespace ParameterFields;

namespace {
constexpr char kJournalEditorName[] = "Configuration personnalisée";
}  // namespace

CCustomConfigDlg::CCustomConfigDlg(QWidget* parent)
    : CTemplateDialog(kTemplateId, parent),
      StatusText(QString::fromUtf8(EditorTexts::kNoConfigCapital)),
      clock(&CSystemClock::Instance()),
      icon(QString::fromUtf8(EditorTexts::kWindowIcon)) {}

CCustomConfigDlg::~CCustomConfigDlg() = default;

void CCustomConfigDlg::SetClock(IClock* newClock) {
    clock = newClock != nullptr ? newClock : &CSystemClock::Instance();
}

bool CCustomConfigDlg::OnInitDialog() {
    const bool result = CTemplateDialog::OnInitDialog();
    if (!LoadString(IDS_ABOUTBOX).isEmpty()) {
        // A separator would go into the window menu here; this desktop gives a dialog no
        // window menu to append to, and no item ever followed the separator anyway.
    }
    setWindowIcon(icon);
    PrepareParameterFields(Form(), isClient == 1);
    return result;
}

void CCustomConfigDlg::DoDataExchange(CDataExchange& dx) {
    ExchangeParameters(dx, ParamEditor::kCustom, ID, CHF, P0, TYP, PRT, OFT);
    dx.Text(kIdStatus, StatusText, 255);
}

void CCustomConfigDlg::OnCommand(int id) {
    switch (id) {
        case kIdEmettre:
            OnEmettre();
            break;
        case kIdLire:
            OnLire();
            break;
        case kIdRetour:
            EndDialog(255);
            break;
        case kIdQuitter:
            OnCancel();
            break;
        default:
            CTemplateDialog::OnCommand(id);
            break;
    }
}

void CCustomConfigDlg::OnEditChange(int id) {
    if (IsParameterField(id)) {
        UpdateData(true);
    }
}

void CCustomConfigDlg::OnEmettre() {
    StatusText = QString::fromUtf8(EditorTexts::kSending);
    UpdateData(false);
    RepaintStatus();
    MessageBeep();
    CExchange(serialPort, *this, *clock)
        .SendConfig(ToParameterSet(ID, CHF, P0, TYP, PRT, OFT), portNumber, kCustomVariant);
}

void CCustomConfigDlg::OnLire() {
    CExchange(serialPort, *this, *clock).ReadConfig(portNumber);
}

void CCustomConfigDlg::SetStatusText(const std::string& text) {
    StatusText = QString::fromStdString(text);
}

void CCustomConfigDlg::Refresh() {
    UpdateData(false);
}

void CCustomConfigDlg::RepaintStatus() {
    RepaintItem(kIdStatus);
}

void CCustomConfigDlg::ShowMessage(const std::string& text) {
    AfxMessageBox(QString::fromStdString(text));
}

void CCustomConfigDlg::ShowPortFailure(const std::string& text, const std::string& cause,
                                       const std::string& systemError) {
    ExchangeFeedback::ShowPortFailure(text, cause, systemError);
}

void CCustomConfigDlg::ExchangeStarted(ExchangeKind /*kind*/) {
    ExchangeFeedback::Started(Item<QLabel>(VerdictDisplay::kIdVerdict));
}

void CCustomConfigDlg::ExchangeEnded(const ExchangeRecord& record) {
    ExchangeFeedback::Ended(Item<QLabel>(VerdictDisplay::kIdVerdict), kJournalEditorName,
                            isClient == 1, record);
}
