#pragma once

#include "transfer/MessageThreadLock.h"

#include <juce_events/juce_events.h>

#include <atomic>

/** The progress contract between a transfer thread and the user interface: a progress
    value in hundredths and a status text.

    Listeners are told of a new hundredth synchronously, on the calling thread, while it
    holds the message-manager lock; of a new status text asynchronously, on the message
    thread. The broadcaster a listener receives is this progress part of the changeSource
    object, so comparing it with a pointer to that object finds it.
*/
class ProgressClass : public juce::ChangeBroadcaster
{
public:
    ProgressClass();
    explicit ProgressClass (void* changeSource);
    ~ProgressClass() override;

    /** Stores value rounded to hundredths (halves to even) and notifies listeners
        synchronously if the stored hundredth changed. */
    void setProgress (double value);
    double getProgress() const noexcept { return progress.load(); }

    /** Stores the text and notifies listeners asynchronously if it changed. */
    void setStatusText (const juce::String& newText);
    juce::String getStatusText() const;

    void* getChangeSource() const noexcept { return changeSource; }

protected:
    void setChangeSource (void* source) noexcept { changeSource = source; }

private:
    void* changeSource = nullptr;

    // Written on the upload thread, read on the message thread.
    juce::String statusText;
    juce::CriticalSection statusTextLock;

    std::atomic<double> progress { 0.0 };

    // Taken around the synchronous progress report.
    MessageThreadLock messageThreadLock;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ProgressClass)
};
