#pragma once

#include <juce_events/juce_events.h>

/** Hands the message loop X events that Xlib has already read but the loop was not told of.

    JUCE 7.0.5's Linux loop learns of X events only when the X connection's socket becomes
    readable. Any Xlib call that waits for a reply (a pointer query from a timer, a sync when a
    window goes) also reads whatever input has arrived meanwhile into Xlib's own queue, and the
    socket then stays quiet: a click can sit there until the mouse moves again. Every few
    milliseconds this looks at Xlib's queue, without touching the connection, and if events are
    waiting sends an empty client message to one of the program's windows: its arrival wakes
    the loop, which then takes the whole queue. Events the loop is about to take anyway cost
    one needless message.

    A no-op on platforms without X. Message thread only.
*/
class XInputQueueWatcher : private juce::Timer
{
public:
    XInputQueueWatcher();
    ~XInputQueueWatcher() override;

    static constexpr int intervalMs = 10;

    /** The wake-ups sent so far. */
    int getWakeUpCount() const noexcept { return wakeUps; }

    /** Looks at the queue once now, as the timer does. */
    void checkNow();

private:
    void timerCallback() override;

    int wakeUps = 0;
    unsigned long wakeUpAtom = 0;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (XInputQueueWatcher)
};
