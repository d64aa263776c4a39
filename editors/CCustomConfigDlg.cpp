#include "CCustomConfigDlg.h"

#include <QLabel>

#include "CExchange.h"
#include "CSystemClock.h"
#include "EditorTexts.h"
#include "MessageBoxes.h"
#include "ParameterFields.h"
#include "VerdictDisplay.h"

using namespace ParameterFields;

namespace {
constexpr char kJournalEditorName[] = "Configuration personnalisée";
}  // namespace

CCustomConfigDlg::CCustomConfigDlg(CEditorJournal& journal, QWidget* parent)
    : CTemplateDialog(kTemplateId, parent),
      StatusText(QString::fromUtf8(EditorTexts::kNoConfigCapital)),
      host({StatusText,
            [this] { UpdateData(false); },
            [this] { RepaintItem(kIdStatus); },
            [this] { return Item<QLabel>(VerdictDisplay::kIdVerdict); },
            [] { return std::string(kJournalEditorName); },
            [this] { return isClient == 1; },
            {}},
           &journal),
      gate([this] {
          return std::vector<QWidget*>{GetDlgItem(kIdEmettre), GetDlgItem(kIdLire)};
      }),
      clock(&CSystemClock::Instance()),
      icon(QString::fromUtf8(EditorTexts::kWindowIcon)) {}

CCustomConfigDlg::~CCustomConfigDlg() = default;

void CCustomConfigDlg::SetClock(IClock* newClock) {
    clock = newClock != nullptr ? newClock : &CSystemClock::Instance();
}

bool CCustomConfigDlg::OnInitDialog() {
    // The string table's About entry stays unused: this desktop gives a dialog no window
    // menu to put it in.
    const bool result = CTemplateDialog::OnInitDialog();
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
            gate.Run([this] { OnEmettre(); });
            break;
        case kIdLire:
            gate.Run([this] { OnLire(); });
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
    if (ParameterFields::RefuseUnprintableTyp(TYP)) {
        return;
    }
    StatusText = QString::fromUtf8(EditorTexts::kSending);
    UpdateData(false);
    RepaintItem(kIdStatus);
    MessageBeep();
    CExchange(serialPort, host, *clock, timing)
        .SendConfig(ToParameterSet(ID, CHF, P0, TYP, PRT, OFT), portNumber, kCustomVariant);
}

void CCustomConfigDlg::OnLire() {
    CExchange(serialPort, host, *clock, timing).ReadConfig(portNumber);
}

#include "moc_CCustomConfigDlg.cpp"
