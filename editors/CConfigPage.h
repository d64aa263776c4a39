#pragma once

#include <QString>
#include <cstdint>

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

protected:
    CConfigPage(int templateId, int tabIndex, const InitialValues& values, const char* status);

    void DoDataExchange(CDataExchange& dx) override;
    void OnEditChange(int id) override;

    // Client lock and the one-character TYP field.
    void PrepareFields();
    void SendConfig(const ConfigVariant& variant);
    // Says so and returns true when TYP cannot be sent.
    bool RefuseTyp() const;
    void AfterConfigSent(int32_t id) override;
};
