#pragma once

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
    void ExchangeEnded(const ExchangeRecord& ended) override;

    const std::string& StatusText() const { return statusText; }
    const std::vector<std::string>& Messages() const { return messages; }
    const std::optional<ExchangeRecord>& Record() const { return record; }
    // Why the journal could not be written; empty when it was.
    const std::string& JournalFailure() const { return journalFailure; }

private:
    CJournal& journal;
    std::string role;
    std::string portName;
    std::string statusText;
    std::vector<std::string> messages;
    std::optional<ExchangeRecord> record;
    std::string journalFailure;
};
