// Injected device faults surface as failed sends with a sentence: no crash, no hang.
#include "PedalTestSupport.h"

#include "midi/MidiInterfaceClass.h"

namespace
{
class StallTimeout
{
public:
    explicit StallTimeout (int ms) { MidiOutputDevice::setStallTimeoutMs (ms); }
    ~StallTimeout() { MidiOutputDevice::setStallTimeoutMs (MidiOutputDevice::defaultStallTimeoutMs); }
};

/** Sends 599-byte messages until one fails; returns how many went through and the failure. */
int sendUntilFailure (MidiInterfaceClass& midi, int maxMessages, juce::Result& failure)
{
    for (int i = 0; i < maxMessages; ++i)
    {
        const auto message = pedal::sysex (599, i);
        failure = midi.sendBytes (message.data(), (int) message.size());

        if (failure.failed())
            return i;
    }

    return maxMessages;
}

struct FaultCase
{
    const char* options;
    int messagesThrough;
    const char* sentence;
    int drops; // an unplugged device has nothing left to drop
};

class InjectedFault : public testing::TestWithParam<FaultCase> {};

TEST_P (InjectedFault, FailsTheSendWithASentenceNamingThePort)
{
    pedal::configure (std::string ("--port 'Lantern Reverb MIDI 1' ") + GetParam().options);
    MidiInterfaceClass midi (true, false);
    midi.selectOutputDevice (1);
    ASSERT_TRUE (midi.isConnected());

    auto failure = juce::Result::ok();
    EXPECT_EQ (sendUntilFailure (midi, 5, failure), GetParam().messagesThrough);
    ASSERT_TRUE (failure.failed());
    EXPECT_TRUE (failure.getErrorMessage().contains (GetParam().sentence)) << failure.getErrorMessage();
    EXPECT_TRUE (failure.getErrorMessage().contains ("\"Lantern Reverb MIDI 1\" (hw:0,0,0)")) << failure.getErrorMessage();
    EXPECT_EQ (pedal::count (1, "drop"), GetParam().drops);
}

INSTANTIATE_TEST_SUITE_P (Faults, InjectedFault, testing::Values (
    FaultCase { "--fail-after 1000", 1, "Could not send to the MIDI device", 1 },
    FaultCase { "--unplug-after 1000", 1, "was disconnected", 0 }));

TEST (Fault, AfterAnUnplugEveryLaterSendFailsToo)
{
    pedal::configure ("--port 'Lantern Reverb MIDI 1' --unplug-after 1000");
    MidiInterfaceClass midi (true, false);
    midi.selectOutputDevice (1);
    auto failure = juce::Result::ok();
    ASSERT_EQ (sendUntilFailure (midi, 5, failure), 1);

    const auto later = midi.sendBytes (pedal::sysex (9).data(), 9);
    ASSERT_TRUE (later.failed());
    EXPECT_TRUE (later.getErrorMessage().contains ("was disconnected")) << later.getErrorMessage();
}

TEST (Fault, AStalledDeviceFailsAfterTheStallTimeoutAndLeavesOnlyWholeMessages)
{
    const StallTimeout timeout (400);
    pedal::configure ("--port 'Lantern Reverb MIDI 1' --stall");
    MidiInterfaceClass midi (true, false);
    midi.selectOutputDevice (1);
    const auto message = pedal::sysex (599);

    const auto start = juce::Time::getMillisecondCounterHiRes();
    const auto result = midi.sendBytes (message.data(), (int) message.size());
    const auto elapsedMs = juce::Time::getMillisecondCounterHiRes() - start;

    ASSERT_TRUE (result.failed());
    EXPECT_TRUE (result.getErrorMessage().contains ("stopped accepting data")) << result.getErrorMessage();
    EXPECT_GE (elapsedMs, 0.8 * 400);
    EXPECT_LT (elapsedMs, 4000.0);
    EXPECT_EQ (pedal::count (1, "drop"), 1);

    const auto wire = pedal::captured (1);
    EXPECT_TRUE (wire.empty() || wire.back() == 0xf7) << pedal::verdict (1);
}

TEST (Fault, AStalledSendAskedToStopReturnsPromptly)
{
    const StallTimeout timeout (60000);
    pedal::configure ("--port 'Lantern Reverb MIDI 1' --stall");
    MidiInterfaceClass midi (true, false);
    midi.selectOutputDevice (1);
    const auto message = pedal::sysex (599);
    auto result = juce::Result::ok();
    double elapsedMs = 0;

    pedal::JobThread sender ([&]
    {
        const auto start = juce::Time::getMillisecondCounterHiRes();
        result = midi.sendBytes (message.data(), (int) message.size());
        elapsedMs = juce::Time::getMillisecondCounterHiRes() - start;
    });

    sender.startThread();
    juce::Thread::sleep (100);
    sender.signalThreadShouldExit();
    ASSERT_TRUE (sender.waitForThreadToExit (5000));

    ASSERT_TRUE (result.failed());
    EXPECT_TRUE (result.getErrorMessage().contains ("was stopped")) << result.getErrorMessage();
    EXPECT_LT (elapsedMs, 3000.0);
    EXPECT_EQ (pedal::count (1, "drop"), 1);
}

TEST (Fault, AStopRequestWhileTheDeviceDrainsLetsTheMessageFinish)
{
    pedal::configure ("--port 'Lantern Reverb MIDI 1' --rate 3000");
    MidiInterfaceClass midi (true, false);
    midi.selectOutputDevice (1);
    const auto message = pedal::sysex (599);
    auto result = juce::Result::fail ("not sent");

    pedal::JobThread sender ([&] { result = midi.sendBytes (message.data(), (int) message.size()); });
    sender.startThread();
    juce::Thread::sleep (50);
    sender.signalThreadShouldExit();
    ASSERT_TRUE (sender.waitForThreadToExit (5000));

    EXPECT_TRUE (result.wasOk()) << result.getErrorMessage();
    EXPECT_EQ (pedal::captured (1), message);
    EXPECT_EQ (pedal::count (1, "drop"), 0);
}
} // namespace
