#pragma once

#include <juce_core/juce_core.h>

/** Millisecond timing helpers for transfer protocols. */
class LKTime : public juce::Time
{
public:
    LKTime() = default;

    juce::uint32 getMillisecondCounter() const noexcept;

    /** later - earlier; across a counter wrap the distance forward from earlier to later. */
    juce::uint32 elapsedBetween (juce::uint32 later, juce::uint32 earlier) const noexcept;
    juce::uint32 elapsedSince (juce::uint32 earlier) const noexcept;

    /** Sleeps in 10 ms steps until at least durationMs have passed; always sleeps once. */
    void waitFor (juce::uint32 durationMs) const;

    static constexpr int sleepStepMs = 10;
};
