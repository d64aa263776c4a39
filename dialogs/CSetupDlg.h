#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "CEditorJournal.h"
#include "CLastNetworkName.h"
#include "CPageCapteur.h"
#include "CPageRepe.h"
#include "CTemplateDialog.h"
#include "ExchangeTiming.h"
#include "Parameters.h"

class CPortDirectory;
class IClock;
class QComboBox;
class QLineEdit;

// The hub of a run: serial port, configuration mode and repeater count. OK opens the chosen
// editor while this dialog waits hidden; it ends only with 2.
class CSetupDlg : public CTemplateDialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 129;
    static constexpr int kIdQuitter = kIdCancel;
    static constexpr int kIdPort = 1000;
    static constexpr int kIdCustom = 1003;
    static constexpr int kIdDefault = 1004;
    static constexpr int kIdRepeaterCount = 1005;
    static constexpr int kIdSerialSettings = 1006;
    static constexpr int kIdAbout = 1015;
    static constexpr int kIdLogin = 1017;
    static constexpr int kModeCustom = 0;
    static constexpr int kModeDefault = 1;
    static constexpr int32_t kMinRepeaters = kRepeaterCountRange.min;
    static constexpr int32_t kMaxRepeaters = kRepeaterCountRange.max;
    static constexpr int kSerialSettingsMaxChars = 255;
    static constexpr int kMaxPorts = 256;

    static const QString kWindowText;
    static const QString kModeError;
    static const QString kNoPortSelected;

    struct PortTable {
        std::array<QString, kMaxPorts> names;
        std::array<int32_t, kMaxPorts> numbers{};
    };

    explicit CSetupDlg(QWidget* parent = nullptr);
    ~CSetupDlg() override;

    int32_t portNumber = 0;
    PortTable PortList;
    uint8_t isClient = 1;
    CPageRepe repeaterPage;
    CPageCapteur sensorPage;
    QLineEdit* repeaterCountControl = nullptr;
    QComboBox* portControl = nullptr;
    int32_t repeaterCount = 1;
    int32_t configMode = kModeCustom;
    QString serialSettingsText;

    // The editors' exchanges take time from here (the system clock by default).
    void SetClock(IClock* clock);
    // How long the editors' exchanges wait; the device's own times by default.
    void SetTiming(const ExchangeTiming& given) { timing = given; }
    // Where the ports are listed; the machine's own list by default.
    void SetPortDirectory(const CPortDirectory* directory);
    // Opens the About box, owned by the window given.
    void SetAboutOpener(std::function<void(QWidget*)> opener);

    // Fills PortList, at most kMaxPorts entries; returns how many.
    int EnumeratePorts();

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCommand(int id) override;
    void OnEditChange(int id) override;
    void DoDataExchange(CDataExchange& dx) override;

private:
    void FillPortControl(int count);
    void AddPortNames(int count);
    void RefreshPorts();
    void ShowNameStart();
    bool SelectedPortNumber(int32_t& number) const;
    void OpenEditor();
    int RunCustomDialog();
    int RunSheet();
    void Relogin();
    void ChooseMode(int32_t mode);

    IClock* clock;
    ExchangeTiming timing;
    const CPortDirectory* portDirectory = nullptr;
    std::function<void(QWidget*)> aboutOpener;
    // One for the whole run, so that a journal that cannot be written is told once.
    CEditorJournal journal;
    CLastNetworkName lastNetwork;
};
