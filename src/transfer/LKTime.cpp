#include "transfer/LKTime.h"

juce::uint32 LKTime::getMillisecondCounter() const noexcept
{
    return juce::Time::getMillisecondCounter();
}

juce::uint32 LKTime::elapsedBetween (juce::uint32 later, juce::uint32 earlier) const noexcept
{
    // Unsigned arithmetic gives the forward distance even when the counter wrapped.
    return later - earlier;
}

juce::uint32 LKTime::elapsedSince (juce::uint32 earlier) const noexcept
{
    return elapsedBetween (getMillisecondCounter(), earlier);
}

void LKTime::waitFor (juce::uint32 durationMs) const
{
    const auto start = getMillisecondCounter();

    do
        juce::Thread::sleep (sleepStepMs);
    while (elapsedSince (start) < durationMs);
}
