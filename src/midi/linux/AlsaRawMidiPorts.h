#pragma once

#include <juce_audio_devices/juce_audio_devices.h>

#include <alsa/asoundlib.h>

/** Lists ALSA RawMIDI ports the way `amidi -l` does: cards, then devices, then
    subdevices, each named as amidi's Name column shows it. */
class AlsaRawMidiPorts
{
public:
    /** The ports of one direction. The identifier is the port's ALSA name ("hw:1,0,0").
        Anything that could not be read is logged as a sentence and left out. */
    static juce::Array<juce::MidiDeviceInfo> list (snd_rawmidi_stream_t direction);

    /** The port as a user recognises it in a message: "Name" (hw:1,0,0). */
    static juce::String describe (const juce::MidiDeviceInfo& port);

    /** An ALSA error as the end of a sentence. */
    static juce::String errorText (int alsaError);

    static void logProblem (const juce::String& sentence);

private:
    static void listCard (int card, snd_rawmidi_stream_t direction, juce::Array<juce::MidiDeviceInfo>& ports);
    static void listDevice (snd_ctl_t* control, snd_rawmidi_info_t* info, int card, int device,
                            snd_rawmidi_stream_t direction, juce::Array<juce::MidiDeviceInfo>& ports);

    AlsaRawMidiPorts() = delete;
};
