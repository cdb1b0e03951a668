#include "firmware/SysexImage.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
struct CheckCase
{
    const char* what;
    std::vector<juce::uint8> image;
    const char* expectedError; // nullptr: the image is valid
};

const CheckCase checkCases[] = {
    { "one message", { 0xf0, 0x01, 0x02, 0xf7 }, nullptr },
    { "two messages", { 0xf0, 0xf7, 0xf0, 0x7f, 0xf7 }, nullptr },
    { "empty", {}, "the firmware image is empty" },
    { "first byte not F0", { 0x41, 0xf0, 0xf7 }, "the byte 0x41 at offset 0" },
    { "last message without F7", { 0xf0, 0x01, 0xf7, 0xf0, 0x02 }, "the SysEx message at offset 3 has no end byte F7" },
    { "byte after the last F7", { 0xf0, 0x01, 0xf7, 0x00 }, "the byte 0x00 at offset 3" },
    { "status byte inside a message", { 0xf0, 0x01, 0x90, 0x40, 0xf7 }, "holds the byte 0x90 at offset 2" },
    { "F0 inside a message", { 0xf0, 0x01, 0xf0, 0xf7 }, "holds the byte 0xF0 at offset 2" },
};
} // namespace

TEST (SysexImage, CheckNamesWhatIsWrongAndWhere)
{
    for (const auto& c : checkCases)
    {
        const auto result = SysexImage::check (c.image.data(), (juce::int64) c.image.size());

        if (c.expectedError == nullptr)
        {
            EXPECT_TRUE (result.wasOk()) << c.what << ": " << result.getErrorMessage();
        }
        else
        {
            ASSERT_TRUE (result.failed()) << c.what;
            EXPECT_TRUE (result.getErrorMessage().contains (c.expectedError))
                << c.what << ": " << result.getErrorMessage();
        }
    }
}

TEST (SysexImage, CheckRefusesANullImage)
{
    EXPECT_TRUE (SysexImage::check (nullptr, 10).failed());
}

TEST (SysexImage, SplitCutsAfterEveryF7AndDropsAnUnendedTail)
{
    const std::vector<juce::uint8> image { 0xf0, 0x01, 0xf7, 0xf0, 0xf7, 0xf0, 0x02 };
    const auto messages = SysexImage::splitMessages (image.data(), (int) image.size());

    ASSERT_EQ (messages.size(), 2);
    EXPECT_EQ (messages[0], juce::Range<int> (0, 3));
    EXPECT_EQ (messages[1], juce::Range<int> (3, 5));
}

TEST (SysexImage, FindMessageLengthNeverReadsPastTheEnd)
{
    const std::vector<juce::uint8> image { 0xf0, 0x01, 0x02, 0xf7, 0xf7 };

    EXPECT_EQ (SysexImage::findMessageLength (image.data(), 5, 0), 4);
    EXPECT_EQ (SysexImage::findMessageLength (image.data(), 5, 4), 1);
    EXPECT_EQ (SysexImage::findMessageLength (image.data(), 3, 0), 0);
    EXPECT_EQ (SysexImage::findMessageLength (image.data(), 5, 5), 0);
}
