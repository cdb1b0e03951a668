#pragma once

#include "midi/MidiInputDevice.h"

#include <juce_audio_basics/midi/juce_MidiDataConcatenator.h>

#include <alsa/asoundlib.h>

/** An ALSA RawMIDI input port read on a thread of its own with short non-blocking
    reads; the bytes are assembled into complete messages, SysEx across reads. */
class AlsaMidiInputDevice : public MidiInputDevice,
                            private juce::Thread
{
public:
    /** Opens the port; on failure returns nullptr and sets error. */
    static std::unique_ptr<AlsaMidiInputDevice> open (const juce::MidiDeviceInfo& port,
                                                      juce::MidiInputCallback& callback,
                                                      juce::String& error);

    ~AlsaMidiInputDevice() override;

    void start() override;
    void stop() override;

    static constexpr int idleWaitMs = 2;

private:
    AlsaMidiInputDevice (const juce::MidiDeviceInfo& port, snd_rawmidi_t* handle, juce::MidiInputCallback& callback);

    void run() override;

    const juce::MidiDeviceInfo port;
    snd_rawmidi_t* const handle;
    juce::MidiInputCallback& callback;
    juce::MidiDataConcatenator concatenator { 2048 };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (AlsaMidiInputDevice)
};
