#include "CEditorJournal.h"

#include <QString>
#include <utility>

#include "JournalFailure.h"
#include "MessageBoxes.h"
#include "PortName.h"
#include "Roles.h"

namespace {

constexpr char kCannotWrite[] =
    "Le journal de mise en service ne peut pas être écrit dans %1 (%2).\n"
    "La programmation continue, mais les échanges de cette session ne sont pas enregistrés.";

}  // namespace

CEditorJournal::CEditorJournal(std::string folder) : journal(std::move(folder)) {}

void CEditorJournal::SetFolder(std::string folder) {
    journal = CJournal(std::move(folder));
    warned = false;
}

void CEditorJournal::Record(const std::string& editor, bool isClient,
                            const ExchangeRecord& record) {
    const JournalContext context{Roles::NameOf(isClient), editor, PortName::Of(record.portNumber),
                                 network, repeaterCount};
    if (journal.Append(context, record) != JOURNAL_OK) {
        WarnOnce();
    }
}

void CEditorJournal::SetNetwork(std::string name, int32_t count) {
    network = std::move(name);
    repeaterCount = count;
}

void CEditorJournal::WarnOnce() {
    if (warned) {
        return;
    }
    warned = true;
    const QString folder =
        journal.Folder().empty() ? QStringLiteral("?") : QString::fromStdString(journal.Folder());
    AfxMessageBox(QString::fromUtf8(kCannotWrite)
                      .arg(folder, QString::fromUtf8(JournalFailureReason(journal.LastError()))));
}
