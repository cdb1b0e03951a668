#include "firmware/BuiltInFirmwareClass.h"
#include "panel/AutoUpdateMode.h"
#include "support/BytesFirmware.h"
#include "support/FakeDeviceInterface.h"
#include "support/MessageLoop.h"
#include "transfer/BasicSysexProtocolClass.h"

#include <gtest/gtest.h>

namespace
{
/** Stands in for the running application, counting quit requests. */
struct QuitCountingApplication : juce::JUCEApplication
{
    const juce::String getApplicationName() override { return "test"; }
    const juce::String getApplicationVersion() override { return "0"; }
    void initialise (const juce::String&) override {}
    void shutdown() override {}
    void systemRequestedQuit() override { ++quitRequests; }

    std::atomic<int> quitRequests { 0 };
};

/** Records what the panel would see: progress notifications with the status text of the moment. */
struct RecordingListener : juce::ChangeListener
{
    explicit RecordingListener (BasicSysexProtocolClass& p) : protocol (p) { protocol.addChangeListener (this); }
    ~RecordingListener() override { protocol.removeChangeListener (this); }

    void changeListenerCallback (juce::ChangeBroadcaster* source) override
    {
        EXPECT_EQ (source, &protocol);
        const auto progress = protocol.getProgress();

        if (progress != lastProgress)
        {
            progressValues.push_back (progress);
            statusAtProgress.push_back (protocol.getStatusText());
            lastProgress = progress;
        }
    }

    BasicSysexProtocolClass& protocol;
    double lastProgress = 0.0;
    std::vector<double> progressValues;
    std::vector<juce::String> statusAtProgress;
};

bool waitForUploadToEnd (BasicSysexProtocolClass& protocol)
{
    return runMessageLoopUntil ([&] { return ! protocol.isThreadRunning(); }, 20000);
}

std::vector<juce::uint8> imageBytes (const FirmwareBaseClass& firmware)
{
    return { firmware.getImageData(), firmware.getImageData() + firmware.getImageSize() };
}

class ProtocolTest : public ::testing::Test
{
protected:
    void SetUp() override { autoUpdateMode = false; }
    void TearDown() override { autoUpdateMode = false; }

    FakeDeviceInterface device;
};
} // namespace

TEST_F (ProtocolTest, BuiltInImageGoesOutMessageByMessageWithHundredProgressSteps)
{
    BuiltInFirmwareClass firmware;
    BasicSysexProtocolClass protocol (&device, &firmware);
    RecordingListener listener (protocol);

    std::vector<size_t> notificationsBeforeSend;
    juce::String statusAtFirstSend;
    device.onSend = [&] (int index)
    {
        notificationsBeforeSend.push_back (listener.progressValues.size());
        if (index == 0)
            statusAtFirstSend = protocol.getStatusText();
    };

    protocol.startUpdate();
    ASSERT_TRUE (waitForUploadToEnd (protocol));
    runMessageLoopFor (50);

    const auto messages = device.getMessages();
    ASSERT_EQ (messages.size(), 487u);
    EXPECT_EQ (messages.front().size(), 9u);
    EXPECT_EQ (messages.back().size(), 9u);
    for (size_t i = 1; i + 1 < messages.size(); ++i)
        ASSERT_EQ (messages[i].size(), 599u) << "message " << i;
    EXPECT_EQ (device.getAllBytes(), imageBytes (firmware));

    EXPECT_EQ (statusAtFirstSend, "Uploading firmware");
    EXPECT_EQ (protocol.getStatusText(), "Update completed");
    EXPECT_EQ (protocol.getOutcome(), BasicSysexProtocolClass::Outcome::completed);

    ASSERT_EQ (listener.progressValues.size(), 100u);
    for (size_t i = 0; i < 100; ++i)
        EXPECT_DOUBLE_EQ (listener.progressValues[i], (double) (i + 1) / 100.0);
    EXPECT_EQ (listener.statusAtProgress.back(), "Uploading firmware") << "1.00 comes before completion";

    // The first hundredth is reached by the fourth message: seen before the fifth send.
    EXPECT_EQ (notificationsBeforeSend[3], 0u);
    EXPECT_EQ (notificationsBeforeSend[4], 1u);
    EXPECT_TRUE (device.isEnabled()) << "the selector is enabled again";
}

TEST_F (ProtocolTest, ASingleMessageImageCompletes)
{
    BytesFirmware firmware ({ 0xf0, 0x01, 0x02, 0xf7 });
    BasicSysexProtocolClass protocol (&device, &firmware);

    protocol.startUpdate();
    ASSERT_TRUE (waitForUploadToEnd (protocol));

    EXPECT_EQ (device.getNumSends(), 1);
    EXPECT_EQ (device.getAllBytes(), imageBytes (firmware));
    EXPECT_EQ (protocol.getStatusText(), "Update completed");
    EXPECT_DOUBLE_EQ (protocol.getProgress(), 1.0);
}

