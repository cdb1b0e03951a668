#pragma once

#include "midi/MidiOutputDevice.h"

#include <alsa/asoundlib.h>

/** An ALSA RawMIDI output port, opened non-blocking so that no send can hang: a send
    writes with waits while the buffer is full, then waits for the buffer to empty and
    drains. A send that makes no progress is abandoned and its unsent bytes dropped. */
class AlsaMidiOutputDevice : public MidiOutputDevice
{
public:
    /** Opens the port; on failure returns nullptr and sets error. */
    static std::unique_ptr<AlsaMidiOutputDevice> open (const juce::MidiDeviceInfo& port, juce::String& error);

    ~AlsaMidiOutputDevice() override;

    juce::Result sendMessage (const juce::uint8* data, int numBytes) override;
    bool isUsable() const override { return ! disconnected; }

private:
    AlsaMidiOutputDevice (const juce::MidiDeviceInfo& port, snd_rawmidi_t* handle,
                          snd_rawmidi_status_t* status, size_t bufferSize);

    enum class Reason { alsaError, stalled, stopped };

    /** How often a send looks at the driver while it waits for room or for the drain. */
    static constexpr int pollIntervalUs = 200;

    juce::Result abandon (Reason reason, int alsaError, int numBytes);
    juce::String disconnectedSentence() const;

    const juce::MidiDeviceInfo port;
    snd_rawmidi_t* const handle;
    snd_rawmidi_status_t* const status;
    const size_t bufferSize;
    std::atomic<bool> disconnected { false };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (AlsaMidiOutputDevice)
};
