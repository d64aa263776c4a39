#include "CPageCapteur.h"

#include "EditorTexts.h"

CPageCapteur::CPageCapteur()
    : CConfigPage(kTemplateId, kTabIndex, PlanRole::kSensor, {2, 255, 60, "3", 0, 100},
                  EditorTexts::kNoConfigCapital) {}

bool CPageCapteur::OnInitDialog() {
    CConfigPage::OnInitDialog();
    ID = repeaterCount + 1;
    UpdateData(false);
    PrepareFields();
    return true;
}

bool CPageCapteur::OnApply() {
    if (!IsActiveTab() || RefuseTyp()) {
        return true;
    }
    if ((ID <= repeaterCount &&
         !Ask(EditorTexts::kPageQuestionCaption, EditorTexts::kNotSensorId)) ||
        !ConfirmReprogram(ID, EditorTexts::kPageQuestionCaption)) {
        RefuseSend();
        return true;
    }
    ShowProgress(EditorTexts::kSending);
    SendConfig(kSensorVariant);
    AdvanceId();
    return true;
}

void CPageCapteur::OnQuickSend() {
    if (RefuseTyp()) {
        return;
    }
    ShowProgress(EditorTexts::kQuickSendingSensor);
    SendConfig(kSensorVariant);
    AdvanceId();
}

void CPageCapteur::AdvanceId() {
    if (ID < kLastId) {
        ++ID;
        FollowPlan();
        UpdateData(false);
    }
}
