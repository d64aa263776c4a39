#include "CEditorJournal.h"

#include <QString>
#include <cstring>

#include "Roles.h"
#include "MessageBoxes.h"

namespace {

constexpr char kCannotWrite[] =
    "Le journal de mise en service ne peut pas être écrit dans %1 (%2).\n"
    "La programmation continue, mais les échanges de cette session ne sont pas enregistrés.";

}  // namespace

CEditorJournal& CEditorJournal::Instance() {
    static CEditorJournal instance;
    return instance;
}

// The folder is looked up again for every record, so that a session whose data folder
// changes (a test, a desktop that sets it late) writes where it now points.
CJournal& CEditorJournal::Journal() {
    const std::string folder = CJournal::DefaultFolder();
    if (!journal || journal->Folder() != folder) {
        journal = std::make_unique<CJournal>(folder);
    }
    return *journal;
}

void CEditorJournal::Record(const std::string& editor, bool isClient,
                            const ExchangeRecord& record) {
    const JournalContext context{
        isClient ? Roles::kClient : Roles::kAdministrator, editor,
        "COM" + std::to_string(record.portNumber)};
    CJournal& target = Journal();
    if (target.Append(context, record) != JOURNAL_OK) {
        WarnOnce(target);
    }
}

void CEditorJournal::WarnOnce(const CJournal& target) {
    if (warned) {
        return;
    }
    warned = true;
    const QString folder =
        target.Folder().empty() ? QStringLiteral("?") : QString::fromStdString(target.Folder());
    AfxMessageBox(QString::fromUtf8(kCannotWrite)
                      .arg(folder, QString::fromLocal8Bit(std::strerror(target.LastError()))));
}