TEST_F (ProtocolTest, AStopDuringASendLetsThatSendFinishAndSendsNoMore)
{
    BuiltInFirmwareClass firmware;
    BasicSysexProtocolClass protocol (&device, &firmware);
    device.holdAtSend = 10;

    protocol.startUpdate();
    ASSERT_TRUE (runMessageLoopUntil ([&] { return device.sendIsHeld.wait (0); }));

    protocol.signalThreadShouldExit();
    device.releaseHeldSend.signal();
    ASSERT_TRUE (waitForUploadToEnd (protocol));
    runMessageLoopFor (50);

    EXPECT_EQ (device.getNumSends(), 11);
    EXPECT_EQ (protocol.getStatusText(), "Uploading firmware");
    EXPECT_EQ (protocol.getOutcome(), BasicSysexProtocolClass::Outcome::stopped);
    EXPECT_FALSE (device.isEnabled()) << "a stopped upload leaves the selector disabled";
}

TEST_F (ProtocolTest, StartingAfterCompletionSendsTheWholeImageAgainFromZero)
{
    BytesFirmware firmware ({ 0xf0, 0x01, 0xf7, 0xf0, 0x02, 0xf7 });
    BasicSysexProtocolClass protocol (&device, &firmware);
    RecordingListener listener (protocol);

    protocol.startUpdate();
    ASSERT_TRUE (waitForUploadToEnd (protocol));
    protocol.startUpdate();
    ASSERT_TRUE (waitForUploadToEnd (protocol));

    EXPECT_EQ (device.getNumSends(), 4);
    EXPECT_EQ (listener.progressValues, (std::vector<double> { 0.5, 1.0, 0.0, 0.5, 1.0 }));
}

TEST_F (ProtocolTest, StartingWhileTheFinishedThreadStillRunsResetsProgressAndSendsNothing)
{
    BytesFirmware firmware ({ 0xf0, 0x01, 0xf7 });
    BasicSysexProtocolClass protocol (&device, &firmware);

    // The upload re-enables the selector after its last message, while its thread still runs.
    bool sawRunningAtOne = false;
    device.onEnablementChanged = [&] (bool enabled)
    {
        if (enabled && protocol.isThreadRunning() && protocol.getProgress() == 1.0)
        {
            sawRunningAtOne = true;
            protocol.startUpdate();
        }
    };

    protocol.startUpdate();
    ASSERT_TRUE (waitForUploadToEnd (protocol));

    EXPECT_TRUE (sawRunningAtOne);
    EXPECT_DOUBLE_EQ (protocol.getProgress(), 0.0);
    EXPECT_EQ (device.getNumSends(), 1);
}

TEST_F (ProtocolTest, StartingWhileRunningBelowOneChangesNothing)
{
    BuiltInFirmwareClass firmware;
    BasicSysexProtocolClass protocol (&device, &firmware);
    device.holdAtSend = 100;

    protocol.startUpdate();
    ASSERT_TRUE (runMessageLoopUntil ([&] { return device.sendIsHeld.wait (0); }));
    const auto progress = protocol.getProgress();
    protocol.startUpdate();
    EXPECT_DOUBLE_EQ (protocol.getProgress(), progress);

    device.releaseHeldSend.signal();
    ASSERT_TRUE (waitForUploadToEnd (protocol));
    EXPECT_EQ (device.getNumSends(), 487) << "one upload, not two";
}

TEST_F (ProtocolTest, QuitIsRequestedOnlyAfterACompletedAutomaticUpdate)
{
    QuitCountingApplication app;
    BytesFirmware firmware ({ 0xf0, 0x01, 0xf7, 0xf0, 0x02, 0xf7 });

    {
        BasicSysexProtocolClass protocol (&device, &firmware);
        protocol.startUpdate();
        ASSERT_TRUE (waitForUploadToEnd (protocol));
        EXPECT_EQ (app.quitRequests.load(), 0) << "not in automatic mode";
    }

    autoUpdateMode = true;

    {
        FakeDeviceInterface failing;
        failing.failAtSend = 1;
        BasicSysexProtocolClass protocol (&failing, &firmware);
        protocol.startUpdate();
        ASSERT_TRUE (waitForUploadToEnd (protocol));
        EXPECT_EQ (app.quitRequests.load(), 0) << "not after a failure";
    }

    {
        FakeDeviceInterface holding;
        holding.holdAtSend = 0;
        BasicSysexProtocolClass protocol (&holding, &firmware);
        protocol.startUpdate();
        ASSERT_TRUE (runMessageLoopUntil ([&] { return holding.sendIsHeld.wait (0); }));
        protocol.signalThreadShouldExit();
        holding.releaseHeldSend.signal();
        ASSERT_TRUE (waitForUploadToEnd (protocol));
        EXPECT_EQ (app.quitRequests.load(), 0) << "not after a stop";
    }

    {
        FakeDeviceInterface fine;
        BasicSysexProtocolClass protocol (&fine, &firmware);
        protocol.startUpdate();
        ASSERT_TRUE (waitForUploadToEnd (protocol));
        EXPECT_EQ (app.quitRequests.load(), 1) << "once after completion";
    }
}

