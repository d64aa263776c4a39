#include "CpageModem.h"

#include <QRadioButton>
#include <array>

#include "CMyPropSheet.h"
#include "EditorTexts.h"
#include "MessageBoxes.h"
#include "Parameters.h"
#include "PlanIntoPage.h"

namespace {

constexpr int kIdModemId = 1010;
constexpr int kIdModemChf = 1011;
constexpr int kIdModemP0 = 1012;
constexpr int kIdModemPrt = 1013;
constexpr int kIdModemTyp = 1014;
constexpr int kIdModemOft = 1015;

struct Choice {
    int radio;
    int field;
    Param param;
    int32_t CpageModem::*value;
};
constexpr std::array<Choice, kParamCount> kChoices = {{
    {1003, kIdModemId, Param::ID, &CpageModem::ID},
    {1004, kIdModemChf, Param::CHF, &CpageModem::CHF},
    {1005, kIdModemP0, Param::P0, &CpageModem::P0},
    {1006, kIdModemPrt, Param::PRT, &CpageModem::PRT},
    {1007, kIdModemTyp, Param::TYP, &CpageModem::TYP},
    {1008, kIdModemOft, Param::OFT, &CpageModem::OFT},
}};

int32_t NumberOf(Param param) {
    return InfoOf(param).modemNumber;
}

const Choice* FindChoice(int radioId) {
    for (const Choice& choice : kChoices) {
        if (choice.radio == radioId) {
            return &choice;
        }
    }
    return nullptr;
}

// A parameter without a modem range (TYP) is checked when it is sent instead.
void ExchangeInt(CDataExchange& dx, int field, int32_t& value, Param param) {
    if (const std::optional<ValueRange>& range = InfoOf(param).modem) {
        dx.Int(field, value, range->min, range->max);
    } else {
        dx.Int(field, value);
    }
}

}  // namespace

CpageModem::CpageModem()
    : CSheetPage(kTemplateId, kTabIndex, QString::fromUtf8(EditorTexts::kNoConfig)) {}

void CpageModem::DoDataExchange(CDataExchange& dx) {
    ExchangeInt(dx, kIdModemId, ID, Param::ID);
    ExchangeInt(dx, kIdModemChf, CHF, Param::CHF);
    ExchangeInt(dx, kIdModemP0, P0, Param::P0);
    ExchangeInt(dx, kIdModemPrt, PRT, Param::PRT);
    ExchangeInt(dx, kIdModemTyp, TYP, Param::TYP);
    dx.Text(kIdStatus, StatusText, 255);
    ExchangeInt(dx, kIdModemOft, OFT, Param::OFT);
}

bool CpageModem::OnInitDialog() {
    CSheetPage::OnInitDialog();
    if (IsClientLoggedIn()) {
        for (const Choice& choice : kChoices) {
            Form()->EnableItem(choice.radio, false);
            if (InfoOf(choice.param).clientModem) {
                Form()->EnableItem(choice.field, true);
                selectedParam = NumberOf(choice.param);
            }
        }
        FollowPlan();
    }
    return true;
}

QString CpageModem::PlanLine() const {
    return PlanIntoPage::ModemLine(Plan(), selectedParam);
}

void CpageModem::FollowPlan() {
    const std::optional<int32_t> planned = PlanIntoPage::ModemValue(Plan(), selectedParam);
    for (const Choice& choice : kChoices) {
        if (planned && NumberOf(choice.param) == selectedParam) {
            this->*choice.value = *planned;
            UpdateData(false);
        }
    }
}

bool CpageModem::OnApply() {
    if (!IsActiveTab()) {
        return true;
    }
    if (selectedParam == kNoParam) {
        AfxMessageBox(QString::fromUtf8(EditorTexts::kNoParamChosen));
        return true;
    }
    MessageBeep();
    if (selectedParam == NumberOf(Param::TYP) && !IsModemTypeAllowed(TYP)) {
        ShowOwnedMessage(Window(), QString::fromUtf8(EditorTexts::kModemCaption),
                         QString::fromUtf8(RefusalTexts::kModemType));
        RefuseSend();
        return true;
    }
    if (selectedParam == NumberOf(Param::ID) && !ConfirmReprogram(ID, EditorTexts::kModemCaption)) {
        RefuseSend();
        return true;
    }
    ShowProgress(EditorTexts::kSendingModem);
    SendSelected();
    return true;
}

void CpageModem::OnQuickSend() {
    if (selectedParam == kNoParam) {
        AfxMessageBox(QString::fromUtf8(EditorTexts::kNoParamChosen));
        return;
    }
    ShowProgress(EditorTexts::kSending);
    MessageBeep();
    SendSelected();
}

void CpageModem::OnCommand(int id) {
    if (id == kIdLire) {
        SheetLink().RunExchange([this] { Exchange().ReadModem(PortNumber()); });
        return;
    }
    if (FindChoice(id) != nullptr) {
        ChooseParam(id);
        SheetLink().PageChanged();
        return;
    }
    CSheetPage::OnCommand(id);
}

void CpageModem::OnEditChange(int id) {
    if (id >= kIdModemId && id <= kIdModemOft) {
        UpdateData(true);
    }
}

// Every radio button starts a group of its own, so the page clears the others itself.
void CpageModem::ChooseParam(int radioId) {
    for (const Choice& choice : kChoices) {
        const bool chosen = choice.radio == radioId;
        Form()->EnableItem(choice.field, chosen);
        if (auto* radio = Item<QRadioButton>(choice.radio)) {
            radio->setChecked(chosen);
        }
        if (chosen) {
            selectedParam = NumberOf(choice.param);
        }
    }
    FollowPlan();
}

void CpageModem::SendSelected() {
    Exchange().SendModemParam(selectedParam, SelectedValue(), PortNumber());
}

QWidget* CpageModem::ExchangeStarter() {
    return GetDlgItem(kIdLire);
}

int32_t CpageModem::SelectedValue() const {
    for (const Choice& choice : kChoices) {
        if (NumberOf(choice.param) == selectedParam) {
            return this->*choice.value;
        }
    }
    return 0;
}
