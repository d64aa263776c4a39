#pragma once

#include <cstddef>

// Memory for a reading that holds a year of records at once. Fresh memory costs a fault for each
// page first written, which over hundreds of megabytes outweighs the reading itself; a buffer this
// large is asked for in huge pages where the system grants them.
class CLargeBuffer {
public:
    CLargeBuffer() = default;
    explicit CLargeBuffer(size_t bytes);
    ~CLargeBuffer();
    CLargeBuffer(CLargeBuffer&& other) noexcept;
    CLargeBuffer& operator=(CLargeBuffer&& other) noexcept;
    CLargeBuffer(const CLargeBuffer&) = delete;
    CLargeBuffer& operator=(const CLargeBuffer&) = delete;

    // The same hint for memory held otherwise (a large vector's): the whole large pages within.
    static void PreferHugePages(void* data, size_t bytes);

    char* Data() const { return data; }
    size_t Size() const { return size; }

private:
    char* data = nullptr;
    size_t size = 0;
};
