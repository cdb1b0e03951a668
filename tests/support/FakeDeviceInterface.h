#pragma once

#include "midi/InterfaceBaseClass.h"

#include <functional>
#include <vector>

/** A device interface that records what it is sent, for tests where the MIDI device is
    beside the point. Sends can be made to fail or to wait for the test. */
class FakeDeviceInterface : public InterfaceBaseClass
{
public:
    FakeDeviceInterface();
    ~FakeDeviceInterface() override;

    void resized() override {}
    int readBytes (juce::uint8*, juce::uint32) override { return 0; }
    juce::Result sendBytes (const juce::uint8* data, int numBytes) override;
    bool isConnected() override { return connected; }
    int getPreferredHeight() override { return 50; }
    void selectOutputDevice (int) override {}
    void selectInputDevice (int) override {}
    void enablementChanged() override;

    /** Every message sent so far, in order. */
    std::vector<std::vector<juce::uint8>> getMessages() const;
    std::vector<juce::uint8> getAllBytes() const;
    int getNumSends() const;

    /** The send with this index (from 0) fails with failureText; -1 for none. */
    std::atomic<int> failAtSend { -1 };
    juce::String failureText { "the MIDI device stopped accepting data" };

    /** The send with this index waits until release() before it returns. */
    std::atomic<int> holdAtSend { -1 };
    juce::WaitableEvent sendIsHeld, releaseHeldSend;

    /** Called inside every send, before it returns, with the send's index. */
    std::function<void (int)> onSend;

    /** Called (on whatever thread changes it, with the message-manager lock) when the
        enabled state changes. */
    std::function<void (bool)> onEnablementChanged;

    std::atomic<int> sendDelayMs { 0 };
    bool connected = true;

private:
    mutable juce::CriticalSection lock;
    std::vector<std::vector<juce::uint8>> messages;
};
