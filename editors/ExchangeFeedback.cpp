#include "ExchangeFeedback.h"

#include <QString>

#include "CEditorJournal.h"
#include "MessageBoxes.h"
#include "VerdictDisplay.h"

namespace ExchangeFeedback {

void ShowPortFailure(const std::string& text, const std::string& cause,
                     const std::string& systemError) {
    AfxPortFailureBox(QString::fromStdString(text), QString::fromStdString(cause),
                      QString::fromStdString(systemError));
}

void Started(QLabel* verdict) {
    VerdictDisplay::Clear(verdict);
}

void Ended(QLabel* verdict, const std::string& editor, bool isClient,
           const ExchangeRecord& record) {
    VerdictDisplay::Show(verdict, JudgeReadBack(record));
    CEditorJournal::Instance().Record(editor, isClient, record);
}

}  // namespace ExchangeFeedback
