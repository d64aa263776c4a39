#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "PortStatus.h"

class CPortDirectory;
class IWaitService;

// One serial line, opened by port number, written a line at a time and read a line at a
// time with a per-byte time-out. Every operation blocks and answers with a PortStatus.
class CSerialPort {
public:
    CSerialPort();
    ~CSerialPort();
    CSerialPort(const CSerialPort&) = delete;
    CSerialPort& operator=(const CSerialPort&) = delete;

    int Open(int32_t portNumber, uint32_t baudRate, char parity, uint8_t dataBits, uint8_t stopBits,
             char handshake);
    int Close();
    bool IsOpen() const { return portHandle >= 0; }
    int Send(const std::string& text);
    // Leaves a zero-terminated text in buffer (capacity >= 1) unless it returns
    // PORT_NOT_OPEN or fails while setting its time-out.
    int ReadLine(char* buffer, size_t capacity, uint16_t seconds);
    // The same read with its byte time-out in milliseconds, bounded as a whole as well: no
    // byte is waited for, and no byte that does not end the line is taken, once `lineBudgetMs`
    // have passed since the call (kNoLineBudget: no bound). `service`, when given, is handed
    // every wait of the read.
    int ReadLine(char* buffer, size_t capacity, int64_t byteTimeoutMs, int64_t lineBudgetMs,
                 IWaitService* service);
    static constexpr int64_t kNoLineBudget = -1;

    uint16_t TimeoutMs() const { return timeoutMs; }
    const std::string& LastLine() const { return lastLine; }
    const std::string& DeviceName() const { return deviceName; }
    uint32_t BaudRate() const { return baudRate; }
    // The system error (errno) of the last failed open, write or read since the last fresh
    // Open: ETIMEDOUT for a time-out, EIO for a line that hung up; 0 when none failed.
    int LastError() const { return lastError; }
    // The device that error concerns; empty when no device answered to the port number.
    const std::string& LastErrorDevice() const { return lastErrorDevice; }

    // Where port numbers are looked up; the machine's own list unless a test gives another.
    void SetPortDirectory(const CPortDirectory* directory) { portDirectory = directory; }

private:
    int portHandle = -1;
    uint16_t timeoutMs = 1000;
    std::string lastLine;
    std::string deviceName;
    uint32_t baudRate = 0;
    const CPortDirectory* portDirectory = nullptr;
    int lastError = 0;
    std::string lastErrorDevice;

    int Fail(int status, int err, const std::string& device);
};
