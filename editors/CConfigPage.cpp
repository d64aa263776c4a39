#include "CConfigPage.h"

#include "CMyPropSheet.h"
#include "ParameterFields.h"

using namespace ParameterFields;

CConfigPage::CConfigPage(int templateId, int tabIndex, const InitialValues& values)
    : CSheetPage(templateId, tabIndex, QString::fromUtf8(values.status)),
      ID(values.ID),
      CHF(values.CHF),
      P0(values.P0),
      TYP(QString::fromUtf8(values.TYP)),
      PRT(values.PRT),
      OFT(values.OFT) {}

void CConfigPage::DoDataExchange(CDataExchange& dx) {
    dx.Int(kId, ID, 1, 240);
    dx.Int(kChf, CHF, 0, 255);
    dx.Int(kP0, P0, 0, 255);
    dx.Text(kTyp, TYP);
    dx.Int(kPrt, PRT, 0, 255);
    dx.Int(kOft, OFT, 0, 255);
    dx.Text(kIdStatus, StatusText, 255);
}

void CConfigPage::OnEditChange(int id) {
    if (IsParameterField(id)) {
        UpdateData(true);
    }
}

void CConfigPage::PrepareFields() {
    if (IsClientLoggedIn()) {
        for (int id : kLockedForClient) {
            Form()->EnableItem(id, false);
        }
    }
    Form()->LimitText(kTyp, 1);
}

void CConfigPage::SendConfig(const ConfigVariant& variant) {
    Exchange().SendConfig(ToParameterSet(ID, CHF, P0, TYP, PRT, OFT), PortNumber(), variant);
}

void CConfigPage::AfterConfigSent(int32_t id) {
    SheetLink().MarkIdAssigned(id);
}
