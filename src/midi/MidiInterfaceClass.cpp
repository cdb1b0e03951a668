#include "midi/MidiInterfaceClass.h"

MidiInterfaceClass::MidiInterfaceClass (bool shouldUseOutput, bool shouldUseInput)
    : useInput (shouldUseInput)
    , useOutput (shouldUseOutput)
{
    if (useOutput)
    {
        outputDevices = MidiOutputDevice::getAvailableDevices();

        for (const auto& device : outputDevices)
            outputDeviceNames.add (device.name);

        numOutputDevices = outputDeviceNames.size();

        outputSelector = std::make_unique<juce::ComboBox> ("Output Selector");
        addAndMakeVisible (*outputSelector);
        outputLabel = std::make_unique<juce::Label> (juce::String(), "Select an output device:");
        outputLabel->attachToComponent (outputSelector.get(), false);
        fillSelector (*outputSelector, outputDeviceNames);
        outputSelector->setSelectedId (numOutputDevices + 1);
        outputSelector->addListener (this);
    }

    if (useInput)
    {
        inputDevices = MidiInputDevice::getAvailableDevices();

        for (const auto& device : inputDevices)
            inputDeviceNames.add (device.name);

        numInputDevices = inputDeviceNames.size();

        inputSelector = std::make_unique<juce::ComboBox> ("Input Selector");
        addAndMakeVisible (*inputSelector);
        inputLabel = std::make_unique<juce::Label> (juce::String(), "Select an input device:");
        inputLabel->attachToComponent (inputSelector.get(), false);
        fillSelector (*inputSelector, inputDeviceNames);
        inputSelector->setSelectedId (numInputDevices + 1);
        inputSelector->addListener (this);
    }
}

MidiInterfaceClass::~MidiInterfaceClass()
{
    outputLabel = nullptr;
    outputSelector = nullptr;
    inputLabel = nullptr;
    inputSelector = nullptr;

    closeInputDevice();
    closeOutputDevice();
}

void MidiInterfaceClass::fillSelector (juce::ComboBox& selector, const juce::StringArray& names)
{
    selector.addItem (disconnectedText, names.size() + 1);

    // JUCE adds a separator at once, so only when a device item follows it.
    if (! names.isEmpty())
        selector.addSeparator();

    for (int i = 0; i < names.size(); ++i)
        selector.addItem (names[i], i + 1);
}

void MidiInterfaceClass::resized()
{
    if (outputSelector != nullptr)
        outputSelector->setBounds (0, 20, getWidth(), 30);

    if (inputSelector != nullptr)
        inputSelector->setBounds (0, outputSelector != nullptr ? 70 : 20, getWidth(), 30);
}

int MidiInterfaceClass::readBytes (juce::uint8* dest, juce::uint32 maxBytes)
{
    if (! inputOpen.load() || dest == nullptr)
        return 0;

    auto readPos = receiveReadPos.load (std::memory_order_relaxed);
    const auto writePos = receiveWritePos.load (std::memory_order_acquire);
    juce::uint32 copied = 0;

    while (copied < maxBytes && readPos != writePos)
    {
        dest[copied++] = receiveBuffer[readPos];
        readPos = (readPos + 1) % receiveBufferSize;
    }

    receiveReadPos.store (readPos, std::memory_order_release);
    return (int) copied;
}

juce::Result MidiInterfaceClass::sendBytes (const juce::uint8* data, int numBytes)
{
    // Held for the whole send: the message thread cannot close or replace the device meanwhile.
    const juce::ScopedLock sl (outputLock);

    if (midiOutput == nullptr)
    {
        if (outputOpenError.isNotEmpty())
            return juce::Result::fail ("No MIDI output device is open. " + outputOpenError);

        return juce::Result::fail ("No MIDI output device is open. Select the pedal's MIDI output and try again.");
    }

    return midiOutput->sendMessage (data, numBytes);
}

bool MidiInterfaceClass::isConnected()
{
    if (useOutput && useInput)
        return openOutputId.load() != 0 && inputOpen.load();

    if (useOutput)
        return openOutputId.load() != 0;

    if (useInput)
        return inputOpen.load();

    return false;
}

int MidiInterfaceClass::getPreferredHeight()
{
    return (useOutput && useInput) ? 100 : 50;
}

void MidiInterfaceClass::selectOutputDevice (int itemId)
{
    if (outputSelector == nullptr)
        return;

    // No combo box notification: this call opens the device itself.
    if (outputSelector->indexOfItemId (itemId) >= 0)
        outputSelector->setSelectedId (itemId, juce::dontSendNotification);

    sendChangeMessage();

    // The upload disables the selector while it sends: its device stays as it is.
    if (isEnabled() && ! isOutputOpenAs (itemId))
        openOutputDevice (itemId);
}

