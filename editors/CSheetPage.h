#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <string>

#include "CEditorHost.h"
#include "CExchange.h"
#include "CPropertyPage.h"
#include "CSerialPort.h"
#include "SitePlan.h"

class CEditorJournal;
class CMyPropSheet;

// What the three pages of the default-configuration sheet share: the link to the sheet,
// their own serial port, the exchange host, activation and the keys taken inside a page.
class CSheetPage : public CPropertyPage {
public:
    static constexpr int kIdStatus = 1016;

    ~CSheetPage() override;

    // Before each opening of the sheet; its exchanges are recorded in `journal`.
    void Attach(int32_t repeaterCount, CMyPropSheet* sheet, CEditorJournal& journal);

    int32_t repeaterCount = 0;
    QString StatusText;

    // The cell of the network map this page sends next; -1 when it has none of that kind.
    virtual int32_t NextDeviceId() const { return -1; }
    virtual int32_t NextModemParam() const { return -1; }
    // A control of the page's own that starts an exchange; null when it has none.
    virtual QWidget* ExchangeStarter() { return nullptr; }

    // With a site plan: the line beside the form that says where the values come from.
    virtual QString PlanLine() const { return {}; }
    // The plan's band whose IDs this page sends; none for the modem page.
    virtual std::optional<PlanRole> PlanBand() const { return std::nullopt; }
    // A walk by plan chose the page's next ID (a map cell, "Suivant à faire").
    virtual void GoToId(int32_t /*id*/) {}

protected:
    CSheetPage(int templateId, int tabIndex, const QString& initialStatus);

    bool OnSetActive() override;
    // Enter sends at once (OnQuickSend), Escape does nothing; both are consumed.
    bool PreTranslateKey(QKeyEvent* event) override;
    virtual void OnQuickSend() = 0;

    CMyPropSheet& SheetLink() const { return *sheetLink; }
    bool IsActiveTab() const;
    bool IsClientLoggedIn() const;
    int32_t PortNumber() const;
    // The network's stored plan; null without one.
    const SitePlan* Plan() const;
    CExchange Exchange();

    // The progress text, shown before a blocking exchange.
    void ShowProgress(const char* text);
    // A question was answered No: nothing is sent.
    void RefuseSend();
    bool Ask(const char* caption, const char* question);
    // True when `id` was not programmed during this opening, or the user wants it again.
    bool ConfirmReprogram(int32_t id, const char* caption);

    // Runs after a configuration frame was written, whatever the read-back gave.
    virtual void AfterConfigSent(int32_t /*id*/) {}

private:
    int tabIndex;
    CMyPropSheet* sheetLink = nullptr;
    CSerialPort serialPort;
    CEditorHost host;
};
