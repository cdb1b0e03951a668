#pragma once

#include "midi/MidiOutputDevice.h"

/** A MIDI output through JUCE's MidiOutput. sendMessageNow blocks until the driver has
    finished with the message and reports nothing, so a send can only fail beforehand. */
class JuceMidiOutputDevice : public MidiOutputDevice
{
public:
    explicit JuceMidiOutputDevice (std::unique_ptr<juce::MidiOutput> openOutput);

    juce::Result sendMessage (const juce::uint8* data, int numBytes) override;
    bool isUsable() const override { return true; }

private:
    std::unique_ptr<juce::MidiOutput> output;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (JuceMidiOutputDevice)
};
