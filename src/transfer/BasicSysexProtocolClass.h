#pragma once

#include "transfer/LKTime.h"
#include "transfer/ProtocolBaseClass.h"

/** Sends the firmware image to the device message by message on its own thread.

    Before the first byte goes out the whole image is checked; a malformed image sends
    nothing. A send that fails ends the upload at once with a status text that says so.

    Thread ownership: progressValue is guarded by ProgressValueLock (taken only while no
    other lock is held on the upload thread; lock order message-manager lock first);
    sendPosition belongs to the upload thread; outcome is atomic.
*/
class BasicSysexProtocolClass : public ProtocolBaseClass,
                                public LKTime
{
public:
    BasicSysexProtocolClass (InterfaceBaseClass* deviceInterface, FirmwareBaseClass* firmware);
    ~BasicSysexProtocolClass() override;

    void run() override;
    void startUpdate() override;

    /** How the last upload ended, or that one is under way. */
    enum class Outcome
    {
        none,
        uploading,
        completed,
        failed,
        stopped
    };

    Outcome getOutcome() const noexcept { return outcome.load(); }

    static const char* const uploadingText;
    static const char* const completedText;
    static constexpr int stopTimeoutMs = 2000;

private:
    bool setDeviceEnabled (bool shouldBeEnabled);
    void fail (const juce::String& reason);
    void finishCompleted();

    double progressValue = 0.0;
    const juce::uint8* sendPosition = nullptr;
    juce::CriticalSection ProgressValueLock;
    std::atomic<Outcome> outcome { Outcome::none };

    // Taken for every change to the port selector.
    MessageThreadLock deviceLock;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (BasicSysexProtocolClass)
};
