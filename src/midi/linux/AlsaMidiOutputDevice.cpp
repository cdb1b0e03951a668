#include "midi/linux/AlsaMidiOutputDevice.h"

#include <chrono>
#include <thread>

#include "midi/linux/AlsaRawMidiPorts.h"

juce::Array<juce::MidiDeviceInfo> MidiOutputDevice::getAvailableDevices()
{
    return AlsaRawMidiPorts::list (SND_RAWMIDI_STREAM_OUTPUT);
}

std::unique_ptr<MidiOutputDevice> MidiOutputDevice::openDevice (const juce::MidiDeviceInfo& port, juce::String& error)
{
    return AlsaMidiOutputDevice::open (port, error);
}

std::unique_ptr<AlsaMidiOutputDevice> AlsaMidiOutputDevice::open (const juce::MidiDeviceInfo& port, juce::String& error)
{
    const auto what = "The MIDI output " + AlsaRawMidiPorts::describe (port);
    snd_rawmidi_t* handle = nullptr;

    if (const auto err = snd_rawmidi_open (nullptr, &handle, port.identifier.toRawUTF8(), SND_RAWMIDI_NONBLOCK); err < 0)
    {
        error = what + " could not be opened: " + AlsaRawMidiPorts::errorText (err) + ".";

        if (err == -EBUSY)
            error << " Close any other program that uses it and try again.";
        else if (err == -ENODEV || err == -ENOENT || err == -ENXIO)
            error << " Check that the pedal is connected and in update mode, then restart Brindle.";

        return nullptr;
    }

    snd_rawmidi_params_t* params = nullptr;
    snd_rawmidi_status_t* status = nullptr;
    size_t bufferSize = 0;
    int err = snd_rawmidi_params_malloc (&params);

    if (err >= 0)
    {
        err = snd_rawmidi_params_current (handle, params);

        if (err >= 0)
            bufferSize = snd_rawmidi_params_get_buffer_size (params);

        snd_rawmidi_params_free (params);
    }

    if (err >= 0)
        err = snd_rawmidi_status_malloc (&status);

    if (err < 0 || bufferSize == 0)
    {
        error = what + " could not be set up: " + (err < 0 ? AlsaRawMidiPorts::errorText (err) : juce::String ("it has no output buffer")) + ".";

        if (const auto closeErr = snd_rawmidi_close (handle); closeErr < 0)
            error << " Closing it failed too: " << AlsaRawMidiPorts::errorText (closeErr) << ".";

        return nullptr;
    }

    return std::unique_ptr<AlsaMidiOutputDevice> (new AlsaMidiOutputDevice (port, handle, status, bufferSize));
}

AlsaMidiOutputDevice::AlsaMidiOutputDevice (const juce::MidiDeviceInfo& p, snd_rawmidi_t* h,
                                            snd_rawmidi_status_t* s, size_t size)
    : port (p), handle (h), status (s), bufferSize (size)
{
}

AlsaMidiOutputDevice::~AlsaMidiOutputDevice()
{
    // Every send leaves the buffer empty (drained or dropped), so closing waits for nothing.
    if (const auto err = snd_rawmidi_close (handle); err < 0 && ! disconnected)
        AlsaRawMidiPorts::logProblem ("Could not close the MIDI output " + AlsaRawMidiPorts::describe (port)
                                      + ": " + AlsaRawMidiPorts::errorText (err) + ".");

    snd_rawmidi_status_free (status);
}

juce::Result AlsaMidiOutputDevice::sendMessage (const juce::uint8* data, int numBytes)
{
    if (disconnected)
        return juce::Result::fail (disconnectedSentence());

    if (data == nullptr || numBytes <= 0)
        return juce::Result::fail ("There is no MIDI message to send.");

    const auto total = (size_t) numBytes;
    const auto stallTimeoutMs = (double) getStallTimeoutMs();
    size_t written = 0;
    size_t lastAvail = 0;
    auto lastProgress = juce::Time::getMillisecondCounterHiRes();

    for (;;)
    {
        if (written < total)
        {
            const auto result = snd_rawmidi_write (handle, data + written, total - written);

            if (result > 0)
            {
                written += (size_t) result;
                lastProgress = juce::Time::getMillisecondCounterHiRes();
                continue;
            }

            if (result < 0 && result != -EAGAIN)
                return abandon (Reason::alsaError, (int) result, numBytes);
        }

        if (const auto err = snd_rawmidi_status (handle, status); err < 0)
            return abandon (Reason::alsaError, err, numBytes);

        const auto avail = snd_rawmidi_status_get_avail (status);

        if (written == total && avail >= bufferSize)
            break;

        const auto now = juce::Time::getMillisecondCounterHiRes();

        // The buffer freeing space means the device is taking bytes.
        if (avail > lastAvail)
            lastProgress = now;

        lastAvail = avail;
        const auto idleMs = now - lastProgress;

        if (idleMs >= stallTimeoutMs)
            return abandon (Reason::stalled, 0, numBytes);

        // A stop request lets a draining message finish, but not one the device has stopped taking.
        if (idleMs >= (double) stopGraceMs && juce::Thread::currentThreadShouldExit())
            return abandon (Reason::stopped, 0, numBytes);

        // Short, so that the next message follows the last byte of this one closely.
        std::this_thread::sleep_for (std::chrono::microseconds (pollIntervalUs));
    }

    if (const auto err = snd_rawmidi_drain (handle); err < 0)
        return abandon (Reason::alsaError, err, numBytes);

    return juce::Result::ok();
}

juce::Result AlsaMidiOutputDevice::abandon (Reason reason, int alsaError, int numBytes)
{
    // Nothing of the abandoned message may go out later: discard what is still buffered.
    const auto dropErr = snd_rawmidi_drop (handle);

    if (alsaError == -ENODEV || dropErr == -ENODEV)
    {
        disconnected = true;
        return juce::Result::fail (disconnectedSentence());
    }

    const auto device = AlsaRawMidiPorts::describe (port);
    const auto messageText = "the message of " + juce::String (numBytes) + " bytes was abandoned";
    juce::String sentence;

    switch (reason)
    {
        case Reason::stalled:
            sentence = "The MIDI device " + device + " stopped accepting data; " + messageText
                     + ". Check that the pedal is connected and in update mode, then try again.";
            break;

        case Reason::stopped:
            sentence = "Sending to the MIDI device " + device + " was stopped; " + messageText + ".";
            break;

        case Reason::alsaError:
            sentence = "Could not send to the MIDI device " + device + ": "
                     + AlsaRawMidiPorts::errorText (alsaError) + "; " + messageText + ".";
            break;
    }

    if (dropErr < 0)
        sentence << " Its unsent bytes could not be discarded (" << AlsaRawMidiPorts::errorText (dropErr)
                 << "): restart the pedal before trying again.";

    return juce::Result::fail (sentence);
}

juce::String AlsaMidiOutputDevice::disconnectedSentence() const
{
    return "The MIDI device " + AlsaRawMidiPorts::describe (port)
         + " was disconnected. Reconnect the pedal, restart Brindle and try again.";
}
