#pragma once

#include <QIcon>
#include <QString>
#include <cstdint>
#include <string>

#include "CEditorHost.h"
#include "CExchangeGate.h"
#include "CSerialPort.h"
#include "CTemplateDialog.h"
#include "ExchangeTiming.h"
#include "IClock.h"
#include "Parameters.h"

// The single-device editor: six parameters, "Emettre" sends them as one configuration,
// "Lire" reads the device's report. Ends with 255 ("Retour") or 2 ("Quitter").
class CCustomConfigDlg : public CTemplateDialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 102;
    static constexpr int kIdStatus = 1014;
    static constexpr int kIdEmettre = 1015;
    static constexpr int kIdQuitter = 1017;
    static constexpr int kIdRetour = 1019;
    static constexpr int kIdLire = 1020;

    // Every exchange is recorded in `journal`, which outlives the dialog.
    explicit CCustomConfigDlg(CEditorJournal& journal, QWidget* parent = nullptr);
    ~CCustomConfigDlg() override;

    // Exchanges take time from here; the system clock unless a test gives another.
    void SetClock(IClock* clock);
    // How long its exchanges wait; the device's own times unless a test gives shorter ones.
    void SetTiming(const ExchangeTiming& given) { timing = given; }

    int32_t portNumber = 0;
    uint8_t isClient = 0;

    int32_t ID = kCustomInitial.ID;
    int32_t CHF = kCustomInitial.CHF;
    int32_t P0 = kCustomInitial.P0;
    QString TYP = QString::fromUtf8(kCustomInitial.TYP);
    int32_t PRT = kCustomInitial.PRT;
    int32_t OFT = kCustomInitial.OFT;
    QString StatusText;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;
    void OnCommand(int id) override;
    void OnEditChange(int id) override;

private:
    void OnEmettre();
    void OnLire();

    CSerialPort serialPort;
    CEditorHost host;
    CExchangeGate gate;
    IClock* clock;
    ExchangeTiming timing;
    QIcon icon;
};
