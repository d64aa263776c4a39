#pragma once

#include <string>

#include "ExchangeRecord.h"

class QLabel;

// What every editor does around an exchange beyond its status box: the port-failure box with
// its cause, the verdict control, and the journal.
namespace ExchangeFeedback {

void ShowPortFailure(const std::string& text, const std::string& cause,
                     const std::string& systemError);
void Started(QLabel* verdict);
void Ended(QLabel* verdict, const std::string& editor, bool isClient, const ExchangeRecord& record);

}  // namespace ExchangeFeedback
