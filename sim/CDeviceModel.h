#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "Reports.h"
#include "SimOptions.h"

struct DeviceAnswer {
    std::optional<DeviceReport> report;
    // Number of the device plugged in once this answer has gone out; 0 when none is.
    int32_t pluggedDevice = 0;
};

// What the device does with one received line: keeps the values it is programmed with and
// answers its read request with a report. Knows nothing of the line or its faults.
class CDeviceModel {
public:
    CDeviceModel(DeviceKind kind, bool stream, bool answerFrame,
                 ReportedField changed = ReportedField::kNone);

    // `line` is one received line without its line feed.
    DeviceAnswer Handle(std::string_view line);

    int32_t DeviceNumber() const { return deviceNumber; }

private:
    struct Values {
        int32_t id = 0;
        int32_t chf = 255;
        int32_t p0 = 60;
        int32_t prt = 0;
        int32_t oft = 100;
        char typ = '3';         // repeater and sensor: one character
        int32_t typNumber = 0;  // modem
    };

    bool TakesConfig() const { return kind != DeviceKind::kModem; }
    bool TakesModem() const { return kind == DeviceKind::kModem || kind == DeviceKind::kAny; }
    DeviceAnswer AnswerRead();
    DeviceReport ConfigReport() const;
    DeviceReport ModemReport() const;
    DeviceReport Changed(DeviceReport report) const;

    DeviceKind kind;
    bool stream;
    bool answerFrame;
    ReportedField changed;
    Values config;
    Values modem;
    bool written = false;  // a full configuration arrived since this device was plugged in
    int32_t deviceNumber = 1;
};

// The values of a full configuration frame "u" ID CHF P0 TYP PRT OFT, with P0 in two
// digits when the frame is 16 characters long and in three when it is 17.
struct ConfigFrame {
    int32_t id = 0;
    int32_t chf = 0;
    int32_t p0 = 0;
    char typ = 0;
    int32_t prt = 0;
    int32_t oft = 0;
};
std::optional<ConfigFrame> ParseConfigFrame(std::string_view line);

// A modem command: one of the letters i c p r t o, a space and a decimal value, perhaps
// negative. The letter and the value as the modem keeps it (one byte).
struct ModemCommand {
    char letter = 0;
    int32_t value = 0;
};
std::optional<ModemCommand> ParseModemCommand(std::string_view line);
