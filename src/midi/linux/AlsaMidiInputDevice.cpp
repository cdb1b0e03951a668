#include "midi/linux/AlsaMidiInputDevice.h"

#include "midi/linux/AlsaRawMidiPorts.h"

juce::Array<juce::MidiDeviceInfo> MidiInputDevice::getAvailableDevices()
{
    return AlsaRawMidiPorts::list (SND_RAWMIDI_STREAM_INPUT);
}

std::unique_ptr<MidiInputDevice> MidiInputDevice::openDevice (const juce::MidiDeviceInfo& port,
                                                              juce::MidiInputCallback& callback,
                                                              juce::String& error)
{
    return AlsaMidiInputDevice::open (port, callback, error);
}

std::unique_ptr<AlsaMidiInputDevice> AlsaMidiInputDevice::open (const juce::MidiDeviceInfo& port,
                                                                juce::MidiInputCallback& callback,
                                                                juce::String& error)
{
    snd_rawmidi_t* handle = nullptr;

    if (const auto err = snd_rawmidi_open (&handle, nullptr, port.identifier.toRawUTF8(), SND_RAWMIDI_NONBLOCK); err < 0)
    {
        error = "The MIDI input " + AlsaRawMidiPorts::describe (port) + " could not be opened: "
              + AlsaRawMidiPorts::errorText (err) + ".";

        if (err == -EBUSY)
            error << " Close any other program that uses it and try again.";

        return nullptr;
    }

    return std::unique_ptr<AlsaMidiInputDevice> (new AlsaMidiInputDevice (port, handle, callback));
}

AlsaMidiInputDevice::AlsaMidiInputDevice (const juce::MidiDeviceInfo& p, snd_rawmidi_t* h, juce::MidiInputCallback& c)
    : juce::Thread ("MIDI Input"), port (p), handle (h), callback (c)
{
}

AlsaMidiInputDevice::~AlsaMidiInputDevice()
{
    stop();

    if (const auto err = snd_rawmidi_close (handle); err < 0 && err != -ENODEV)
        AlsaRawMidiPorts::logProblem ("Could not close the MIDI input " + AlsaRawMidiPorts::describe (port)
                                      + ": " + AlsaRawMidiPorts::errorText (err) + ".");
}

void AlsaMidiInputDevice::start()
{
    startThread();
}

void AlsaMidiInputDevice::stop()
{
    // The loop waits at most a few milliseconds between checks.
    stopThread (2000);
}

void AlsaMidiInputDevice::run()
{
    juce::uint8 bytes[256];
    concatenator.reset();

    while (! threadShouldExit())
    {
        const auto result = snd_rawmidi_read (handle, bytes, sizeof (bytes));

        if (result > 0)
        {
            concatenator.pushMidiData (bytes, (int) result, juce::Time::getMillisecondCounterHiRes() * 0.001,
                                       static_cast<juce::MidiInput*> (nullptr), callback);
            continue;
        }

        if (result == 0 || result == -EAGAIN)
        {
            wait (idleWaitMs);
            continue;
        }

        if (result == -ENODEV)
        {
            AlsaRawMidiPorts::logProblem ("The MIDI input " + AlsaRawMidiPorts::describe (port)
                                          + " was disconnected; nothing more is received from it.");
            return;
        }

        AlsaRawMidiPorts::logProblem ("Could not read from the MIDI input " + AlsaRawMidiPorts::describe (port)
                                      + ": " + AlsaRawMidiPorts::errorText ((int) result) + ".");
        wait (100);
    }
}