TEST_F (ProtocolTest, AFailedSendStopsTheUploadAndSaysWhy)
{
    BuiltInFirmwareClass firmware;
    BasicSysexProtocolClass protocol (&device, &firmware);
    RecordingListener listener (protocol);
    device.failAtSend = 7;

    protocol.startUpdate();
    ASSERT_TRUE (waitForUploadToEnd (protocol));
    runMessageLoopFor (50);

    EXPECT_EQ (device.getNumSends(), 7) << "nothing after the failed message";
    EXPECT_EQ (protocol.getOutcome(), BasicSysexProtocolClass::Outcome::failed);
    EXPECT_TRUE (protocol.getStatusText().startsWith ("Update failed: ")) << protocol.getStatusText();
    EXPECT_TRUE (protocol.getStatusText().contains (device.failureText)) << protocol.getStatusText();
    EXPECT_NE (protocol.getStatusText(), "Update completed");
    EXPECT_LT (protocol.getProgress(), 1.0);
    EXPECT_TRUE (device.isEnabled()) << "the user can pick a port and retry";
}

TEST_F (ProtocolTest, MalformedImagesSendNothingAndSayWhy)
{
    const struct
    {
        const char* what;
        std::vector<juce::uint8> image;
        const char* reason;
    } cases[] = {
        { "first byte not F0", { 0x00, 0xf0, 0x01, 0xf7 }, "offset 0" },
        { "last message without F7", { 0xf0, 0x01, 0xf7, 0xf0, 0x02 }, "no end byte F7" },
        { "bytes after the last F7", { 0xf0, 0x01, 0xf7, 0x7f }, "offset 3" },
        { "byte above 0x7F inside a message", { 0xf0, 0x01, 0xf7, 0xf0, 0x80, 0xf7 }, "0x80 at offset 4" },
        { "empty", {}, "empty" },
    };

    for (const auto& c : cases)
    {
        FakeDeviceInterface fake;
        BytesFirmware firmware (c.image);
        BasicSysexProtocolClass protocol (&fake, &firmware);

        protocol.startUpdate();
        ASSERT_TRUE (waitForUploadToEnd (protocol)) << c.what;

        EXPECT_EQ (fake.getNumSends(), 0) << c.what;
        EXPECT_EQ (protocol.getOutcome(), BasicSysexProtocolClass::Outcome::failed) << c.what;
        EXPECT_TRUE (protocol.getStatusText().startsWith ("Update failed: ")) << c.what;
        EXPECT_TRUE (protocol.getStatusText().contains (c.reason)) << c.what << ": " << protocol.getStatusText();
    }
}

TEST_F (ProtocolTest, AWaitingCloseIsNotHeldUpByTheMessageLock)
{
    // The message thread waits for the upload without dispatching messages, as the close
    // button does, while the upload wants the message-manager lock before every message.
    BuiltInFirmwareClass firmware;
    BasicSysexProtocolClass protocol (&device, &firmware);
    device.sendDelayMs = 2;

    protocol.startUpdate();
    ASSERT_TRUE (runMessageLoopUntil ([&] { return device.getNumSends() > 5; }));

    protocol.signalThreadShouldExit();
    EXPECT_TRUE (protocol.waitForThreadToExit (3000));
    EXPECT_LT (device.getNumSends(), 487);
}

TEST_F (ProtocolTest, UploadsStartedStoppedAndDestroyedRepeatedly)
{
    BuiltInFirmwareClass firmware;
    const auto image = imageBytes (firmware);

    for (int round = 0; round < 20; ++round)
    {
        FakeDeviceInterface fake;
        auto protocol = std::make_unique<BasicSysexProtocolClass> (&fake, &firmware);

        {
            RecordingListener listener (*protocol);
            protocol->startUpdate();
            runMessageLoopUntil ([&] { return fake.getNumSends() > round * 3; }, 2000);

            // As the close button does: ask it to stop and wait, without dispatching messages
            // in between (JUCE 7.0.5's thread-aware MessageManagerLock can race if the loop
            // runs the lock's message while the aborted attempt unwinds).
            if (round % 2 == 0)
            {
                protocol->signalThreadShouldExit();
                EXPECT_TRUE (protocol->waitForThreadToExit (5000)) << "round " << round;
            }
        }

        protocol.reset(); // stops a running thread itself

        // Whatever went out is the start of the image, in whole messages.
        const auto sent = fake.getAllBytes();
        ASSERT_LE (sent.size(), image.size());
        EXPECT_TRUE (std::equal (sent.begin(), sent.end(), image.begin())) << "round " << round;
        EXPECT_TRUE (sent.empty() || sent.back() == 0xf7) << "round " << round;
    }
}
