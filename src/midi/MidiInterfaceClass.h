#pragma once

#include "midi/InterfaceBaseClass.h"

#include <juce_audio_devices/juce_audio_devices.h>

/** The MIDI port selector: one combo box per direction in use, listing the system's
    devices after "(Disconnected)", and the device the upload sends through. */
class MidiInterfaceClass : public InterfaceBaseClass,
                           public juce::ComboBox::Listener,
                           public juce::MidiInputCallback
{
public:
    MidiInterfaceClass (bool useOutput, bool useInput);
    ~MidiInterfaceClass() override;

    void resized() override;
    int readBytes (juce::uint8* dest, juce::uint32 maxBytes) override;
    juce::Result sendBytes (const juce::uint8* data, int numBytes) override;
    bool isConnected() override;
    int getPreferredHeight() override;
    void selectOutputDevice (int itemId) override;
    void selectInputDevice (int itemId) override;

    void comboBoxChanged (juce::ComboBox* comboBoxThatHasChanged) override;
    void handleIncomingMidiMessage (juce::MidiInput* source, const juce::MidiMessage& message) override;

    juce::ComboBox* getOutputSelector() const noexcept { return outputSelector; }
    juce::ComboBox* getInputSelector() const noexcept { return inputSelector; }

    static constexpr const char* disconnectedText = "(Disconnected)";

private:
    // Filled in by the MIDI subsystem; see MidiInterfaceClass.cpp.
    int numOutputDevices = 0;
    int numInputDevices = 0;
    bool useInput;
    bool useOutput;
    juce::StringArray outputDeviceNames;
    juce::StringArray inputDeviceNames;
    juce::ComboBox* outputSelector = nullptr;
    juce::Label* outputLabel = nullptr;
    juce::ComboBox* inputSelector = nullptr;
    juce::Label* inputLabel = nullptr;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MidiInterfaceClass)
};
