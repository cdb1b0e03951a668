#include "midi/MidiOutputDevice.h"

std::atomic<int> MidiOutputDevice::stallTimeoutMs { MidiOutputDevice::defaultStallTimeoutMs };

void MidiOutputDevice::setStallTimeoutMs (int milliseconds) noexcept
{
    stallTimeoutMs.store (juce::jmax (1, milliseconds));
}

int MidiOutputDevice::getStallTimeoutMs() noexcept
{
    return stallTimeoutMs.load();
}
