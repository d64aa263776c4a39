#pragma once

// Counts the program's beeps while it lives, in place of the desktop's.
class CBeepCounter {
public:
    CBeepCounter();
    ~CBeepCounter();
    CBeepCounter(const CBeepCounter&) = delete;
    CBeepCounter& operator=(const CBeepCounter&) = delete;

    unsigned Count() const { return count; }

private:
    unsigned count = 0;
};
