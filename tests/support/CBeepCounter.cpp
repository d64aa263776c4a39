#include "CBeepCounter.h"

#include "MessageBoxes.h"

CBeepCounter::CBeepCounter() {
    SetBeepHook([this] { ++count; });
}

CBeepCounter::~CBeepCounter() {
    SetBeepHook({});
}
