#include "transfer/MessageThreadLock.h"

MessageThreadLock::MessageThreadLock() = default;
MessageThreadLock::~MessageThreadLock() = default;

bool MessageThreadLock::enter()
{
    auto* thread = juce::Thread::getCurrentThread();

    if (thread == nullptr)
    {
        lock.enter();
        return true;
    }

    thread->addListener (this);

    bool entered = false;

    // tryEnter also returns false when an exit signal aborted the wait: check again.
    while (! thread->threadShouldExit())
        if ((entered = lock.tryEnter()))
            break;

    thread->removeListener (this);

    if (entered && thread->threadShouldExit())
    {
        lock.exit();
        entered = false;
    }

    return entered;
}

void MessageThreadLock::exit()
{
    lock.exit();
}

void MessageThreadLock::exitSignalSent()
{
    lock.abort();
}

MessageThreadLock::ScopedEntry::ScopedEntry (MessageThreadLock& owner)
    : lock (owner), gained (owner.enter())
{
}

MessageThreadLock::ScopedEntry::~ScopedEntry()
{
    if (gained)
        lock.exit();
}
