#include "support/MessageLoop.h"
#include "transfer/LKTime.h"
#include "transfer/ProgressClass.h"

#include <gtest/gtest.h>

namespace
{
struct CountingListener : juce::ChangeListener
{
    void changeListenerCallback (juce::ChangeBroadcaster* source) override
    {
        sources.push_back (source);
    }

    std::vector<juce::ChangeBroadcaster*> sources;
};

struct Reporter : ProgressClass
{
    Reporter() : ProgressClass (this) {}
};
} // namespace

TEST (Progress, StoresHundredthsRoundedHalfToEvenAndNotifiesOnlyOnChange)
{
    const struct
    {
        double value;
        double stored;
        size_t notificationsSoFar;
    } steps[] = {
        { 0.004, 0.0, 0 }, // rounds to the stored 0
        { 0.125, 0.12, 1 },
        { 0.125, 0.12, 1 }, // the same value twice notifies once
        { 0.375, 0.38, 2 },
        { 0.3849, 0.38, 2 },
        { 0.386, 0.39, 3 },
        { 1.0, 1.0, 4 },
        { 1.2, 1.2, 5 },    // values are not limited
    };

    Reporter reporter;
    CountingListener listener;
    reporter.addChangeListener (&listener);

    for (const auto& step : steps)
    {
        reporter.setProgress (step.value);
        EXPECT_DOUBLE_EQ (reporter.getProgress(), step.stored) << "after " << step.value;
        EXPECT_EQ (listener.sources.size(), step.notificationsSoFar) << "after " << step.value;
    }

    reporter.removeChangeListener (&listener);
}

TEST (Progress, ProgressIsReportedSynchronouslyFromAnotherThreadUnderTheMessageLock)
{
    Reporter reporter;
    std::atomic<bool> heldLock { false };

    struct LockCheckingListener : juce::ChangeListener
    {
        std::atomic<bool>& held;
        explicit LockCheckingListener (std::atomic<bool>& h) : held (h) {}
        void changeListenerCallback (juce::ChangeBroadcaster*) override
        {
            held = juce::MessageManager::getInstance()->currentThreadHasLockedMessageManager()
                   && ! juce::MessageManager::getInstance()->isThisTheMessageThread();
        }
    } listener (heldLock);

    reporter.addChangeListener (&listener);

    std::atomic<bool> returned { false };
    std::atomic<bool> notifiedBeforeReturn { false };
    std::thread worker ([&]
                        {
                            reporter.setProgress (0.5);
                            notifiedBeforeReturn = heldLock.load();
                            returned = true; });

    EXPECT_TRUE (runMessageLoopUntil ([&] { return returned.load(); }));
    worker.join();

    EXPECT_TRUE (notifiedBeforeReturn);
    reporter.removeChangeListener (&listener);
}

TEST (Progress, StatusTextIsReportedLaterOnTheMessageThreadAndOnlyWhenItChanges)
{
    Reporter reporter;
    CountingListener listener;
    reporter.addChangeListener (&listener);

    reporter.setStatusText ("one");
    EXPECT_TRUE (listener.sources.empty()) << "status texts arrive asynchronously";
    runMessageLoopFor (50);
    EXPECT_EQ (listener.sources.size(), 1u);

    reporter.setStatusText ("one");
    runMessageLoopFor (50);
    EXPECT_EQ (listener.sources.size(), 1u) << "the same text notifies nobody";

    reporter.setStatusText ("two");
    reporter.setStatusText ("three");
    runMessageLoopFor (50);
    EXPECT_EQ (listener.sources.size(), 2u) << "changes before delivery arrive as one";
    EXPECT_EQ (reporter.getStatusText(), "three");

    reporter.removeChangeListener (&listener);
}

TEST (Progress, ListenersCanFindTheChangeSourceObject)
{
    // The source is a class whose progress part is not its first base, so the progress
    // part's address differs from the object's.
    struct Other
    {
        virtual ~Other() = default;
        int x = 0;
    };
    struct Source : Other, ProgressClass
    {
        Source() : ProgressClass (this) {}
    } source;

    CountingListener listener;
    source.addChangeListener (&listener);
    source.setProgress (0.5);

    ASSERT_EQ (listener.sources.size(), 1u);
    EXPECT_EQ (listener.sources[0], &source) << "compares equal to the object";
    EXPECT_EQ (static_cast<ProgressClass*> (listener.sources[0])->getChangeSource(), static_cast<void*> (&source));
    EXPECT_NE (static_cast<void*> (static_cast<ProgressClass*> (&source)), static_cast<void*> (&source));

    source.removeChangeListener (&listener);
}

TEST (LKTime, WaitForAlwaysSleepsOnceAndAtLeastTheDuration)
{
    const LKTime time;

    for (const juce::uint32 duration : { 0u, 25u })
    {
        const auto start = time.getMillisecondCounter();
        time.waitFor (duration);
        EXPECT_GE (time.elapsedSince (start), juce::jmax<juce::uint32> (duration, LKTime::sleepStepMs)) << duration;
    }
}

TEST (LKTime, ElapsedBetweenCountsForwardAcrossACounterWrap)
{
    const LKTime time;

    EXPECT_EQ (time.elapsedBetween (30, 10), 20u);
    EXPECT_EQ (time.elapsedBetween (10, 10), 0u);
    EXPECT_EQ (time.elapsedBetween (5, 0xfffffffbu), 10u);
}
