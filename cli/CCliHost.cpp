#include "CCliHost.h"

#include <utility>

#include "CJournal.h"
#include "JournalFailure.h"

namespace {
constexpr char kEditorName[] = "ligne de commande";
}  // namespace

CCliHost::CCliHost(CJournal& journal, std::string role, std::string portName)
    : journal(journal), role(std::move(role)), portName(std::move(portName)) {}

void CCliHost::ShowPortFailure(const std::string& text, const std::string& failureCause,
                               const std::string& failureSystemError) {
    messages.push_back(text);
    cause = failureCause;
    systemError = failureSystemError;
}

void CCliHost::ExchangeEnded(const ExchangeRecord& ended) {
    record = ended;
    if (journal.Append({role, kEditorName, portName, network, repeaterCount}, ended) !=
        JOURNAL_OK) {
        journalReason = JournalFailureReason(journal.LastError());
        journalFailure = "le journal ne peut pas être écrit" +
                         (journal.Folder().empty() ? std::string() : " dans " + journal.Folder()) +
                         " (" + journalReason + ")";
    }
}

void CCliHost::SetNetwork(std::string name, int32_t count) {
    network = std::move(name);
    repeaterCount = count;
}
