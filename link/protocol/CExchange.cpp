#include "CExchange.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Frames.h"
#include "PortFailure.h"
#include "ProtocolTexts.h"

const ConfigVariant kCustomVariant{kTextConfigNotReceived, kTextReadFailure, kTextSendFailure};
const ConfigVariant kRepeaterVariant{kTextConfigNotReceived, kTextConfigFailure,
                                     kTextSendFailurePeriod};
const ConfigVariant kSensorVariant{kTextConfigNotReceivedTight, kTextConfigFailure,
                                   kTextSendFailurePeriod};

namespace {

constexpr uint32_t kBaudRate = 19200;

using Acceptance = bool (*)(std::string_view);

struct ReportWait {
    uint32_t start;
    uint32_t deadlineMs;
    // An attempt's length, and how long one that began before the deadline may go on
    // receiving after it: one byte's time-out, so that a silent device is given exactly the
    // attempts it always had, while a report begun just in time (16 ms of line for 30 bytes)
    // still comes in whole.
    uint32_t byteTimeoutMs;
    size_t capacity;
    Acceptance accepted;
};

// Reads lines until one is accepted or the deadline has passed after an attempt that found
// none. No attempt reads past the deadline and its grace, whatever the device keeps sending.
// An attempt that fails at once (channel closed or hung up) is followed by a pause for the
// rest of its second, so that such a wait ends at its deadline without spinning. `cut` tells
// that the accepted line ended because the line was lost, not with its line feed;
// `cancelled`, that the user ended the wait, which then ends as at its deadline.
std::optional<std::string> AwaitReport(CSerialPort& port, IClock& clock, IWaitService& served,
                                       const ReportWait& wait, bool& cut, bool& cancelled) {
    std::vector<char> buffer(wait.capacity);
    uint32_t attemptStart = wait.start;
    uint32_t elapsed = 0;
    for (;;) {
        std::fill(buffer.begin(), buffer.end(), '\0');
        const int64_t budget = static_cast<int64_t>(wait.deadlineMs) + wait.byteTimeoutMs - elapsed;
        const int status =
            port.ReadLine(buffer.data(), wait.capacity, wait.byteTimeoutMs, budget, &served);
        const std::string_view line(buffer.data(), strnlen(buffer.data(), wait.capacity));
        const int err = status == PORT_OK ? 0 : port.LastError();
        if (wait.accepted(line)) {
            cut = IsPortFailure(err) && err != ECANCELED;
            return std::string(line);
        }
        if (err == ECANCELED) {
            cancelled = true;
            return std::nullopt;
        }
        const uint32_t now = clock.TickMs();
        elapsed = now - wait.start;
        if (elapsed > wait.deadlineMs) {
            return std::nullopt;
        }
        uint32_t pause = 0;
        const uint32_t attemptMs = now - attemptStart;
        if (status != PORT_OK && attemptMs < wait.byteTimeoutMs) {
            pause = std::min(wait.byteTimeoutMs - attemptMs, wait.deadlineMs - elapsed + 1);
            if (clock.Pause(pause, served) == ECANCELED) {
                cancelled = true;
                return std::nullopt;
            }
        }
        attemptStart = now + pause;
        elapsed += pause;
    }
}

}  // namespace

CExchange::CExchange(CSerialPort& port, IExchangeHost& host, IClock& clock,
                     const ExchangeTiming& timing)
    : port(port), host(host), clock(clock), timing(timing) {}

IWaitService& CExchange::Awaiting(WaitKind kind, uint32_t lengthMs) {
    waitKind = kind;
    waitEnd = CDeadline(lengthMs);
    return *this;
}

int CExchange::Wait(pollfd& waited, const CDeadline& until) {
    return host.WaitServing(waitKind, waited, until, waitEnd);
}

void CExchange::Begin(ExchangeKind kind, int32_t portNumber) {
    record = ExchangeRecord{};
    portTried = false;
    replyCut = false;
    record.kind = kind;
    record.portNumber = portNumber;
    host.ExchangeStarted(kind);
}

void CExchange::OpenPort(int32_t portNumber) {
    portTried = true;
    // The status is not examined: a port that did not open makes the first Send fail.
    port.Open(portNumber, kBaudRate, 'n', 8, 1, 'n');
    record.devicePath = port.DeviceName();
}

int CExchange::SendLine(const std::string& text) {
    const int status = port.Send(text);
    if (status == PORT_OK) {
        record.bytesSent += port.LastLine();
    }
    return status;
}

