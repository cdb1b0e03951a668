// The X declarations come with JUCE's GUI header only when asked for, before it is included.
#define JUCE_GUI_BASICS_INCLUDE_XHEADERS 1
#include <juce_gui_basics/juce_gui_basics.h>

#include "app/XInputQueueWatcher.h"

XInputQueueWatcher::XInputQueueWatcher()
{
   #if JUCE_LINUX || JUCE_BSD
    startTimer (intervalMs);
   #endif
}

XInputQueueWatcher::~XInputQueueWatcher()
{
    stopTimer();
}

void XInputQueueWatcher::timerCallback()
{
    checkNow();
}

void XInputQueueWatcher::checkNow()
{
   #if JUCE_LINUX || JUCE_BSD
    auto* windowSystem = juce::XWindowSystem::getInstanceWithoutCreating();
    auto* display = windowSystem != nullptr ? windowSystem->getDisplay() : nullptr;
    auto* peer = juce::ComponentPeer::getNumPeers() > 0 ? juce::ComponentPeer::getPeer (0) : nullptr;

    if (display == nullptr || peer == nullptr)
        return;

    auto* x = juce::X11Symbols::getInstance();
    const juce::XWindowSystemUtilities::ScopedXLock xLock;

    // QueuedAlready counts what Xlib holds without reading from or writing to the connection.
    if (x->xEventsQueued (display, QueuedAlready) == 0)
        return;

    if (wakeUpAtom == 0)
        wakeUpAtom = x->xInternAtom (display, "BRINDLE_WAKE_UP", False);

    XEvent event {};
    event.xclient.type = ClientMessage;
    event.xclient.window = (::Window) peer->getNativeHandle();
    event.xclient.message_type = (Atom) wakeUpAtom;
    event.xclient.format = 32;

    if (x->xSendEvent (display, event.xclient.window, False, NoEventMask, &event) != 0)
    {
        x->xFlush (display);
        ++wakeUps;
    }
   #endif
}
