#pragma once

#include "CConfigPage.h"

// Tab 0: repeaters take the IDs 1 to repeaterCount, one after another.
class CPageRepe : public CConfigPage {
public:
    static constexpr int kTemplateId = 140;
    static constexpr int kTabIndex = 0;

    CPageRepe();

protected:
    bool OnInitDialog() override;
    bool OnApply() override;
    void OnQuickSend() override;

private:
    void AdvanceId();
};
