#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "IExchangeHost.h"

// An editor stand-in that writes down every call it receives, in order, as one text each:
// "status:<text>", "refresh", "repaint", "message:<text>", "after:<id>".
class CRecordingHost final : public IExchangeHost {
public:
    void SetStatusText(const std::string& text) override {
        statusText = text;
        calls.push_back("status:" + text);
    }
    void Refresh() override { calls.push_back("refresh"); }
    void RepaintStatus() override { calls.push_back("repaint"); }
    void ShowMessage(const std::string& text) override { calls.push_back("message:" + text); }
    // The message goes with the calls as any other; why the port failed is kept apart.
    void ShowPortFailure(const std::string& text, const std::string& cause,
                         const std::string& systemError) override {
        calls.push_back("message:" + text);
        failures.push_back({text, cause, systemError});
    }
    void AfterConfigSent(int32_t id) override { calls.push_back("after:" + std::to_string(id)); }
    // Kept apart from the calls: every sequence ends with one.
    void ExchangeEnded(const ExchangeRecord& record) override { records.push_back(record); }

    const std::vector<std::string>& Calls() const { return calls; }
    const std::string& StatusText() const { return statusText; }
    const std::vector<ExchangeRecord>& Records() const { return records; }
    struct Failure {
        std::string text;
        std::string cause;
        std::string systemError;
    };
    const std::vector<Failure>& Failures() const { return failures; }

private:
    std::vector<std::string> calls;
    std::string statusText;
    std::vector<ExchangeRecord> records;
    std::vector<Failure> failures;
};
