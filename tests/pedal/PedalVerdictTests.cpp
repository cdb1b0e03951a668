// What the pedal makes of the bytes its wire received.
#include "PedalFixtures.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

using namespace pedalfixtures;

namespace
{
struct VerdictCase
{
    const char* name;
    std::function<Bytes()> stream;
    std::string verdict;
};

Bytes withBlocks (std::initializer_list<int> numbers, int count, bool close)
{
    Bytes all = openingMessage();
    for (const int n : numbers)
        all += dataBlock (n, count);
    if (close)
        all += closingMessage();
    return all;
}

class PedalVerdict : public testing::TestWithParam<VerdictCase> {};
} // namespace

TEST_P (PedalVerdict, JudgesTheCapturedStream)
{
    ASSERT_EQ (virtual_pedal_configure (""), 0);
    const Bytes bytes = GetParam().stream();

    if (! bytes.empty())
    {
        auto out = Stream::output();
        ASSERT_EQ (out.openResult, 0);
        ASSERT_EQ (out.write (bytes), (ssize_t) bytes.size());
        ASSERT_EQ (out.close(), 0);
    }

    EXPECT_EQ (capturedBytes (1), bytes);
    EXPECT_EQ (std::string (virtual_pedal_verdict (1)), GetParam().verdict);
}

INSTANTIATE_TEST_SUITE_P (Cases, PedalVerdict, testing::Values (
    VerdictCase { "Complete", [] { return update (3); },
                  "complete Lantern Reverb update (5 messages, 1815 bytes)" },
    VerdictCase { "NoClosingMessage", [] { return withBlocks ({ 0, 1 }, 3, false); },
                  "incomplete update: 3 whole messages, no closing message" },
    VerdictCase { "CutInsideABlock", []
                  {
                      Bytes b = withBlocks ({ 0 }, 3, false);
                      const Bytes block = dataBlock (1, 3);
                      b.insert (b.end(), block.begin(), block.begin() + 300);
                      return b;
                  },
                  "incomplete update: 2 whole messages, no closing message; partial message at the end" },
    VerdictCase { "CutInsideTheOpeningMessage", [] { return Bytes { 0xf0, 0x00, 0x7f }; },
                  "incomplete update: 0 whole messages, no closing message; partial message at the end" },
    VerdictCase { "OtherSysex", [] { Bytes b = sysex (20); b += sysex (30, 5); return b; },
                  "not a Lantern Reverb update: 2 whole SysEx messages; the first message is not the opening message" },
    VerdictCase { "BlocksOutOfOrder", [] { return withBlocks ({ 0, 2, 1 }, 3, true); },
                  "not a Lantern Reverb update: 5 whole SysEx messages; message 3 is block 2, expected block 1" },
    VerdictCase { "ClosedTooEarly", [] { return withBlocks ({ 0 }, 3, true); },
                  "not a Lantern Reverb update: 3 whole SysEx messages; closing message after 1 of 3 blocks" },
    VerdictCase { "BytesBetweenMessages", [] { Bytes b = openingMessage(); b += Bytes { 0x90, 0x40, 0x7f }; return b; },
                  "not a Lantern Reverb update: 1 whole SysEx message; 3 bytes outside whole messages" },
    VerdictCase { "MoreAfterTheClosingMessage", [] { Bytes b = update (1); b += sysex (5); return b; },
                  "not a Lantern Reverb update: 4 whole SysEx messages; 1 message after the closing message" },
    VerdictCase { "NoData", [] { return Bytes(); }, "no data" }),
    [] (const testing::TestParamInfo<VerdictCase>& info) { return std::string (info.param.name); });
