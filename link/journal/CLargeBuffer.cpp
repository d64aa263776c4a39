#include "CLargeBuffer.h"

#include <sys/mman.h>

#include <cstdint>
#include <cstdlib>
#include <new>
#include <utility>

namespace {

constexpr size_t kHugePage = size_t{2} << 20;

}  // namespace

CLargeBuffer::CLargeBuffer(size_t bytes) {
    const size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
    data = static_cast<char*>(std::aligned_alloc(kHugePage, rounded));
    if (data == nullptr) {
        throw std::bad_alloc();  // as any container running out of memory would
    }
    size = rounded;
    // A hint only: without huge pages the buffer is the same, only slower to fill.
    ::madvise(data, size, MADV_HUGEPAGE);
}

void CLargeBuffer::PreferHugePages(void* data, size_t bytes) {
    const auto begin = reinterpret_cast<uintptr_t>(data);
    const uintptr_t first = (begin + kHugePage - 1) / kHugePage * kHugePage;
    const uintptr_t last = (begin + bytes) / kHugePage * kHugePage;
    if (data != nullptr && last > first) {
        ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
    }
}

CLargeBuffer::~CLargeBuffer() {
    std::free(data);
}

CLargeBuffer::CLargeBuffer(CLargeBuffer&& other) noexcept
    : data(std::exchange(other.data, nullptr)), size(std::exchange(other.size, 0)) {}

CLargeBuffer& CLargeBuffer::operator=(CLargeBuffer&& other) noexcept {
    if (this != &other) {
        std::free(data);
        data = std::exchange(other.data, nullptr);
        size = std::exchange(other.size, 0);
    }
    return *this;
}
