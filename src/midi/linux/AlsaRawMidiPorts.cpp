#include "midi/linux/AlsaRawMidiPorts.h"

juce::Array<juce::MidiDeviceInfo> AlsaRawMidiPorts::list (snd_rawmidi_stream_t direction)
{
    juce::Array<juce::MidiDeviceInfo> ports;
    int card = -1;

    for (;;)
    {
        if (const auto err = snd_card_next (&card); err < 0)
        {
            logProblem ("Could not look for sound cards: " + errorText (err) + ".");
            break;
        }

        if (card < 0)
            break;

        listCard (card, direction, ports);
    }

    return ports;
}

void AlsaRawMidiPorts::listCard (int card, snd_rawmidi_stream_t direction, juce::Array<juce::MidiDeviceInfo>& ports)
{
    const auto controlName = "hw:" + juce::String (card);
    snd_ctl_t* control = nullptr;

    if (const auto err = snd_ctl_open (&control, controlName.toRawUTF8(), 0); err < 0)
    {
        logProblem ("Could not open the control of sound card " + juce::String (card) + ": " + errorText (err)
                    + ". Its MIDI ports are not offered.");
        return;
    }

    snd_rawmidi_info_t* info = nullptr;

    if (const auto err = snd_rawmidi_info_malloc (&info); err < 0)
    {
        logProblem ("Could not read the MIDI ports of sound card " + juce::String (card) + ": " + errorText (err) + ".");
    }
    else
    {
        int device = -1;

        for (;;)
        {
            if (const auto err = snd_ctl_rawmidi_next_device (control, &device); err < 0)
            {
                logProblem ("Could not look for MIDI devices on sound card " + juce::String (card) + ": "
                            + errorText (err) + ".");
                break;
            }

            if (device < 0)
                break;

            listDevice (control, info, card, device, direction, ports);
        }

        snd_rawmidi_info_free (info);
    }

    if (const auto err = snd_ctl_close (control); err < 0)
        logProblem ("Could not close the control of sound card " + juce::String (card) + ": " + errorText (err) + ".");
}

void AlsaRawMidiPorts::listDevice (snd_ctl_t* control, snd_rawmidi_info_t* info, int card, int device,
                                   snd_rawmidi_stream_t direction, juce::Array<juce::MidiDeviceInfo>& ports)
{
    snd_rawmidi_info_set_device (info, (unsigned int) device);
    snd_rawmidi_info_set_subdevice (info, 0);
    snd_rawmidi_info_set_stream (info, direction);

    // A device without this direction is not an error: it is simply not listed.
    if (snd_ctl_rawmidi_info (control, info) < 0)
        return;

    const auto subdevices = (int) snd_rawmidi_info_get_subdevices_count (info);
    const auto deviceId = "hw:" + juce::String (card) + "," + juce::String (device);

    for (int sub = 0; sub < subdevices; ++sub)
    {
        snd_rawmidi_info_set_subdevice (info, (unsigned int) sub);

        if (const auto err = snd_ctl_rawmidi_info (control, info); err < 0)
        {
            logProblem ("Could not read the MIDI port " + deviceId + "," + juce::String (sub) + ": "
                        + errorText (err) + ".");
            return;
        }

        const juce::String subdeviceName (juce::CharPointer_UTF8 (snd_rawmidi_info_get_subdevice_name (info)));

        // As amidi: a first subdevice without a name stands for the whole device.
        if (sub == 0 && subdeviceName.isEmpty())
        {
            const juce::String deviceName (juce::CharPointer_UTF8 (snd_rawmidi_info_get_name (info)));
            ports.add ({ deviceName, deviceId });
            return;
        }

        ports.add ({ subdeviceName, deviceId + "," + juce::String (sub) });
    }
}

juce::String AlsaRawMidiPorts::describe (const juce::MidiDeviceInfo& port)
{
    return "\"" + port.name + "\" (" + port.identifier + ")";
}

juce::String AlsaRawMidiPorts::errorText (int alsaError)
{
    return juce::String (juce::CharPointer_UTF8 (snd_strerror (alsaError)));
}

void AlsaRawMidiPorts::logProblem (const juce::String& sentence)
{
    juce::Logger::writeToLog (sentence);
}
