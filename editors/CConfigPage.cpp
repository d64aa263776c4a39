#include "CConfigPage.h"

#include "CMyPropSheet.h"
#include "ParameterFields.h"

using namespace ParameterFields;

CConfigPage::CConfigPage(int templateId, int tabIndex, const InitialValues& values,
                         const char* status)
    : CSheetPage(templateId, tabIndex, QString::fromUtf8(status)),
      ID(values.ID),
      CHF(values.CHF),
      P0(values.P0),
      TYP(QString::fromUtf8(values.TYP)),
      PRT(values.PRT),
      OFT(values.OFT) {}

void CConfigPage::DoDataExchange(CDataExchange& dx) {
    ExchangeParameters(dx, ParamEditor::kPage, ID, CHF, P0, TYP, PRT, OFT);
    dx.Text(kIdStatus, StatusText, 255);
}

void CConfigPage::OnEditChange(int id) {
    if (IsParameterField(id)) {
        UpdateData(true);
        SheetLink().PageChanged();
    }
}

void CConfigPage::PrepareFields() {
    PrepareParameterFields(*Form(), IsClientLoggedIn());
}

void CConfigPage::SendConfig(const ConfigVariant& variant) {
    Exchange().SendConfig(ToParameterSet(ID, CHF, P0, TYP, PRT, OFT), PortNumber(), variant);
}

bool CConfigPage::RefuseTyp() const {
    return RefuseUnprintableTyp(TYP);
}

void CConfigPage::AfterConfigSent(int32_t id) {
    SheetLink().MarkIdAssigned(id);
}
