#pragma once

#include <cstdint>

#include "CMyPropSheet.h"
#include "CSheetNetwork.h"
#include "CpageModem.h"
#include "ExchangeTiming.h"

class CEditorJournal;
class CLastNetworkName;
class CPageCapteur;
class CPageRepe;
class IClock;

// One opening of the default-configuration sheet: a new sheet and modem page around the
// repeater and sensor pages, which keep what was typed from one opening to the next.
class CDefaultSheet {
public:
    struct Opening {
        int32_t portNumber;
        uint8_t isClient;
        int32_t repeaterCount;
        IClock& clock;
        CEditorJournal& journal;
        // Where the network's name is kept from one run to the next.
        const CLastNetworkName& lastNetwork;
        ExchangeTiming timing = {};
    };

    CDefaultSheet(CPageRepe& repeaterPage, CPageCapteur& sensorPage, const Opening& opening);

    CMyPropSheet& Sheet() { return sheet; }
    CpageModem& ModemPage() { return modemPage; }
    CSheetNetwork& Network() { return network; }
    int DoModal() { return sheet.DoModal(); }

private:
    // Declared first: the sheet goes before the page it holds.
    CpageModem modemPage;
    CMyPropSheet sheet;
    CSheetNetwork network;
};
