// GoogleTest first: Xlib's macros (None, Bool, Status) would break its templates.
#include <gtest/gtest.h>

#define JUCE_GUI_BASICS_INCLUDE_XHEADERS 1
#include <juce_gui_basics/juce_gui_basics.h>

#include "app/XInputQueueWatcher.h"
#include "support/MessageLoop.h"

namespace
{
struct ClickTarget : juce::Component
{
    void mouseDown (const juce::MouseEvent&) override { ++downs; }
    void mouseUp (const juce::MouseEvent&) override { ++ups; }
    int downs = 0, ups = 0;
};

/** A window on the display, and a click on it that Xlib has read into its own queue while the
    loop was not looking: what a reply-waiting Xlib call does to input that has just arrived. */
class XInputQueueWatcherTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        target.setBounds (200, 200, 120, 80);
        target.addToDesktop (0);
        target.setVisible (true);
        ASSERT_TRUE (runMessageLoopUntil ([this] { return target.isShowing() && target.getPeer() != nullptr; }, 5000));
        runMessageLoopFor (300); // the window's own start-up events

        display = juce::XWindowSystem::getInstance()->getDisplay();
        ASSERT_NE (display, nullptr);
    }

    void TearDown() override { target.removeFromDesktop(); }

    /** Sends a press and a release to the window and syncs: both end up in Xlib's queue, and
        the connection has nothing more to read. */
    void queueClickUnseen()
    {
        auto* x = juce::X11Symbols::getInstance();
        const juce::XWindowSystemUtilities::ScopedXLock xLock;
        const auto window = (::Window) target.getPeer()->getNativeHandle();

        for (const auto type : { ButtonPress, ButtonRelease })
        {
            XEvent event {};
            event.xbutton.type = type;
            event.xbutton.window = window;
            event.xbutton.root = x->xRootWindow (display, x->xDefaultScreen (display));
            event.xbutton.x = 20;
            event.xbutton.y = 20;
            event.xbutton.button = Button1;
            event.xbutton.state = type == ButtonRelease ? Button1Mask : 0;
            event.xbutton.same_screen = True;
            event.xbutton.time = CurrentTime;
            x->xSendEvent (display, window, False, NoEventMask, &event);
        }

        x->xSync (display, False);
    }

    int queued() const
    {
        const juce::XWindowSystemUtilities::ScopedXLock xLock;
        return juce::X11Symbols::getInstance()->xEventsQueued (display, QueuedAlready);
    }

    ClickTarget target;
    ::Display* display = nullptr;
};
} // namespace

TEST_F (XInputQueueWatcherTest, WithoutItAClickHeldInXlibsQueueWaitsForTheNextInput)
{
    queueClickUnseen();
    runMessageLoopFor (500);
    EXPECT_EQ (target.downs, 0);
    EXPECT_GE (queued(), 2);
}

TEST_F (XInputQueueWatcherTest, AClickHeldInXlibsQueueReachesTheComponent)
{
    queueClickUnseen();
    ASSERT_GE (queued(), 2) << "the click is waiting in Xlib's queue";

    const XInputQueueWatcher watcher;
    EXPECT_TRUE (runMessageLoopUntil ([this] { return target.ups == 1; }, 2000)) << "still queued: " << queued();
    EXPECT_EQ (target.downs, 1);
    EXPECT_GE (watcher.getWakeUpCount(), 1);
    EXPECT_EQ (queued(), 0);
}

TEST_F (XInputQueueWatcherTest, AnEmptyQueueSendsNothing)
{
    XInputQueueWatcher watcher;
    ASSERT_TRUE (runMessageLoopUntil ([this] { return queued() == 0; }, 2000));
    const auto sent = watcher.getWakeUpCount();

    runMessageLoopFor (200);
    watcher.checkNow();
    EXPECT_EQ (watcher.getWakeUpCount(), sent);
}
