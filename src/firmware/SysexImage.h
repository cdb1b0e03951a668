#pragma once

#include <juce_core/juce_core.h>

/** The firmware image format: complete SysEx messages (F0 ... F7, 7-bit bytes between)
    back to back. Message boundaries are found by F0 and F7 alone.

    This is the one place that cuts an image into messages and that checks an image.
*/
class SysexImage
{
public:
    /** The length of the message starting at `start`: the bytes up to and including the
        first F7 at or after `start`, or 0 when no F7 follows before `size`. */
    static int findMessageLength (const juce::uint8* data, int size, int start) noexcept;

    /** The messages of an image cut after every F7, as ranges of offsets. A tail without
        an F7 is not a message and is left out. */
    static juce::Array<juce::Range<int>> splitMessages (const juce::uint8* data, int size);

    /** Checks that the whole image is a clean run of complete SysEx messages. On failure
        the result says what was found and at which offset. */
    static juce::Result check (const juce::uint8* data, juce::int64 size);

    static constexpr juce::uint8 startByte = 0xf0;
    static constexpr juce::uint8 endByte = 0xf7;
};
