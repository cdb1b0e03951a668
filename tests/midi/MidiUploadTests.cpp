// The output device under an upload: late change notifications and selector changes
// never close, re-open or destroy the device while a message is being sent.
#include "PedalTestSupport.h"

#include "firmware/BuiltInFirmwareClass.h"
#include "firmware/SysexImage.h"
#include "midi/MidiInterfaceClass.h"

#include <atomic>

namespace
{
const char* const threePorts = "--port 'Lantern Reverb MIDI 1' --port 'Second Pedal' --port 'Third Port'";

int countLines (const std::string& log, const juce::String& line)
{
    int n = 0;

    for (const auto& each : juce::StringArray::fromLines (juce::String (log)))
        n += each == line ? 1 : 0;

    return n;
}

TEST (Upload, LateSelectorNotificationsLeaveTheOpenDeviceAlone)
{
    pedal::configure (std::string (threePorts) + " --rate 100000");

    // The automatic update: construct, select, start sending, all before the message
    // loop has delivered the selector's pending notifications.
    MidiInterfaceClass midi (true, false);
    midi.selectOutputDevice (2);
    ASSERT_TRUE (midi.isConnected());

    BuiltInFirmwareClass firmware;
    const auto* image = firmware.getImageData();
    const auto messages = SysexImage::splitMessages (image, firmware.getImageSize());
    std::atomic<int> sent { 0 };
    juce::String failure;

    pedal::JobThread upload ([&]
    {
        for (const auto& range : messages)
        {
            const auto result = midi.sendBytes (image + range.getStart(), range.getLength());

            if (result.failed())
            {
                failure = result.getErrorMessage();
                return;
            }

            ++sent;
        }
    });

    pedal::ChangeCounter changes;
    midi.addChangeListener (&changes);
    upload.startThread();

    ASSERT_TRUE (pedal::pumpUntil ([&] { return changes.count > 0 && sent.load() > 0; }, 10000));

    // Later selections of the same device, as the panel or a late notification makes them.
    midi.selectOutputDevice (2);
    midi.getOutputSelector()->setSelectedId (2, juce::sendNotificationSync);

    ASSERT_TRUE (pedal::pumpUntil ([&] { return ! upload.isThreadRunning(); }, 60000));
    midi.removeChangeListener (&changes);

    EXPECT_TRUE (failure.isEmpty()) << failure;
    EXPECT_EQ (sent.load(), messages.size());
    EXPECT_EQ (pedal::count (2, "open"), 1);
    EXPECT_EQ (pedal::count (2, "close"), 0);
    EXPECT_EQ (countLines (pedal::log(), "close 2"), 0) << pedal::log();

    const std::vector<juce::uint8> expected (image, image + firmware.getImageSize());
    EXPECT_EQ (pedal::captured (2), expected);
    EXPECT_TRUE (pedal::captured (1).empty());
    EXPECT_TRUE (pedal::captured (3).empty());
}

TEST (Upload, ClosingTheDeviceMidUploadWaitsForTheMessageInFlight)
{
    pedal::configure ("--port 'Lantern Reverb MIDI 1' --rate 6000");
    MidiInterfaceClass midi (true, false);
    midi.selectOutputDevice (1);

    std::vector<std::vector<juce::uint8>> messages;

    for (int i = 0; i < 20; ++i)
        messages.push_back (pedal::sysex (599, i));

    std::atomic<int> sent { 0 };
    juce::String failure;

    pedal::JobThread upload ([&]
    {
        for (const auto& message : messages)
        {
            const auto result = midi.sendBytes (message.data(), (int) message.size());

            if (result.failed())
            {
                failure = result.getErrorMessage();
                return;
            }

            ++sent;
        }
    });

    upload.startThread();
    ASSERT_TRUE (pedal::pumpUntil ([&] { return sent.load() >= 2; }, 10000));

    // The user's "(Disconnected)": closes only once the message being sent is done.
    midi.getOutputSelector()->setSelectedId (2, juce::sendNotificationSync);
    EXPECT_FALSE (midi.isConnected());
    ASSERT_TRUE (upload.waitForThreadToExit (10000));

    EXPECT_TRUE (failure.startsWith ("No MIDI output device is open.")) << failure;
    ASSERT_LT (sent.load(), 20);

    std::vector<juce::uint8> expected;

    for (int i = 0; i < sent.load(); ++i)
        expected.insert (expected.end(), messages[(size_t) i].begin(), messages[(size_t) i].end());

    EXPECT_EQ (pedal::captured (1), expected);
    EXPECT_EQ (pedal::count (1, "drop"), 0);
    EXPECT_EQ (pedal::count (1, "close"), 1);
}
} // namespace
