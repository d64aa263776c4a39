#include <cstdio>
#include <cstdlib>

#include "FuzzChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string fault = fuzzchecks::CheckLineBuffer(data, size);
    if (!fault.empty()) {
        std::fprintf(stderr, "CLineBuffer: %s\n", fault.c_str());
        std::abort();
    }
    return 0;
}
