#include "CLineBuffer.h"

CLineBuffer::CLineBuffer(char* buffer, size_t capacity) : buffer(buffer), capacity(capacity) {
    if (buffer != nullptr && capacity > 0) {
        buffer[0] = '\0';
    }
}

bool CLineBuffer::Put(char byte) {
    if (buffer == nullptr || capacity == 0 || length >= capacity - 1) {
        return true;
    }
    buffer[length] = byte;
    buffer[length + 1] = '\0';
    if (byte == '\0') {
        return false;
    }
    ++length;
    return byte == '\n';
}
