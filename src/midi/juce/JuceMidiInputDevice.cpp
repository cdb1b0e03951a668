#include "midi/juce/JuceMidiInputDevice.h"

juce::Array<juce::MidiDeviceInfo> MidiInputDevice::getAvailableDevices()
{
    return juce::MidiInput::getAvailableDevices();
}

std::unique_ptr<MidiInputDevice> MidiInputDevice::openDevice (const juce::MidiDeviceInfo& port,
                                                              juce::MidiInputCallback& callback,
                                                              juce::String& error)
{
    if (auto input = juce::MidiInput::openDevice (port.identifier, &callback))
        return std::make_unique<JuceMidiInputDevice> (std::move (input));

    error = "The MIDI input \"" + port.name + "\" could not be opened. Close any other program that uses it "
            "and try again.";
    return nullptr;
}

JuceMidiInputDevice::JuceMidiInputDevice (std::unique_ptr<juce::MidiInput> openInput)
    : input (std::move (openInput))
{
    jassert (input != nullptr);
}

JuceMidiInputDevice::~JuceMidiInputDevice()
{
    stop();
}

void JuceMidiInputDevice::start()
{
    input->start();
}

void JuceMidiInputDevice::stop()
{
    input->stop();
}
