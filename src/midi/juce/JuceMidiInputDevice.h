#pragma once

#include "midi/MidiInputDevice.h"

/** A MIDI input through JUCE's MidiInput, which calls back on its own thread. */
class JuceMidiInputDevice : public MidiInputDevice
{
public:
    explicit JuceMidiInputDevice (std::unique_ptr<juce::MidiInput> openInput);
    ~JuceMidiInputDevice() override;

    void start() override;
    void stop() override;

private:
    std::unique_ptr<juce::MidiInput> input;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (JuceMidiInputDevice)
};
