#pragma once

#include <cstdint>

#include "IExchangeHost.h"
#include "Verdict.h"

class QLabel;

// The small verdict control beside an editor's status box: a mark and words as well as a
// colour, so that it reads without colour too. Empty while there is nothing to judge.
namespace VerdictDisplay {

inline constexpr int kIdVerdict = 1030;

// Empties the control and repaints it at once: an exchange is about to block the screen.
void Clear(QLabel* label);
void Show(QLabel* label, const Verdict& verdict);
// The verdict of an ended exchange; a send that must be done again (no report, the port
// failed, a value read back different) names the ID it set out to program.
void ShowOutcome(QLabel* label, const ExchangeRecord& record);
// The time left of the wait under way, in whole seconds rounded up; plain, without a mark.
void ShowCountdown(QLabel* label, WaitKind kind, uint32_t msLeft);

}  // namespace VerdictDisplay
