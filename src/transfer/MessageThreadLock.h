#pragma once

#include <juce_events/juce_events.h>

/** The message-manager lock for a transfer thread, kept alive between uses.

    JUCE 7.0.5's MessageManagerLock lives on the caller's stack, and the message thread can
    still be signalling it after the caller has gained the lock, used it and destroyed it
    (ThreadSanitizer shows the race). This one is a member of its owner and outlives every
    use. Like MessageManagerLock with a thread to watch, it gives up when the calling
    thread is asked to exit, so a message-thread caller waiting for that thread is not
    held up by the lock.

    Only one thread at a time may use one object; the message thread may use it too (it
    owns the lock already).
*/
class MessageThreadLock : private juce::Thread::Listener
{
public:
    MessageThreadLock();
    ~MessageThreadLock() override;

    /** Holds the lock for its lifetime, if it was gained. */
    class ScopedEntry
    {
    public:
        explicit ScopedEntry (MessageThreadLock& owner);
        ~ScopedEntry();

        bool lockWasGained() const noexcept { return gained; }

    private:
        MessageThreadLock& lock;
        bool gained;

        JUCE_DECLARE_NON_COPYABLE (ScopedEntry)
    };

private:
    bool enter();
    void exit();
    void exitSignalSent() override;

    juce::MessageManager::Lock lock;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MessageThreadLock)
};
