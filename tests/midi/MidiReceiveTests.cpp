// The receive path: bytes the pedal sends back, collected in the 256-byte ring.
#include "PedalTestSupport.h"

#include "midi/MidiInterfaceClass.h"

namespace
{
const std::vector<juce::uint8> noteOn { 0x90, 0x3c, 0x64 };
const std::vector<juce::uint8> identity { 0xf0, 0x7e, 0x00, 0x06, 0x02, 0x41, 0x10, 0x20, 0xf7 };

std::unique_ptr<MidiInterfaceClass> openInput()
{
    pedal::configure ("--port 'Lantern Reverb MIDI 1'");
    auto midi = std::make_unique<MidiInterfaceClass> (false, true);
    midi->selectInputDevice (1);
    return midi;
}

/** Waits (bounded) until the input thread has delivered this many bytes, kept or dropped. */
bool waitForBytes (MidiInterfaceClass& midi, int expected)
{
    return pedal::pumpUntil ([&] { return midi.getNumUnreadBytes() + midi.getReceiveDropCount() >= expected; });
}

std::vector<juce::uint8> read (MidiInterfaceClass& midi, juce::uint32 maxBytes)
{
    std::vector<juce::uint8> bytes (maxBytes + 1u, 0);
    const auto copied = midi.readBytes (bytes.data(), maxBytes);
    bytes.resize ((size_t) juce::jmax (0, copied));
    return bytes;
}

std::vector<juce::uint8> joined (std::vector<juce::uint8> a, const std::vector<juce::uint8>& b)
{
    a.insert (a.end(), b.begin(), b.end());
    return a;
}

TEST (ReadBytes, WithNoInputOpenReadsNothing)
{
    pedal::configure ("--port 'Lantern Reverb MIDI 1'");
    MidiInterfaceClass midi (false, true);
    EXPECT_TRUE (read (midi, 100).empty());
}

TEST (ReadBytes, ReturnsTwoMessagesInArrivalOrderThenNothing)
{
    auto midi = openInput();
    ASSERT_TRUE (midi->isConnected());
    pedal::sendToHost (1, noteOn);
    pedal::sendToHost (1, identity);
    ASSERT_TRUE (waitForBytes (*midi, 12));

    EXPECT_EQ (read (*midi, 100), joined (noteOn, identity));
    EXPECT_TRUE (read (*midi, 100).empty());
}

TEST (ReadBytes, AShortReadLeavesTheRestForTheNextCall)
{
    auto midi = openInput();
    pedal::sendToHost (1, noteOn);
    pedal::sendToHost (1, identity);
    ASSERT_TRUE (waitForBytes (*midi, 12));
    const auto all = joined (noteOn, identity);

    EXPECT_EQ (read (*midi, 5), std::vector<juce::uint8> (all.begin(), all.begin() + 5));
    EXPECT_EQ (read (*midi, 100), std::vector<juce::uint8> (all.begin() + 5, all.end()));
}

TEST (ReadBytes, ASysExSplitAcrossDeliveriesArrivesAsOneMessage)
{
    // The constructor's selector notification is still pending: when it arrives during
    // the pump it must not re-open the input and lose the first part.
    auto midi = openInput();
    const auto message = pedal::sysex (200, 9);
    pedal::sendToHost (1, std::vector<juce::uint8> (message.begin(), message.begin() + 70));
    pedal::pump (50);
    EXPECT_EQ (midi->getNumUnreadBytes(), 0); // not yet a complete message
    pedal::sendToHost (1, std::vector<juce::uint8> (message.begin() + 70, message.end()));
    ASSERT_TRUE (waitForBytes (*midi, 200)) << pedal::log();

    EXPECT_EQ (read (*midi, 1000), message);
    EXPECT_EQ (pedal::count (1, "open"), 1) << pedal::log();
}

struct BurstCase
{
    int burstBytes;
    int kept;
    int dropped;
};

class ReceiveBurst : public testing::TestWithParam<BurstCase> {};

TEST_P (ReceiveBurst, KeepsTheFirstUnreadBytesAndCountsTheRest)
{
    auto midi = openInput();
    const auto burst = pedal::sysex (GetParam().burstBytes, 1);
    pedal::sendToHost (1, burst);
    ASSERT_TRUE (waitForBytes (*midi, GetParam().burstBytes));

    EXPECT_EQ (read (*midi, 1000), std::vector<juce::uint8> (burst.begin(), burst.begin() + GetParam().kept));
    EXPECT_EQ (midi->getReceiveDropCount(), GetParam().dropped);

    // The ring keeps working after an overflow.
    pedal::sendToHost (1, noteOn);
    ASSERT_TRUE (waitForBytes (*midi, 3 + GetParam().dropped));
    EXPECT_EQ (read (*midi, 100), noteOn);
}

INSTANTIATE_TEST_SUITE_P (Sizes, ReceiveBurst, testing::Values (
    BurstCase { 255, 255, 0 },
    BurstCase { 256, 255, 1 },
    BurstCase { 300, 255, 45 }));

TEST (ReadBytes, AReaderOnAnotherThreadGetsEveryByteInOrder)
{
    auto midi = openInput();
    std::vector<juce::uint8> received;

    pedal::JobThread reader ([&]
    {
        juce::uint8 bytes[64];

        while (! juce::Thread::currentThreadShouldExit() && received.size() < 40 * 9)
        {
            const auto n = midi->readBytes (bytes, sizeof (bytes));
            received.insert (received.end(), bytes, bytes + n);
            juce::Thread::sleep (1);
        }
    });

    reader.startThread();
    std::vector<juce::uint8> sent;

    for (int i = 0; i < 40; ++i)
    {
        const auto message = pedal::sysex (9, i);
        sent.insert (sent.end(), message.begin(), message.end());
        pedal::sendToHost (1, message);
        juce::Thread::sleep (2);
    }

    ASSERT_TRUE (reader.waitForThreadToExit (5000));
    EXPECT_EQ (received, sent);
    EXPECT_EQ (midi->getReceiveDropCount(), 0);
}
} // namespace
