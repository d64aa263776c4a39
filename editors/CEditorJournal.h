#pragma once

#include <memory>
#include <string>

#include "CJournal.h"
#include "ExchangeRecord.h"

// The journal every editor of this run writes to. A journal that cannot be written never
// stops an exchange; the user is told so once per run.
class CEditorJournal {
public:
    static CEditorJournal& Instance();

    // `editor` as the journal names it; the role and port name come from the editor too.
    void Record(const std::string& editor, bool isClient, const ExchangeRecord& record);

    bool HasWarned() const { return warned; }

private:
    CEditorJournal() = default;
    CJournal& Journal();
    void WarnOnce(const CJournal& journal);

    std::unique_ptr<CJournal> journal;
    bool warned = false;
};
