#pragma once

#include <cstdint>

#include "CDeadline.h"
#include "CSerialPort.h"
#include "ExchangeTiming.h"
#include "IClock.h"
#include "IExchangeHost.h"
#include "IWaitService.h"
#include "ParameterSet.h"

// The texts that differ between the editors that send a full configuration.
struct ConfigVariant {
    const char* presetText;   // StatusText while waiting / after a read-back that failed
    const char* readFailure;  // message when no report came in time
    const char* sendFailure;  // message when the frame could not be written
};

extern const ConfigVariant kCustomVariant;
extern const ConfigVariant kRepeaterVariant;
extern const ConfigVariant kSensorVariant;

// The exchange sequences an editor runs on its own port. Each one opens the port, writes,
// waits for the report, leaves its outcome in the host's StatusText and closes the port.
// Every wait of a sequence, the port's and the clock's alike, is served by the host.
class CExchange final : private IWaitService {
public:
    CExchange(CSerialPort& port, IExchangeHost& host, IClock& clock,
              const ExchangeTiming& timing = {});

    void SendConfig(const ParameterSet& params, int32_t portNumber, const ConfigVariant& variant);
    void ReadConfig(int32_t portNumber);
    void SendModemParam(int32_t selectedParam, int32_t value, int32_t portNumber);
    void ReadModem(int32_t portNumber);

private:
    // The waits; the port must already be open.
    void ReadBackConfig(const ConfigVariant& variant);
    void ReadModemReport();
    void Begin(ExchangeKind kind, int32_t portNumber);
    void OpenPort(int32_t portNumber);
    int SendLine(const std::string& text);
    // The routine's message; with the cause when the port it tried failed.
    void Tell(const char* message);
    void End();
    // The wait about to begin, as the host is told of each of its turns.
    IWaitService& Awaiting(WaitKind kind, uint32_t lengthMs);
    int Wait(pollfd& port, const CDeadline& until) override;

    CSerialPort& port;
    IExchangeHost& host;
    IClock& clock;
    ExchangeTiming timing;
    ExchangeRecord record;
    bool portTried = false;
    bool replyCut = false;
    WaitKind waitKind = WaitKind::kReport;
    CDeadline waitEnd{0};
};
