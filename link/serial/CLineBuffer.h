#pragma once

#include <cstddef>

// Assembles one received line in a caller's zero-terminated buffer, a byte at a time.
// Knows nothing of where the bytes come from, so that the rule can be tested on its own.
class CLineBuffer {
public:
    // Leaves buffer as "" (when capacity allows any byte at all).
    CLineBuffer(char* buffer, size_t capacity);

    // Appends one byte. True when the line is complete: a line feed was appended, or the
    // buffer was already full and this byte was dropped. A zero byte ends the text where it
    // stands and the next byte takes its place.
    bool Put(char byte);

    size_t Length() const { return length; }

private:
    char* buffer;
    size_t capacity;
    size_t length = 0;
};
