#include "firmware/SysexImage.h"

namespace
{
juce::String hexByte (juce::uint8 byte)
{
    return "0x" + juce::String::toHexString ((int) byte).paddedLeft ('0', 2).toUpperCase();
}
} // namespace

int SysexImage::findMessageLength (const juce::uint8* data, int size, int start) noexcept
{
    for (int i = start; i < size; ++i)
        if (data[i] == endByte)
            return i - start + 1;

    return 0;
}

juce::Array<juce::Range<int>> SysexImage::splitMessages (const juce::uint8* data, int size)
{
    juce::Array<juce::Range<int>> messages;

    for (int start = 0; start < size;)
    {
        const int length = findMessageLength (data, size, start);

        if (length == 0)
            break;

        messages.add ({ start, start + length });
        start += length;
    }

    return messages;
}

juce::Result SysexImage::check (const juce::uint8* data, juce::int64 size)
{
    if (data == nullptr || size <= 0)
        return juce::Result::fail ("the firmware image is empty");

    if (size > std::numeric_limits<int>::max())
        return juce::Result::fail ("the firmware image is too large (" + juce::String (size) + " bytes)");

    const auto length = (int) size;
    int messageStart = 0;

    while (messageStart < length)
    {
        if (data[messageStart] != startByte)
            return juce::Result::fail ("the firmware image has the byte " + hexByte (data[messageStart])
                                       + " at offset " + juce::String (messageStart)
                                       + " where a SysEx message (F0) should start");

        int i = messageStart + 1;

        while (i < length && data[i] < 0x80)
            ++i;

        if (i == length)
            return juce::Result::fail ("the SysEx message at offset " + juce::String (messageStart)
                                       + " has no end byte F7 before the end of the firmware image");

        if (data[i] != endByte)
            return juce::Result::fail ("the SysEx message at offset " + juce::String (messageStart)
                                       + " holds the byte " + hexByte (data[i]) + " at offset "
                                       + juce::String (i) + " before its end byte F7");

        messageStart = i + 1;
    }

    return juce::Result::ok();
}
