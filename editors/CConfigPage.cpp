#include "CConfigPage.h"

#include "CMyPropSheet.h"
#include "ParameterFields.h"
#include "PlanIntoPage.h"

using namespace ParameterFields;

CConfigPage::CConfigPage(int templateId, int tabIndex, PlanRole band, const InitialValues& values,
                         const char* status)
    : CSheetPage(templateId, tabIndex, QString::fromUtf8(status)),
      ID(values.ID),
      CHF(values.CHF),
      P0(values.P0),
      TYP(QString::fromUtf8(values.TYP)),
      PRT(values.PRT),
      OFT(values.OFT),
      band(band) {}

void CConfigPage::DoDataExchange(CDataExchange& dx) {
    ExchangeParameters(dx, ParamEditor::kPage, ID, CHF, P0, TYP, PRT, OFT);
    dx.Text(kIdStatus, StatusText, 255);
}

bool CConfigPage::OnSetActive() {
    FollowPlan();
    return CSheetPage::OnSetActive();
}

void CConfigPage::OnEditChange(int id) {
    if (IsParameterField(id)) {
        UpdateData(true);
        if (id == kId) {
            FollowPlan();
        }
        SheetLink().PageChanged();
    }
}

void CConfigPage::GoToId(int32_t id) {
    ID = id;
    FollowPlan();
    UpdateData(false);
    SheetLink().PageChanged();
}

void CConfigPage::FollowPlan() {
    const PlannedDevice* planned = PlanIntoPage::PlannedFor(Plan(), ID, band);
    planLine = PlanIntoPage::DeviceLine(Plan(), planned, ID);
    if (planned == nullptr) {
        filledFrom.reset();
        return;
    }
    if (filledFrom == *planned) {
        return;
    }
    filledFrom = *planned;
    PlanIntoPage::IntoFields(*planned, CHF, P0, TYP, PRT, OFT);
    UpdateData(false);
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
