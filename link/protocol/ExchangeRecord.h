#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "ParameterSet.h"

enum class ExchangeKind { SendConfig, ReadConfig, SendModemParam, ReadModem };

// What one exchange sequence did, handed to the host once the port is closed again: enough to
// judge the read-back and to keep a record of the exchange. Texts are device bytes except
// `message`, which is the UTF-8 text the user was shown (empty when none).
struct ExchangeRecord {
    ExchangeKind kind = ExchangeKind::ReadConfig;
    int32_t portNumber = 0;
    std::string devicePath;  // the device the port opened; empty when it did not open
    std::string bytesSent;   // every line written, each with its line feed, in order
    // The frame or modem command the sequence set out to write, written or not: it names the
    // device or parameter even when the port failed.
    std::string command;
    std::optional<ParameterSet> sentConfig;  // a full configuration that went out
    int32_t modemParam = 0;                  // 1..kModemParamCount when a modem command went out
    int32_t modemValue = 0;
    std::optional<std::string> report;  // the accepted reply line as received
    std::string message;
    // Why the port failed, in French, when the sequence knows it (empty otherwise); the
    // system's own error text beside it.
    std::string cause;
    std::string systemError;
    // The user ended a wait before its time: the outcome is the deadline's all the same.
    bool cancelled = false;
};
