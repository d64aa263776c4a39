#include "CCliHost.h"

#include <cstring>
#include <utility>

#include "CJournal.h"

namespace {
constexpr char kEditorName[] = "ligne de commande";
}  // namespace

CCliHost::CCliHost(CJournal& journal, std::string role, std::string portName)
    : journal(journal), role(std::move(role)), portName(std::move(portName)) {}

void CCliHost::ExchangeEnded(const ExchangeRecord& ended) {
    record = ended;
    if (journal.Append({role, kEditorName, portName}, ended) != JOURNAL_OK) {
        journalFailure = "le journal ne peut pas être écrit dans " +
                         (journal.Folder().empty() ? std::string("?") : journal.Folder()) + " (" +
                         std::strerror(journal.LastError()) + ")";
    }
}
