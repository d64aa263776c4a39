#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "CExchangeGate.h"
#include "CPropertySheet.h"
#include "CSystemClock.h"
#include "ExchangeTiming.h"
#include "IClock.h"

class CSheetNetwork;
class SitePlan;
class QPushButton;

// The default-configuration sheet: repeater, sensor and modem pages. It does no exchange
// of its own; it holds what the pages share and turns Apply into "Emettre".
class CMyPropSheet : public CPropertySheet {
    Q_OBJECT
public:
    static constexpr int kIdRetour = 66;
    static constexpr int kRetourCode = 255;
    static constexpr int kTabImageWidth = 13;

    explicit CMyPropSheet(const QString& caption, QWidget* parent = nullptr, int selectPage = 0);
    ~CMyPropSheet() override;

    int32_t portNumber = 0;
    uint8_t isClient = 0;
    // Entry i is i once ID i was programmed during this opening, -1 before. Entry 255 also
    // records the last repeater ID sent.
    std::array<int32_t, 256> IdTable;
    IClock* clock = &CSystemClock::Instance();
    ExchangeTiming timing;

    // An ID outside 0..255 is never used as an index: it counts as not assigned and is
    // never recorded.
    bool IsIdAssigned(int32_t id) const;
    void MarkIdAssigned(int32_t id);

    // The network shown beside the pages, not owned; none in a bare sheet.
    void SetNetwork(CSheetNetwork* shown) { network = shown; }
    // The shown network's stored plan; null without one.
    const SitePlan* Plan() const;
    // A page sent, changed its next ID or became active: the map follows.
    void PageChanged();
    // Every exchange of the sheet and its pages starts here: none starts inside another.
    void RunExchange(const std::function<void()>& command) { gate.Run(command); }

protected:
    bool OnInitDialog() override;
    void OnCommand(int id) override;
    // The size the user gave the sheet is kept for its next opening.
    void done(int code) override;
    // Coming back to the sheet shows what the command line journaled meanwhile.
    void changeEvent(QEvent* event) override;

private:
    void SetUpStandardButtons();
    void SetUpTabImages();
    void SetUpButtonRow();
    std::vector<QWidget*> ExchangeStarters() const;

    QPushButton* retourButton = nullptr;
    CSheetNetwork* network = nullptr;
    CExchangeGate gate{[this] { return ExchangeStarters(); }};
    QIcon icon;
    std::vector<QPixmap> tabImages;
};
