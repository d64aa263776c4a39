#include "CpageModem.h"

#include <QRadioButton>
#include <array>

#include "CMyPropSheet.h"
#include "EditorTexts.h"
#include "MessageBoxes.h"

namespace {

constexpr int kIdModemId = 1010;
constexpr int kIdModemChf = 1011;
constexpr int kIdModemP0 = 1012;
constexpr int kIdModemPrt = 1013;
constexpr int kIdModemTyp = 1014;
constexpr int kIdModemOft = 1015;

constexpr int32_t kParamId = 1;
constexpr int32_t kParamP0 = 3;
constexpr int32_t kParamTyp = 5;

struct Choice {
    int radio;
    int field;
    int32_t param;
    int32_t CpageModem::*value;
};
constexpr std::array<Choice, 6> kChoices = {{
    {1003, kIdModemId, kParamId, &CpageModem::ID},
    {1004, kIdModemChf, 2, &CpageModem::CHF},
    {1005, kIdModemP0, kParamP0, &CpageModem::P0},
    {1006, kIdModemPrt, 4, &CpageModem::PRT},
    {1007, kIdModemTyp, kParamTyp, &CpageModem::TYP},
    {1008, kIdModemOft, 6, &CpageModem::OFT},
}};

const Choice* FindChoice(int radioId) {
    for (const Choice& choice : kChoices) {
        if (choice.radio == radioId) {
            return &choice;
        }
    }
    return nullptr;
}

bool IsModemTypeAllowed(int32_t type) {
    return type == 0 || type == 255;
}

}  // namespace

CpageModem::CpageModem()
    : CSheetPage(kTemplateId, kTabIndex, QString::fromUtf8(EditorTexts::kNoConfig)) {}

void CpageModem::DoDataExchange(CDataExchange& dx) {
    dx.Int(kIdModemId, ID, 0, 255);
    dx.Int(kIdModemChf, CHF, 0, 255);
    dx.Int(kIdModemP0, P0, 0, 255);
    dx.Int(kIdModemPrt, PRT, 0, 255);
    dx.Int(kIdModemTyp, TYP);
    dx.Text(kIdStatus, StatusText, 255);
    dx.Int(kIdModemOft, OFT, 0, 255);
}

bool CpageModem::OnInitDialog() {
    CSheetPage::OnInitDialog();
    if (IsClientLoggedIn()) {
        for (const Choice& choice : kChoices) {
            Form()->EnableItem(choice.radio, false);
        }
        Form()->EnableItem(kIdModemP0, true);
        selectedParam = kParamP0;
    }
    return true;
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
    if (selectedParam == kParamTyp && !IsModemTypeAllowed(TYP)) {
        ShowOwnedMessage(Window(), QString::fromUtf8(EditorTexts::kModemCaption),
                         QString::fromUtf8(EditorTexts::kModemTypeRange));
        RefuseSend();
        return true;
    }
    if (selectedParam == kParamId && !ConfirmReprogram(ID, EditorTexts::kModemCaption)) {
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
        Exchange().ReadModem(PortNumber());
        return;
    }
    if (FindChoice(id) != nullptr) {
        ChooseParam(id);
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
            selectedParam = choice.param;
        }
    }
}

void CpageModem::SendSelected() {
    Exchange().SendModemParam(selectedParam, SelectedValue(), PortNumber());
}

int32_t CpageModem::SelectedValue() const {
    for (const Choice& choice : kChoices) {
        if (choice.param == selectedParam) {
            return this->*choice.value;
        }
    }
    return 0;
}
