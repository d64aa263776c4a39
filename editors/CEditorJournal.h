#pragma once

#include <cstdint>
#include <string>

#include "CJournal.h"
#include "ExchangeRecord.h"

// The journal the editors of one run write to, made once by whoever opens them. A journal
// that cannot be written never stops an exchange; the user is told so once per run.
class CEditorJournal {
public:
    explicit CEditorJournal(std::string folder);

    // `editor` as the journal names it; the role and port name come from the editor too.
    void Record(const std::string& editor, bool isClient, const ExchangeRecord& record);

    // The network later records belong to (an empty name for none) and its repeater count.
    void SetNetwork(std::string name, int32_t repeaterCount);
    const std::string& Folder() const { return journal.Folder(); }
    // Later records go to `folder`, e.g. the one the user chose on the sheet.
    void SetFolder(std::string folder);

private:
    void WarnOnce();

    CJournal journal;
    bool warned = false;
    std::string network;
    int32_t repeaterCount = -1;
};
