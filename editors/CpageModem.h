#pragma once

#include <cstdint>

#include "CSheetPage.h"

// Tab 2: one modem parameter at a time, chosen with a radio button; "Lire" reads the
// modem's report.
class CpageModem : public CSheetPage {
public:
    static constexpr int kTemplateId = 151;
    static constexpr int kTabIndex = 2;
    static constexpr int kIdLire = 1023;
    static constexpr int32_t kNoParam = -1;

    CpageModem();

    // -1 none, else a parameter's modemNumber in the parameter table.
    int32_t selectedParam = kNoParam;
    int32_t ID = 0;
    int32_t CHF = 255;
    int32_t P0 = 15;
    int32_t PRT = 1;
    int32_t TYP = 0;
    int32_t OFT = 100;

    int32_t NextModemParam() const override { return selectedParam; }
    QWidget* ExchangeStarter() override;
    QString PlanLine() const override;

protected:
    void DoDataExchange(CDataExchange& dx) override;
    bool OnInitDialog() override;
    bool OnApply() override;
    void OnCommand(int id) override;
    void OnEditChange(int id) override;
    void OnQuickSend() override;

private:
    void ChooseParam(int radioId);
    void SendSelected();
    int32_t SelectedValue() const;
    // The chosen parameter's field takes the plan's value, when the plan has a modem.
    void FollowPlan();
};
