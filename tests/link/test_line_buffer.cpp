#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "CLineBuffer.h"

namespace {

struct LineCase {
    const char* name;
    size_t capacity;
    std::string input;
    std::string text;  // buffer contents when the line ended (or the input ran out)
    size_t consumed;   // bytes taken before Put answered true (input size if never)
    bool complete;
};

class LineBufferTable : public testing::TestWithParam<LineCase> {};

TEST_P(LineBufferTable, AssemblesAsTheRuleSays) {
    const LineCase& c = GetParam();
    std::vector<char> storage(c.capacity + 8, '#');
    CLineBuffer line(storage.data(), c.capacity);
    size_t consumed = 0;
    bool complete = false;
    for (char byte : c.input) {
        ++consumed;
        if (line.Put(byte)) {
            complete = true;
            break;
        }
    }
    EXPECT_EQ(complete, c.complete);
    EXPECT_EQ(consumed, c.consumed);
    EXPECT_EQ(std::string(storage.data()), c.text);
    EXPECT_EQ(line.Length(), c.text.size());
    // Nothing past the capacity is ever touched.
    for (size_t i = c.capacity; i < storage.size(); ++i) {
        EXPECT_EQ(storage[i], '#') << "byte " << i;
    }
}

const LineCase kLineCases[] = {
    {"PlainLineEndsAtLineFeed", 64, "OK\nrest", "OK\n", 3, true},
    {"CarriageReturnIsOrdinary", 64, "A\r\n", "A\r\n", 3, true},
    {"LoneLineFeed", 64, "\n", "\n", 1, true},
    {"NoLineFeedKeepsWaiting", 64, "abc", "abc", 3, false},
    {"ZeroBytesVanish", 64, std::string("a\0b\0\0c\n", 7), "abc\n", 7, true},
    {"ZeroByteAtEndLeavesText", 64, std::string("ab\0", 3), "ab", 3, false},
    {"FullBufferDropsNextByte", 4, "abcdef", "abc", 4, true},
    {"LineFeedThatFitsEndsLine", 4, "ab\n", "ab\n", 3, true},
    {"LineFeedAfterFullIsDropped", 4, "abc\n", "abc", 4, true},
    {"CapacityOneIsAlwaysFull", 1, "x", "", 1, true},
    {"ZeroDoesNotCountTowardsFull", 3, std::string("a\0\0\0b", 5), "ab", 5, false},
};

INSTANTIATE_TEST_SUITE_P(Cases, LineBufferTable, testing::ValuesIn(kLineCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(LineBuffer, StartsEmptyEvenOverOldText) {
    char buffer[8] = "stale";
    CLineBuffer line(buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "");
}

TEST(LineBuffer, CapacityZeroWritesNothing) {
    char buffer[2] = {'#', '#'};
    CLineBuffer line(buffer, 0);
    EXPECT_TRUE(line.Put('a'));
    EXPECT_EQ(buffer[0], '#');
    EXPECT_EQ(buffer[1], '#');
}

}  // namespace
