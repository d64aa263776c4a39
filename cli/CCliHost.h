#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "IExchangeHost.h"

class CJournal;

// The command line's side of an exchange: keeps what the routines show, and journals the
// exchange when it ends, as the tool's editors do.
class CCliHost final : public IExchangeHost {
public:
    CCliHost(CJournal& journal, std::string role, std::string portName);

    void SetStatusText(const std::string& text) override { statusText = text; }
    void Refresh() override {}
    void RepaintStatus() override {}
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    void ShowPortFailure(const std::string& text, const std::string& cause,
                         const std::string& systemError) override;
    void ExchangeEnded(const ExchangeRecord& ended) override;
    // The network the exchange is journalled into; none by default.
    void SetNetwork(std::string name, int32_t repeaterCount);

    const std::string& StatusText() const { return statusText; }
    const std::vector<std::string>& Messages() const { return messages; }
    const std::optional<ExchangeRecord>& Record() const { return record; }
    // What the tool shows under a port failure's message; empty when none was told.
    const std::string& Cause() const { return cause; }
    const std::string& SystemError() const { return systemError; }
    // Why the journal could not be written (a sentence, and its reason alone); empty when it was.
    const std::string& JournalFailure() const { return journalFailure; }
    const std::string& JournalReason() const { return journalReason; }

private:
    CJournal& journal;
    std::string role;
    std::string portName;
    std::string network;
    int32_t repeaterCount = -1;
    std::string statusText;
    std::vector<std::string> messages;
    std::optional<ExchangeRecord> record;
    std::string cause;
    std::string systemError;
    std::string journalFailure;
    std::string journalReason;
};
