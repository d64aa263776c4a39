#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "FuzzChecks.h"
#include "PlanFuzzChecks.h"

#ifndef ZAV_FUZZ_CORPUS_DIR
#error "ZAV_FUZZ_CORPUS_DIR must name the seed corpus folder"
#endif

namespace {

namespace fs = std::filesystem;

using Check = std::string (*)(const uint8_t*, size_t);

struct CorpusRow {
    std::string name;
    Check check;
};

void PrintTo(const CorpusRow& row, std::ostream* os) {
    *os << row.name;
}

class FuzzCorpus : public testing::TestWithParam<CorpusRow> {};

TEST_P(FuzzCorpus, EverySeedPassesTheChecks) {
    const fs::path folder = fs::path(ZAV_FUZZ_CORPUS_DIR) / GetParam().name;
    ASSERT_TRUE(fs::is_directory(folder)) << folder;
    size_t seeds = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        if (!entry.is_regular_file()) {
            continue;
        }
        std::ifstream in(entry.path(), std::ios::binary);
        ASSERT_TRUE(in) << entry.path();
        const std::vector<char> bytes{std::istreambuf_iterator<char>(in),
                                      std::istreambuf_iterator<char>()};
        EXPECT_EQ(GetParam().check(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()),
                  "")
            << entry.path().filename();
        ++seeds;
    }
    EXPECT_GE(seeds, 5u) << "seed corpus missing or nearly empty: " << folder;
}

INSTANTIATE_TEST_SUITE_P(Fuzz, FuzzCorpus,
                         testing::Values(CorpusRow{"decode_report", fuzzchecks::CheckDecodeReport},
                                         CorpusRow{"line_buffer", fuzzchecks::CheckLineBuffer},
                                         CorpusRow{"plan_reader", fuzzchecks::CheckPlanReader}),
                         [](const testing::TestParamInfo<CorpusRow>& info) {
                             return info.param.name;
                         });

}  // namespace
