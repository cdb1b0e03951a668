#include "transfer/ProgressClass.h"

ProgressClass::ProgressClass() = default;

ProgressClass::ProgressClass (void* source)
    : changeSource (source)
{
}

ProgressClass::~ProgressClass() = default;

void ProgressClass::setProgress (double value)
{
    const auto newValue = juce::roundToInt (value * 100.0) / 100.0;

    if (newValue == progress.load())
        return;

    progress = newValue;

    // A transfer thread that is asked to stop gives up waiting for the lock, so that a
    // message-thread caller waiting for it to exit is not held up by the lock.
    const MessageThreadLock::ScopedEntry mmLock (messageThreadLock);

    if (mmLock.lockWasGained())
        sendSynchronousChangeMessage();
}

void ProgressClass::setStatusText (const juce::String& newText)
{
    {
        const juce::ScopedLock sl (statusTextLock);

        if (newText == statusText)
            return;

        statusText = newText;
    }

    sendChangeMessage();
}

juce::String ProgressClass::getStatusText() const
{
    const juce::ScopedLock sl (statusTextLock);
    return statusText;
}