void CExchange::Tell(const char* message) {
    record.message = message;
    const int err = port.LastError();
    // A wait the user ended fails as a silent device does, not as a port.
    if (!portTried || !IsPortFailure(err) || record.cancelled) {
        host.ShowMessage(message);
        return;
    }
    const DescribedFailure failure = DescribePortFailure(err, port.LastErrorDevice());
    record.cause = failure.cause;
    record.systemError = failure.systemError;
    host.ShowPortFailure(message, record.cause, record.systemError);
}

void CExchange::End() {
    // The routine decoded a cut reply as if the device had answered; once it is over and the
    // port is released, the user learns that the status shown is incomplete.
    if (replyCut) {
        record.cause = kTextReplyCut;
        record.systemError = SystemErrorText(port.LastError());
        host.ShowPortFailure(kTextReplyCut, {}, record.systemError);
    }
    host.ExchangeEnded(record);
}

void CExchange::ReadBackConfig(const ConfigVariant& variant) {
    const uint32_t start = clock.TickMs();
    SendLine("u");
    host.SetStatusText(variant.presetText);
    const auto line = AwaitReport(
        port, clock, Awaiting(WaitKind::kReport, timing.configDeadlineMs),
        {start, timing.configDeadlineMs, timing.byteTimeoutMs, kConfigLineBuffer, IsConfigReport},
        replyCut, record.cancelled);
    if (line) {
        record.report = *line;
        host.SetStatusText(DeviceToUtf8(DecodeReport(*line)));
        return;
    }
    Tell(variant.readFailure);
}

void CExchange::ReadModemReport() {
    const uint32_t start = clock.TickMs();
    host.SetStatusText(kTextReadingModem);
    host.Refresh();
    host.RepaintStatus();
    // A pause the user ended is the end of the wait: no report is asked for.
    std::optional<std::string> line;
    if (!record.cancelled) {
        SendLine("v");
        line = AwaitReport(
            port, clock, Awaiting(WaitKind::kReport, timing.modemDeadlineMs),
            {start, timing.modemDeadlineMs, timing.byteTimeoutMs, kModemLineBuffer, IsModemReport},
            replyCut, record.cancelled);
    }
    if (line) {
        record.report = *line;
        host.SetStatusText(DeviceToUtf8(DecodeReport(*line)));
        return;
    }
    Tell(kTextModemNotReceived);
    host.SetStatusText(kTextModemNotReceivedStatus);
    host.Refresh();
    host.RepaintStatus();
}

void CExchange::SendConfig(const ParameterSet& params, int32_t portNumber,
                           const ConfigVariant& variant) {
    Begin(ExchangeKind::SendConfig, portNumber);
    const auto frame = BuildConfigFrame(params);
    if (!frame) {
        Tell(variant.sendFailure);
        End();
        return;
    }
    record.command = *frame;
    OpenPort(portNumber);
    if (SendLine(*frame) != PORT_OK) {
        Tell(variant.sendFailure);
    } else {
        record.sentConfig = params;
        ReadBackConfig(variant);
        host.Refresh();
        host.AfterConfigSent(params.ID);
    }
    port.Close();
    End();
}

void CExchange::ReadConfig(int32_t portNumber) {
    Begin(ExchangeKind::ReadConfig, portNumber);
    host.SetStatusText(kTextReadingConfig);
    host.Refresh();
    host.RepaintStatus();
    OpenPort(portNumber);
    ReadBackConfig(kCustomVariant);
    host.Refresh();
    port.Close();
    End();
}

void CExchange::SendModemParam(int32_t selectedParam, int32_t value, int32_t portNumber) {
    Begin(ExchangeKind::SendModemParam, portNumber);
    const auto command = BuildModemCommand(selectedParam, value);
    if (!command) {
        Tell(kTextSendFailure);
        End();
        return;
    }
    record.command = *command;
    OpenPort(portNumber);
    if (SendLine(*command) != PORT_OK) {
        Tell(kTextSendFailure);
    } else {
        record.modemParam = selectedParam;
        record.modemValue = value;
        record.cancelled =
            clock.Pause(timing.modemPauseMs, Awaiting(WaitKind::kPause, timing.modemPauseMs)) ==
            ECANCELED;
        ReadModemReport();
        host.Refresh();
    }
    port.Close();
    End();
}

void CExchange::ReadModem(int32_t portNumber) {
    Begin(ExchangeKind::ReadModem, portNumber);
    OpenPort(portNumber);
    ReadModemReport();
    port.Close();
    host.Refresh();
    End();
}
