#include "support/FakeDeviceInterface.h"

FakeDeviceInterface::FakeDeviceInterface() = default;
FakeDeviceInterface::~FakeDeviceInterface() = default;

juce::Result FakeDeviceInterface::sendBytes (const juce::uint8* data, int numBytes)
{
    int index;
    {
        const juce::ScopedLock sl (lock);
        index = (int) messages.size();

        if (index == failAtSend.load())
            return juce::Result::fail (failureText);

        messages.emplace_back (data, data + numBytes);
    }

    if (index == holdAtSend.load())
    {
        sendIsHeld.signal();
        releaseHeldSend.wait (10000);
    }

    if (sendDelayMs.load() > 0)
        juce::Thread::sleep (sendDelayMs.load());

    if (onSend)
        onSend (index);

    return juce::Result::ok();
}

void FakeDeviceInterface::enablementChanged()
{
    if (onEnablementChanged)
        onEnablementChanged (isEnabled());
}

std::vector<std::vector<juce::uint8>> FakeDeviceInterface::getMessages() const
{
    const juce::ScopedLock sl (lock);
    return messages;
}

std::vector<juce::uint8> FakeDeviceInterface::getAllBytes() const
{
    std::vector<juce::uint8> all;
    for (const auto& m : getMessages())
        all.insert (all.end(), m.begin(), m.end());
    return all;
}

int FakeDeviceInterface::getNumSends() const
{
    const juce::ScopedLock sl (lock);
    return (int) messages.size();
}
