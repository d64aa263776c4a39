#pragma once

#include <cerrno>
#include <cstdint>
#include <optional>
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
    // The user ends the first wait of `kind` `afterMs` into it, as Escape would.
    void CancelAfter(WaitKind kind, int64_t afterMs) {
        cancelKind = kind;
        cancelAfterMs = afterMs;
    }
    int WaitServing(WaitKind kind, pollfd& port, const CDeadline& until,
                    const CDeadline& /*waitEnd*/) override {
        if (!cancelAfterMs || kind != cancelKind) {
            return IWaitService::Poll(port, until);
        }
        if (!cancelAt) {
            cancelAt.emplace(*cancelAfterMs);
        }
        const int ready = IWaitService::Poll(port, CDeadline::Earlier(until, *cancelAt));
        if (ready == 0 && cancelAt->Expired()) {
            errno = ECANCELED;
            return -1;
        }
        return ready;
    }

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
    WaitKind cancelKind = WaitKind::kReport;
    std::optional<int64_t> cancelAfterMs;
    std::optional<CDeadline> cancelAt;
};
