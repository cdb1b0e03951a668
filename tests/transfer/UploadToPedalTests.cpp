#include "firmware/BuiltInFirmwareClass.h"
#include "midi/MidiInterfaceClass.h"
#include "midi/MidiOutputDevice.h"
#include "panel/AutoUpdateMode.h"
#include "support/MessageLoop.h"
#include "transfer/BasicSysexProtocolClass.h"

#include "VirtualPedalControl.h"

#include <gtest/gtest.h>

namespace
{
std::vector<unsigned char> captured (int port)
{
    std::vector<unsigned char> bytes (400000);
    const auto size = virtual_pedal_captured (port, bytes.data(), (long) bytes.size());
    bytes.resize ((size_t) juce::jmax (0L, size));
    return bytes;
}

bool isPrefixOfImage (const std::vector<unsigned char>& bytes, const FirmwareBaseClass& firmware)
{
    return bytes.size() <= (size_t) firmware.getImageSize()
           && std::equal (bytes.begin(), bytes.end(), firmware.getImageData());
}

struct FaultCase
{
    const char* pedal;
    bool stopAfterStart;
    BasicSysexProtocolClass::Outcome outcome;
    const char* statusContains;
    bool wholeMessagesOnly;
};

class UploadToPedal : public ::testing::TestWithParam<FaultCase>
{
protected:
    void SetUp() override
    {
        autoUpdateMode = false;
        MidiOutputDevice::setStallTimeoutMs (1500);
    }

    void TearDown() override { MidiOutputDevice::setStallTimeoutMs (MidiOutputDevice::defaultStallTimeoutMs); }
};
} // namespace

TEST (UploadToPedal, TheBuiltInImageArrivesByteExactThroughTheRealSelector)
{
    ASSERT_EQ (virtual_pedal_configure ("--port A --port B --rate 400000"), 0);
    MidiInterfaceClass midi (true, false);
    midi.selectOutputDevice (2);
    BuiltInFirmwareClass firmware;
    BasicSysexProtocolClass protocol (&midi, &firmware);

    protocol.startUpdate();
    ASSERT_TRUE (runMessageLoopUntil ([&] { return ! protocol.isThreadRunning(); }, 20000));
    runMessageLoopFor (50);

    EXPECT_EQ (protocol.getStatusText(), "Update completed");
    const auto received = captured (2);
    ASSERT_EQ (received.size(), 290533u);
    EXPECT_TRUE (isPrefixOfImage (received, firmware));
    EXPECT_EQ (captured (1).size(), 0u);
    EXPECT_EQ (juce::String (virtual_pedal_verdict (2)), "complete Lantern Reverb update (487 messages, 290533 bytes)");
}

TEST_P (UploadToPedal, AFaultIsReportedAndThePedalGotOnlyTheImagesStart)
{
    const auto& c = GetParam();
    ASSERT_EQ (virtual_pedal_configure (c.pedal), 0);

    MidiInterfaceClass midi (true, false);
    midi.selectOutputDevice (1);
    ASSERT_TRUE (midi.isConnected());
    BuiltInFirmwareClass firmware;
    BasicSysexProtocolClass protocol (&midi, &firmware);

    protocol.startUpdate();

    if (c.stopAfterStart)
    {
        runMessageLoopFor (400);
        protocol.signalThreadShouldExit();
    }

    ASSERT_TRUE (runMessageLoopUntil ([&] { return ! protocol.isThreadRunning(); }, 15000)) << c.pedal;
    runMessageLoopFor (50);

    EXPECT_EQ (protocol.getOutcome(), c.outcome) << c.pedal;
    EXPECT_NE (protocol.getStatusText(), "Update completed") << c.pedal;
    EXPECT_TRUE (protocol.getStatusText().contains (c.statusContains)) << c.pedal << ": " << protocol.getStatusText();

    const auto received = captured (1);
    EXPECT_LT (received.size(), 290533u) << c.pedal;
    EXPECT_TRUE (isPrefixOfImage (received, firmware)) << c.pedal << ": bytes changed or out of order";

    if (c.wholeMessagesOnly)
    {
        EXPECT_TRUE (received.empty() || received.back() == 0xf7) << c.pedal << ": a partial message went out";
    }
}

INSTANTIATE_TEST_SUITE_P (Faults,
                          UploadToPedal,
                          ::testing::Values (
                              FaultCase { "--port A --fail-after 100000", false, BasicSysexProtocolClass::Outcome::failed,
                                          "Update failed: ", false },
                              FaultCase { "--port A --unplug-after 100000", false, BasicSysexProtocolClass::Outcome::failed,
                                          "disconnected", false },
                              FaultCase { "--port A --stall", false, BasicSysexProtocolClass::Outcome::failed,
                                          "stopped accepting data", true },
                              FaultCase { "--port A --stall", true, BasicSysexProtocolClass::Outcome::stopped,
                                          "Uploading firmware", true },
                              FaultCase { "--port A --rate 20000", true, BasicSysexProtocolClass::Outcome::stopped,
                                          "Uploading firmware", true }));
