#include "midi/juce/JuceMidiOutputDevice.h"

juce::Array<juce::MidiDeviceInfo> MidiOutputDevice::getAvailableDevices()
{
    return juce::MidiOutput::getAvailableDevices();
}

std::unique_ptr<MidiOutputDevice> MidiOutputDevice::openDevice (const juce::MidiDeviceInfo& port, juce::String& error)
{
    if (auto output = juce::MidiOutput::openDevice (port.identifier))
        return std::make_unique<JuceMidiOutputDevice> (std::move (output));

    error = "The MIDI output \"" + port.name + "\" could not be opened. Close any other program that uses it, "
            "check that the pedal is connected and in update mode, then try again.";
    return nullptr;
}

JuceMidiOutputDevice::JuceMidiOutputDevice (std::unique_ptr<juce::MidiOutput> openOutput)
    : output (std::move (openOutput))
{
    jassert (output != nullptr);
}

juce::Result JuceMidiOutputDevice::sendMessage (const juce::uint8* data, int numBytes)
{
    if (data == nullptr || numBytes <= 0)
        return juce::Result::fail ("There is no MIDI message to send.");

    output->sendMessageNow (juce::MidiMessage (data, numBytes, 0.0));
    return juce::Result::ok();
}
