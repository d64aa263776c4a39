#include "CPageRepe.h"

#include "CMyPropSheet.h"
#include "EditorTexts.h"
#include "MessageBoxes.h"

namespace {
// IdTable's entry 255 doubles as this page's record of the last repeater ID it sent.
constexpr size_t kLastSentEntry = 255;
}  // namespace

CPageRepe::CPageRepe()
    : CConfigPage(kTemplateId, kTabIndex, PlanRole::kRepeater, {1, 255, 60, "1", 4, 100},
                  EditorTexts::kNoConfig) {}

bool CPageRepe::OnInitDialog() {
    CConfigPage::OnInitDialog();
    PrepareFields();
    SheetLink().IdTable[kLastSentEntry] = -1;
    return true;
}

bool CPageRepe::OnApply() {
    if (!IsActiveTab() || RefuseTyp()) {
        return true;
    }
    MessageBeep();
    if ((ID > repeaterCount &&
         !Ask(EditorTexts::kPageQuestionCaption, EditorTexts::kNotRepeaterId)) ||
        !ConfirmReprogram(ID, EditorTexts::kPageQuestionCaption)) {
        RefuseSend();
        return true;
    }
    ShowProgress(EditorTexts::kSending);
    SendConfig(kRepeaterVariant);
    SheetLink().IdTable[kLastSentEntry] = ID;
    AdvanceId();
    return true;
}

void CPageRepe::OnQuickSend() {
    if (RefuseTyp()) {
        return;
    }
    ShowProgress(EditorTexts::kQuickSendingRepeater);
    if (ID == SheetLink().IdTable[kLastSentEntry]) {
        AfxMessageBox(QString::fromUtf8(EditorTexts::kCannotSendTwice));
    } else {
        SendConfig(kRepeaterVariant);
        SheetLink().IdTable[kLastSentEntry] = ID;
    }
    AdvanceId();
}

void CPageRepe::AdvanceId() {
    if (ID < repeaterCount) {
        ++ID;
        FollowPlan();
        UpdateData(false);
    }
}
