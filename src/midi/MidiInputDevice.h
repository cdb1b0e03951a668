#pragma once

#include <juce_audio_devices/juce_audio_devices.h>

#include <memory>

/** One open MIDI input port that delivers complete messages to a callback on a thread of
    its own. Each platform implements the two static functions and a subclass. */
class MidiInputDevice
{
public:
    MidiInputDevice() = default;
    virtual ~MidiInputDevice() = default;

    /** The input ports in system order, named as the user sees them. */
    static juce::Array<juce::MidiDeviceInfo> getAvailableDevices();

    /** Opens a port from getAvailableDevices(); messages go to callback once started.
        On failure returns nullptr and sets error to a sentence the user can act on. */
    static std::unique_ptr<MidiInputDevice> openDevice (const juce::MidiDeviceInfo& port,
                                                        juce::MidiInputCallback& callback,
                                                        juce::String& error);

    virtual void start() = 0;

    /** Stops delivery; no callback runs once this returns. */
    virtual void stop() = 0;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MidiInputDevice)
};
