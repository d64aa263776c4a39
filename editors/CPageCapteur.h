#pragma once

#include "CConfigPage.h"
#include "Parameters.h"

// Tab 1: sensors take the IDs from repeaterCount + 1 up to the last ID.
class CPageCapteur : public CConfigPage {
public:
    static constexpr int kTemplateId = 139;
    static constexpr int kTabIndex = 1;
    static constexpr int32_t kLastId = kLastDeviceId;

    CPageCapteur();

protected:
    bool OnInitDialog() override;
    bool OnApply() override;
    void OnQuickSend() override;

private:
    void AdvanceId();
};
