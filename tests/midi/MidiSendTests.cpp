// sendBytes: nothing open, one long message, the built-in image at several rates.
#include "PedalTestSupport.h"

#include "firmware/BuiltInFirmwareClass.h"
#include "firmware/SysexImage.h"
#include "midi/MidiInterfaceClass.h"

namespace
{
std::unique_ptr<MidiInterfaceClass> openPort (const std::string& options)
{
    pedal::configure (options);
    auto midi = std::make_unique<MidiInterfaceClass> (true, false);
    midi->selectOutputDevice (1);
    return midi;
}

TEST (SendBytes, WithNoDeviceOpenFailsAtOnceAndSendsNothing)
{
    pedal::configure ("--port 'Lantern Reverb MIDI 1'");
    MidiInterfaceClass midi (true, false);
    const auto message = pedal::sysex (599);

    const auto start = juce::Time::getMillisecondCounterHiRes();
    const auto result = midi.sendBytes (message.data(), (int) message.size());

    EXPECT_LT (juce::Time::getMillisecondCounterHiRes() - start, 1000.0);
    ASSERT_TRUE (result.failed());
    EXPECT_TRUE (result.getErrorMessage().startsWith ("No MIDI output device is open.")) << result.getErrorMessage();
    EXPECT_EQ (pedal::count (1, "open"), 0);
    EXPECT_TRUE (pedal::captured (1).empty());
}

TEST (SendBytes, ReturnsOnlyOnceTheDriverHasSentTheWholeMessage)
{
    const double rate = 3000.0;
    auto midi = openPort ("--port 'Lantern Reverb MIDI 1' --rate 3000");
    ASSERT_TRUE (midi->isConnected());
    const auto message = pedal::sysex (599);

    const auto start = juce::Time::getMillisecondCounterHiRes();
    const auto result = midi->sendBytes (message.data(), (int) message.size());
    const auto elapsedSeconds = (juce::Time::getMillisecondCounterHiRes() - start) / 1000.0;

    ASSERT_TRUE (result.wasOk()) << result.getErrorMessage();
    EXPECT_GE (elapsedSeconds, 0.8 * 599.0 / rate);
    EXPECT_LT (elapsedSeconds, 10.0);
    EXPECT_EQ (pedal::captured (1), message);
    EXPECT_GE (pedal::count (1, "drain"), 1);
    EXPECT_EQ (pedal::count (1, "drop"), 0);
}

TEST (SendBytes, AMessageLargerThanTheDriverBufferWaitsForRoomAndArrivesWhole)
{
    auto midi = openPort ("--port 'Lantern Reverb MIDI 1' --rate 200000");
    const auto message = pedal::sysex (10000, 3);

    const auto result = midi->sendBytes (message.data(), (int) message.size());

    ASSERT_TRUE (result.wasOk()) << result.getErrorMessage();
    EXPECT_EQ (pedal::captured (1), message);
}

class ImageAtRate : public testing::TestWithParam<const char*> {};

TEST_P (ImageAtRate, ArrivesByteExactMessageByMessage)
{
    auto midi = openPort (std::string ("--port 'Lantern Reverb MIDI 1' ") + GetParam());
    BuiltInFirmwareClass firmware;
    const auto* image = firmware.getImageData();
    const auto messages = SysexImage::splitMessages (image, firmware.getImageSize());
    ASSERT_EQ (messages.size(), 487);

    for (const auto& range : messages)
    {
        const auto result = midi->sendBytes (image + range.getStart(), range.getLength());
        ASSERT_TRUE (result.wasOk()) << "at offset " << range.getStart() << ": " << result.getErrorMessage();
    }

    const std::vector<juce::uint8> expected (image, image + firmware.getImageSize());
    EXPECT_EQ (pedal::captured (1), expected);
    EXPECT_EQ (pedal::count (1, "drop"), 0);
    EXPECT_EQ (pedal::count (1, "error"), 0);
}

INSTANTIATE_TEST_SUITE_P (Rates, ImageAtRate, testing::Values ("--rate 0", "--rate 100000", "--rate 1000000"));
} // namespace
