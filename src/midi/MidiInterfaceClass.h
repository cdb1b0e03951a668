#pragma once

#include "midi/InterfaceBaseClass.h"
#include "midi/MidiInputDevice.h"
#include "midi/MidiOutputDevice.h"

#include <juce_audio_devices/juce_audio_devices.h>

#include <atomic>
#include <memory>

/** The MIDI port selector: one combo box per direction in use, listing the system's
    devices after "(Disconnected)", and the device the upload sends through.

    The output device is only ever replaced or closed on the message thread, and never
    while sendBytes is using it on another thread: both hold outputLock. sendBytes never
    takes the message-manager lock, so the message thread may hold that one when it takes
    outputLock. */
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

    juce::ComboBox* getOutputSelector() const noexcept { return outputSelector.get(); }
    juce::ComboBox* getInputSelector() const noexcept { return inputSelector.get(); }

    /** The item id of the open output device, or 0 when none is open. */
    int getOpenOutputId() const noexcept { return openOutputId.load(); }

    /** Received bytes waiting for readBytes. */
    int getNumUnreadBytes() const noexcept
    {
        return (receiveWritePos.load (std::memory_order_acquire) - receiveReadPos.load (std::memory_order_acquire)
                + receiveBufferSize) % receiveBufferSize;
    }

    /** Received bytes that were dropped because the receive buffer was full. */
    int getReceiveDropCount() const noexcept { return receiveDropCount.load(); }

    /** Why the last attempt to open the output failed; empty when it succeeded. */
    juce::String getOutputOpenError() const;

    static constexpr const char* disconnectedText = "(Disconnected)";
    static constexpr int receiveBufferSize = 256;

private:
    void fillSelector (juce::ComboBox& selector, const juce::StringArray& names);
    void openOutputDevice (int itemId);
    void closeOutputDevice();
    void openInputDevice (int itemId);
    void closeInputDevice();
    bool isOutputOpenAs (int itemId) const;
    bool isInputOpenAs (int itemId) const;

    int numOutputDevices = 0;
    int numInputDevices = 0;
    bool useInput;
    bool useOutput;
    juce::StringArray outputDeviceNames;
    std::unique_ptr<MidiOutputDevice> midiOutput;
    juce::StringArray inputDeviceNames;
    std::unique_ptr<MidiInputDevice> midiInput;
    std::unique_ptr<juce::ComboBox> outputSelector;
    std::unique_ptr<juce::Label> outputLabel;
    std::unique_ptr<juce::ComboBox> inputSelector;
    std::unique_ptr<juce::Label> inputLabel;

    // One writer (the input thread), one reader: each index is published with release
    // and read with acquire, and the writer never passes the reader.
    juce::uint8 receiveBuffer[receiveBufferSize] {};
    std::atomic<int> receiveWritePos { 0 };
    std::atomic<int> receiveReadPos { 0 };
    std::atomic<int> receiveDropCount { 0 };

    juce::Array<juce::MidiDeviceInfo> outputDevices;
    juce::Array<juce::MidiDeviceInfo> inputDevices;
    juce::CriticalSection outputLock;
    std::atomic<int> openOutputId { 0 };
    juce::String outputOpenError;
    std::atomic<bool> inputOpen { false };
    int openInputId = 0;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MidiInterfaceClass)
};
