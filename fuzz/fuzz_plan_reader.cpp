#include <cstdio>
#include <cstdlib>

#include "PlanFuzzChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string fault = fuzzchecks::CheckPlanReader(data, size);
    if (!fault.empty()) {
        std::fprintf(stderr, "PlanReader: %s\n", fault.c_str());
        std::abort();
    }
    return 0;
}
