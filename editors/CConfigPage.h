#pragma once

#include <QString>
#include <cstdint>
#include <optional>

#include "CExchange.h"
#include "CSheetPage.h"
#include "Parameters.h"

// The repeater and sensor pages: one whole configuration, sent with SendConfig, and the
// sent ID recorded in the sheet's IdTable.
class CConfigPage : public CSheetPage {
public:
    int32_t ID;
    int32_t CHF;
    int32_t P0;
    QString TYP;
    int32_t PRT;
    int32_t OFT;

    int32_t NextDeviceId() const override { return ID; }
    QString PlanLine() const override { return planLine; }
    std::optional<PlanRole> PlanBand() const override { return band; }
    void GoToId(int32_t id) override;

protected:
    CConfigPage(int templateId, int tabIndex, PlanRole band, const InitialValues& values,
                const char* status);

    void DoDataExchange(CDataExchange& dx) override;
    bool OnSetActive() override;
    void OnEditChange(int id) override;
    // On a planned ID of the page's band, the fields take the plan's values once; what the
    // administrator then types stays until the ID changes.
    void FollowPlan();

    // Client lock and the one-character TYP field.
    void PrepareFields();
    void SendConfig(const ConfigVariant& variant);
    // Says so and returns true when TYP cannot be sent.
    bool RefuseTyp() const;
    void AfterConfigSent(int32_t id) override;

private:
    PlanRole band;
    std::optional<PlannedDevice> filledFrom;  // the planned device last put in the fields
    QString planLine;
};
