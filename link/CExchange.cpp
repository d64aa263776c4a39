#include "CExchange.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Frames.h"
#include "ProtocolTexts.h"

const ConfigVariant kCustomVariant{kTextConfigNotReceived, kTextReadFailure, kTextSendFailure};
const ConfigVariant kRepeaterVariant{kTextConfigNotReceived, kTextConfigFailure,
                                     kTextSendFailurePeriod};
const ConfigVariant kSensorVariant{kTextConfigNotReceivedTight, kTextConfigFailure,
                                   kTextSendFailurePeriod};

namespace {

constexpr uint32_t kBaudRate = 19200;
constexpr uint16_t kByteTimeoutSeconds = 1;
constexpr uint32_t kAttemptMs = 1000;

using Acceptance = bool (*)(std::string_view);

void OpenPort(CSerialPort& port, int32_t portNumber) {
    // The status is not examined: a port that did not open makes the first Send fail.
    port.Open(portNumber, kBaudRate, 'n', 8, 1, 'n');
}

// Reads lines until one is accepted or the deadline has passed after an attempt that found
// none. An attempt that fails at once (channel closed or hung up) is followed by a pause for
// the rest of its second, so that such a wait ends at its deadline without spinning.
std::optional<std::string> AwaitReport(CSerialPort& port, IClock& clock, uint32_t start,
                                       uint32_t deadlineMs, size_t capacity, Acceptance accepted) {
    std::vector<char> buffer(capacity);
    uint32_t attemptStart = start;
    for (;;) {
        std::fill(buffer.begin(), buffer.end(), '\0');
        const int status = port.ReadLine(buffer.data(), capacity, kByteTimeoutSeconds);
        const std::string_view line(buffer.data(), strnlen(buffer.data(), capacity));
        if (accepted(line)) {
            return std::string(line);
        }
        const uint32_t now = clock.TickMs();
        const uint32_t elapsed = now - start;
        if (elapsed > deadlineMs) {
            return std::nullopt;
        }
        uint32_t pause = 0;
        const uint32_t attemptMs = now - attemptStart;
        if (status != PORT_OK && attemptMs < kAttemptMs) {
            pause = std::min(kAttemptMs - attemptMs, deadlineMs - elapsed + 1);
            clock.Sleep(pause);
        }
        attemptStart = now + pause;
    }
}

}  // namespace

CExchange::CExchange(CSerialPort& port, IExchangeHost& host, IClock& clock)
    : port(port), host(host), clock(clock) {}

void CExchange::ReadBackConfig(const ConfigVariant& variant) {
    const uint32_t start = clock.TickMs();
    port.Send("u");
    host.SetStatusText(variant.presetText);
    const auto line =
        AwaitReport(port, clock, start, kConfigDeadlineMs, kConfigLineBuffer, IsConfigReport);
    if (line) {
        host.SetStatusText(DeviceToUtf8(DecodeReport(*line)));
        return;
    }
    host.ShowMessage(variant.readFailure);
}

void CExchange::ReadModemReport() {
    const uint32_t start = clock.TickMs();
    host.SetStatusText(kTextReadingModem);
    host.Refresh();
    host.RepaintStatus();
    port.Send("v");
    const auto line =
        AwaitReport(port, clock, start, kModemDeadlineMs, kModemLineBuffer, IsModemReport);
    if (line) {
        host.SetStatusText(DeviceToUtf8(DecodeReport(*line)));
        return;
    }
    host.ShowMessage(kTextModemNotReceived);
    host.SetStatusText(kTextModemNotReceivedStatus);
    host.Refresh();
    host.RepaintStatus();
}

void CExchange::SendConfig(const ParameterSet& params, int32_t portNumber,
                           const ConfigVariant& variant) {
    const auto frame = BuildConfigFrame(params);
    if (!frame) {
        host.ShowMessage(variant.sendFailure);
        return;
    }
    OpenPort(port, portNumber);
    if (port.Send(*frame) != PORT_OK) {
        host.ShowMessage(variant.sendFailure);
    } else {
        ReadBackConfig(variant);
        host.Refresh();
        host.AfterConfigSent(params.ID);
    }
    port.Close();
}

void CExchange::ReadConfig(int32_t portNumber) {
    host.SetStatusText(kTextReadingConfig);
    host.Refresh();
    host.RepaintStatus();
    OpenPort(port, portNumber);
    ReadBackConfig(kCustomVariant);
    host.Refresh();
    port.Close();
}

void CExchange::SendModemParam(int32_t selectedParam, int32_t value, int32_t portNumber) {
    const auto command = BuildModemCommand(selectedParam, value);
    if (!command) {
        host.ShowMessage(kTextSendFailure);
        return;
    }
    OpenPort(port, portNumber);
    if (port.Send(*command) != PORT_OK) {
        host.ShowMessage(kTextSendFailure);
    } else {
        clock.Sleep(kModemPauseMs);
        ReadModemReport();
        host.Refresh();
    }
    port.Close();
}

void CExchange::ReadModem(int32_t portNumber) {
    OpenPort(port, portNumber);
    ReadModemReport();
    port.Close();
    host.Refresh();
}
