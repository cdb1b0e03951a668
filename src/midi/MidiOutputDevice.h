#pragma once

#include <juce_audio_devices/juce_audio_devices.h>

#include <atomic>
#include <memory>

/** One open MIDI output port. Each platform implements the two static functions and a
    subclass; MidiInterfaceClass is the only user. */
class MidiOutputDevice
{
public:
    MidiOutputDevice() = default;
    virtual ~MidiOutputDevice() = default;

    /** The output ports in system order, named as the user sees them. */
    static juce::Array<juce::MidiDeviceInfo> getAvailableDevices();

    /** Opens a port from getAvailableDevices(). On failure returns nullptr and sets
        error to a sentence the user can act on. */
    static std::unique_ptr<MidiOutputDevice> openDevice (const juce::MidiDeviceInfo& port, juce::String& error);

    /** Sends one complete message and returns once the driver has finished with it.
        Fails, saying why, when the device refused the message or was abandoned. */
    virtual juce::Result sendMessage (const juce::uint8* data, int numBytes) = 0;

    /** False once the device has gone away and cannot send any more. */
    virtual bool isUsable() const = 0;

    /** How long a send may go without any progress before it is abandoned. */
    static void setStallTimeoutMs (int milliseconds) noexcept;
    static int getStallTimeoutMs() noexcept;

    static constexpr int defaultStallTimeoutMs = 5000;

    /** How long a send asked to stop may go without progress before it is abandoned. */
    static constexpr int stopGraceMs = 300;

private:
    static std::atomic<int> stallTimeoutMs;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MidiOutputDevice)
};