void MidiInterfaceClass::selectInputDevice (int itemId)
{
    if (inputSelector == nullptr)
        return;

    if (inputSelector->indexOfItemId (itemId) >= 0)
        inputSelector->setSelectedId (itemId, juce::dontSendNotification);

    sendChangeMessage();

    if (! isInputOpenAs (itemId))
        openInputDevice (itemId);
}

void MidiInterfaceClass::comboBoxChanged (juce::ComboBox* comboBoxThatHasChanged)
{
    if (comboBoxThatHasChanged == nullptr)
        return;

    if (comboBoxThatHasChanged == outputSelector.get())
    {
        const auto itemId = outputSelector->getSelectedId();

        // The upload disables the selector while it sends: its device stays as it is.
        if (! isEnabled())
            return;

        if (itemId >= 1 && itemId <= numOutputDevices)
        {
            // A late notification for the device already open must not re-open it
            // under an upload.
            if (! isOutputOpenAs (itemId))
                openOutputDevice (itemId);

            sendChangeMessage();
        }
        else if (itemId == numOutputDevices + 1)
        {
            closeOutputDevice();
            sendChangeMessage();
        }
    }
    else if (comboBoxThatHasChanged == inputSelector.get())
    {
        const auto itemId = inputSelector->getSelectedId();

        if (itemId >= 1 && itemId <= numInputDevices)
        {
            // Re-opening would lose a SysEx message that is half received.
            if (! isInputOpenAs (itemId))
                openInputDevice (itemId);

            sendChangeMessage();
        }
        else if (itemId == numInputDevices + 1)
        {
            closeInputDevice();
            sendChangeMessage();
        }
    }
}

void MidiInterfaceClass::handleIncomingMidiMessage (juce::MidiInput*, const juce::MidiMessage& message)
{
    const auto* bytes = message.getRawData();
    const auto size = message.getRawDataSize();
    auto writePos = receiveWritePos.load (std::memory_order_relaxed);
    const auto readPos = receiveReadPos.load (std::memory_order_acquire);
    int stored = 0;

    // Unread bytes are never overwritten: what does not fit is dropped and counted.
    while (stored < size)
    {
        const auto next = (writePos + 1) % receiveBufferSize;

        if (next == readPos)
            break;

        receiveBuffer[writePos] = bytes[stored++];
        writePos = next;
    }

    receiveWritePos.store (writePos, std::memory_order_release);

    if (stored < size)
        receiveDropCount.fetch_add (size - stored);
}

juce::String MidiInterfaceClass::getOutputOpenError() const
{
    // Written only on the message thread, where this is read.
    return outputOpenError;
}

bool MidiInterfaceClass::isOutputOpenAs (int itemId) const
{
    return itemId != 0 && openOutputId.load() == itemId && midiOutput != nullptr && midiOutput->isUsable();
}

bool MidiInterfaceClass::isInputOpenAs (int itemId) const
{
    return itemId != 0 && openInputId == itemId && midiInput != nullptr;
}

void MidiInterfaceClass::openOutputDevice (int itemId)
{
    const juce::ScopedLock sl (outputLock);

    midiOutput = nullptr;
    openOutputId.store (0);
    outputOpenError = {};

    if (itemId >= 1 && itemId <= numOutputDevices)
    {
        midiOutput = MidiOutputDevice::openDevice (outputDevices.getReference (itemId - 1), outputOpenError);

        if (midiOutput != nullptr)
            openOutputId.store (itemId);
    }
}

void MidiInterfaceClass::closeOutputDevice()
{
    const juce::ScopedLock sl (outputLock);

    midiOutput = nullptr;
    openOutputId.store (0);
    outputOpenError = {};
}

void MidiInterfaceClass::openInputDevice (int itemId)
{
    closeInputDevice();

    if (itemId >= 1 && itemId <= numInputDevices)
    {
        juce::String error;
        midiInput = MidiInputDevice::openDevice (inputDevices.getReference (itemId - 1), *this, error);

        if (midiInput == nullptr)
        {
            juce::Logger::writeToLog (error);
            return;
        }

        openInputId = itemId;
        inputOpen.store (true);
        midiInput->start();
    }
}

void MidiInterfaceClass::closeInputDevice()
{
    if (midiInput != nullptr)
    {
        midiInput->stop();
        midiInput = nullptr;
    }

    openInputId = 0;
    inputOpen.store (false);
}
