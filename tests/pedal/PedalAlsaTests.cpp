// The virtual pedal through plain ALSA calls, as a program linked with it sees it.
#include "PedalFixtures.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <dlfcn.h>
#include <poll.h>
#include <string>
#include <thread>

using namespace pedalfixtures;

namespace
{
using Clock = std::chrono::steady_clock;

double secondsSince (Clock::time_point start)
{
    return std::chrono::duration<double> (Clock::now() - start).count();
}

std::string libraryOf (const void* symbol)
{
    Dl_info info {};
    return dladdr (symbol, &info) != 0 && info.dli_fname != nullptr ? info.dli_fname : "";
}

void configure (const std::string& options)
{
    ASSERT_EQ (virtual_pedal_configure (options.c_str()), 0) << options;
}

bool logHas (const std::string& line)
{
    return (std::string ("\n") + virtual_pedal_log()).find ("\n" + line + "\n") != std::string::npos;
}
} // namespace

TEST (PedalLinking, AlsaCallsBindToThePedalAndTheRestFallsThroughToLibasound)
{
    EXPECT_NE (libraryOf ((const void*) &snd_rawmidi_open).find ("libvirtualpedal"), std::string::npos);
    EXPECT_NE (libraryOf ((const void*) &snd_card_next).find ("libvirtualpedal"), std::string::npos);
    EXPECT_EQ (dlvsym (RTLD_DEFAULT, "snd_rawmidi_write", "ALSA_0.9"), (void*) &snd_rawmidi_write);
    EXPECT_NE (libraryOf ((const void*) &snd_strerror).find ("libasound"), std::string::npos);
    EXPECT_STREQ (snd_strerror (-EIO), "Input/output error");
}

TEST (PedalListing, PortsAreCardsInOrderWithOneNamedDeviceEach)
{
    configure ("--port 'Lantern Reverb MIDI 1' --port \"Second Pedal\" --port Third");
    const char* const names[] = { "Lantern Reverb MIDI 1", "Second Pedal", "Third" };

    int card = -1;
    for (int expected = 0; expected < 3; ++expected)
    {
        ASSERT_EQ (snd_card_next (&card), 0);
        ASSERT_EQ (card, expected);

        snd_ctl_t* ctl = nullptr;
        ASSERT_EQ (snd_ctl_open (&ctl, ("hw:" + std::to_string (card)).c_str(), 0), 0);

        int device = -1;
        ASSERT_EQ (snd_ctl_rawmidi_next_device (ctl, &device), 0);
        EXPECT_EQ (device, 0);

        snd_rawmidi_info_t* info = nullptr;
        ASSERT_EQ (snd_rawmidi_info_malloc (&info), 0);
        for (const auto stream : { SND_RAWMIDI_STREAM_OUTPUT, SND_RAWMIDI_STREAM_INPUT })
        {
            snd_rawmidi_info_set_device (info, 0);
            snd_rawmidi_info_set_subdevice (info, 0);
            snd_rawmidi_info_set_stream (info, stream);
            ASSERT_EQ (snd_ctl_rawmidi_info (ctl, info), 0);
            EXPECT_STREQ (snd_rawmidi_info_get_name (info), names[expected]);
            EXPECT_STREQ (snd_rawmidi_info_get_subdevice_name (info), names[expected]);
            EXPECT_EQ (snd_rawmidi_info_get_subdevices_count (info), 1u);
            EXPECT_EQ (snd_rawmidi_info_get_card (info), expected);
        }

        snd_rawmidi_info_set_subdevice (info, 1);
        EXPECT_EQ (snd_ctl_rawmidi_info (ctl, info), -ENXIO);
        snd_rawmidi_info_free (info);

        ASSERT_EQ (snd_ctl_rawmidi_next_device (ctl, &device), 0);
        EXPECT_EQ (device, -1);
        snd_ctl_close (ctl);

        char* cardName = nullptr;
        ASSERT_EQ (snd_card_get_name (card, &cardName), 0);
        EXPECT_STREQ (cardName, names[expected]);
        free (cardName);
    }

    ASSERT_EQ (snd_card_next (&card), 0);
    EXPECT_EQ (card, -1);

    snd_ctl_t* ctl = nullptr;
    EXPECT_LT (snd_ctl_open (&ctl, "hw:3", 0), 0);
    EXPECT_LT (Stream::output ("hw:3,0,0").openResult, 0);
}

TEST (PedalBuffer, ReportsItsSizeAndFreeRoom)
{
    configure ("--stall");
    auto out = Stream::output();
    ASSERT_EQ (out.openResult, 0);

    snd_rawmidi_params_t* params = nullptr;
    ASSERT_EQ (snd_rawmidi_params_malloc (&params), 0);
    ASSERT_EQ (snd_rawmidi_params_current (out.handle, params), 0);
    EXPECT_EQ (snd_rawmidi_params_get_buffer_size (params), 4096u);
    snd_rawmidi_params_free (params);

    EXPECT_EQ (out.avail(), 4096);
    ASSERT_EQ (out.write (sysex (1000)), 1000);
    EXPECT_EQ (out.avail(), 3096);
    EXPECT_EQ (snd_rawmidi_drop (out.handle), 0);
}

TEST (PedalBuffer, DrainAtARateLastsAboutSizeOverRate)
{
    configure ("--rate 3000");
    auto out = Stream::output();
    ASSERT_EQ (out.openResult, 0);
    const auto message = sysex (600);

    const auto start = Clock::now();
    ASSERT_EQ (out.write (message), 600);
    EXPECT_LT (capturedBytes (1).size(), 600u);
    ASSERT_EQ (snd_rawmidi_drain (out.handle), 0);
    const double seconds = secondsSince (start);

    EXPECT_GE (seconds, 0.15);
    EXPECT_LT (seconds, 5.0);
    EXPECT_EQ (capturedBytes (1), message);
    EXPECT_EQ (virtual_pedal_count (1, "drain"), 1);
}

TEST (PedalBuffer, ABlockingWriteLargerThanTheBufferWaitsForRoom)
{
    configure ("--rate 10000");
    auto out = Stream::output();
    ASSERT_EQ (out.openResult, 0);
    const auto bytes = sysex (6000, 3);

    const auto start = Clock::now();
    ASSERT_EQ (out.write (bytes), 6000);
    EXPECT_GE (secondsSince (start), 0.15);      // 1904 bytes had to leave first
    ASSERT_EQ (out.close(), 0);                  // closing drains the rest
    EXPECT_GE (secondsSince (start), 0.5);
    EXPECT_LT (secondsSince (start), 10.0);
    EXPECT_EQ (capturedBytes (1), bytes);
    EXPECT_TRUE (logHas ("write 1 6000")) << virtual_pedal_log();
}

TEST (PedalBuffer, ANonBlockingWriteTakesWhatFitsThenAnswersEagain)
{
    configure ("--stall");
    auto out = Stream::output ("hw:0,0,0", SND_RAWMIDI_NONBLOCK);
    ASSERT_EQ (out.openResult, 0);

    EXPECT_EQ (out.write (sysex (5000)), 4096);
    EXPECT_EQ (out.write (sysex (10)), -EAGAIN);
    EXPECT_EQ (out.avail(), 0);
    EXPECT_EQ (snd_rawmidi_drop (out.handle), 0);
    EXPECT_EQ (out.avail(), 4096);
}

TEST (PedalBuffer, DropDiscardsWhatIsStillBuffered)
{
    configure ("--rate 2000");
    auto out = Stream::output();
    ASSERT_EQ (out.openResult, 0);

    ASSERT_EQ (out.write (sysex (1000, 1)), 1000);
    ASSERT_EQ (snd_rawmidi_drop (out.handle), 0);
    const size_t afterDrop = capturedBytes (1).size();
    EXPECT_LT (afterDrop, 500u);

    const auto next = sysex (20, 2);
    ASSERT_EQ (out.write (next), 20);
    ASSERT_EQ (snd_rawmidi_drain (out.handle), 0);

    const auto wire = capturedBytes (1);
    ASSERT_EQ (wire.size(), afterDrop + 20);
    EXPECT_EQ (Bytes (wire.end() - 20, wire.end()), next);
    EXPECT_EQ (virtual_pedal_count (1, "drop"), 1);
    EXPECT_TRUE (logHas ("drop 1"));
}

TEST (PedalBuffer, ASecondOpenOfTheSameOutputIsBusy)
{
    configure ("");
    auto first = Stream::output();
    ASSERT_EQ (first.openResult, 0);
    EXPECT_EQ (Stream::output().openResult, -EBUSY);
    first.close();
    EXPECT_EQ (Stream::output().openResult, 0);
    EXPECT_EQ (virtual_pedal_count (1, "open"), 2);
    EXPECT_EQ (virtual_pedal_count (1, "close"), 2);
}

TEST (PedalBuffer, PollDescriptorsFollowRoomAndInput)
{
    configure ("--stall --reply F07E00F7");
    auto out = Stream::output ("hw:0,0,0", SND_RAWMIDI_NONBLOCK);
    auto in = Stream::input();
    ASSERT_EQ (out.openResult, 0);
    ASSERT_EQ (in.openResult, 0);

    auto ready = [] (Stream& s, unsigned short wanted)
    {
        pollfd fd {};
        EXPECT_EQ (snd_rawmidi_poll_descriptors_count (s.handle), 1);
        EXPECT_EQ (snd_rawmidi_poll_descriptors (s.handle, &fd, 1), 1);
        const int n = poll (&fd, 1, 0);
        unsigned short revents = 0;
        EXPECT_EQ (snd_rawmidi_poll_descriptors_revents (s.handle, &fd, 1, &revents), 0);
        EXPECT_EQ (n == 1, (revents & wanted) != 0) << "fd and revents disagree";
        return (revents & wanted) != 0;
    };

    EXPECT_TRUE (ready (out, POLLOUT));
    ASSERT_EQ (out.write (sysex (4096)), 4096);
    EXPECT_FALSE (ready (out, POLLOUT));
    ASSERT_EQ (snd_rawmidi_drop (out.handle), 0);
    EXPECT_TRUE (ready (out, POLLOUT));

    EXPECT_TRUE (ready (in, POLLIN));
    uint8_t buffer[16];
    ASSERT_EQ (snd_rawmidi_read (in.handle, buffer, sizeof (buffer)), 4);
    EXPECT_FALSE (ready (in, POLLIN));
}

TEST (PedalInput, ReplyAndHostBoundBytesAreReadableOnTheInputSide)
{
    configure ("--reply 'F0 7E 00 F7'");
    uint8_t buffer[64];

    {
        // Bytes of the pedal's own, before the port is open, wait for it.
        const Bytes early { 0x90, 0x40, 0x7f };
        ASSERT_EQ (virtual_pedal_send_to_host (1, early.data(), (long) early.size()), 0);
    }

    auto in = Stream::input();
    ASSERT_EQ (in.openResult, 0);
    ASSERT_EQ (snd_rawmidi_read (in.handle, buffer, sizeof (buffer)), 7);
    EXPECT_EQ (Bytes (buffer, buffer + 7), (Bytes { 0x90, 0x40, 0x7f, 0xf0, 0x7e, 0x00, 0xf7 }));
    EXPECT_EQ (snd_rawmidi_read (in.handle, buffer, sizeof (buffer)), -EAGAIN);

    const Bytes later { 0xf0, 0x01, 0xf7 };
    ASSERT_EQ (virtual_pedal_send_to_host (1, later.data(), (long) later.size()), 0);
    ASSERT_EQ (snd_rawmidi_read (in.handle, buffer, 2), 2);
    ASSERT_EQ (snd_rawmidi_read (in.handle, buffer + 2, sizeof (buffer)), 1);
    EXPECT_EQ (Bytes (buffer, buffer + 3), later);

    EXPECT_EQ (virtual_pedal_send_to_host (2, later.data(), 3), -1);
}

// --- Faults ---------------------------------------------------------------------------------

struct OpenCase
{
    const char* options;
    const char* device;
    int expected;
};

class PedalOpenFault : public testing::TestWithParam<OpenCase> {};

TEST_P (PedalOpenFault, OpenAnswersAsConfigured)
{
    configure (GetParam().options);
    auto out = Stream::output (GetParam().device);
    EXPECT_EQ (out.openResult, GetParam().expected);

    const int port = GetParam().device[3] - '0' + 1;
    EXPECT_EQ (virtual_pedal_count (port, "open"), GetParam().expected == 0 ? 1 : 0);
    EXPECT_EQ (virtual_pedal_count (port, "error"), GetParam().expected == 0 ? 0 : 1);
    if (GetParam().expected == -EBUSY)
    {
        EXPECT_TRUE (logHas ("error " + std::to_string (port) + " open: Device or resource busy")) << virtual_pedal_log();
    }
}

INSTANTIATE_TEST_SUITE_P (Cases, PedalOpenFault, testing::Values (
    OpenCase { "--fail-open", "hw:0,0,0", -EBUSY },
    OpenCase { "--port a --port b --fail-open --fault-port 2", "hw:1,0,0", -EBUSY },
    OpenCase { "--port a --port b --fail-open --fault-port 2", "hw:0,0,0", 0 }));

struct WriteFaultCase
{
    const char* options;
    int error;
    const char* errorText;
    bool vanishes;
};

class PedalWriteFault : public testing::TestWithParam<WriteFaultCase> {};

TEST_P (PedalWriteFault, WritesStopAtTheLimitWithTheConfiguredError)
{
    const auto& c = GetParam();
    configure (c.options);
    auto out = Stream::output();
    ASSERT_EQ (out.openResult, 0);

    EXPECT_EQ (out.write (sysex (600, 1)), 600);
    EXPECT_EQ (out.write (sysex (600, 2)), 400);     // up to the limit, then the fault
    EXPECT_EQ (out.write (sysex (9, 3)), -c.error);
    EXPECT_EQ (out.write (sysex (9, 3)), -c.error);
    EXPECT_EQ (capturedBytes (1).size(), 1000u);
    EXPECT_TRUE (logHas (std::string ("error 1 write: ") + c.errorText)) << virtual_pedal_log();
    EXPECT_EQ (virtual_pedal_count (1, "error"), 2);

    int card = -1;
    ASSERT_EQ (snd_card_next (&card), 0);
    EXPECT_EQ (card, c.vanishes ? -1 : 0);
    EXPECT_EQ (snd_rawmidi_drain (out.handle), c.vanishes ? -ENODEV : 0);
    EXPECT_EQ (out.close(), c.vanishes ? -ENODEV : 0);
    EXPECT_EQ (Stream::output().openResult, c.vanishes ? -ENODEV : 0);
}

INSTANTIATE_TEST_SUITE_P (Cases, PedalWriteFault, testing::Values (
    WriteFaultCase { "--fail-after 1000", EIO, "Input/output error", false },
    WriteFaultCase { "--unplug-after 1000", ENODEV, "No such device", true }));

TEST (PedalStall, AStalledPortKeepsItsBytesAndDrainGivesUpWithEio)
{
    configure ("--stall --drain-timeout 300");
    auto out = Stream::output();
    ASSERT_EQ (out.openResult, 0);
    ASSERT_EQ (out.write (sysex (100)), 100);

    const auto start = Clock::now();
    EXPECT_EQ (snd_rawmidi_drain (out.handle), -EIO);
    EXPECT_GE (secondsSince (start), 0.25);
    EXPECT_LT (secondsSince (start), 5.0);
    EXPECT_EQ (out.avail(), 3996);

    EXPECT_EQ (out.close(), 0);                  // gives up the same way, and lets go
    EXPECT_LT (secondsSince (start), 10.0);
    EXPECT_EQ (virtual_pedal_captured (1, nullptr, 0), 0);
    EXPECT_TRUE (logHas ("error 1 drain: Input/output error")) << virtual_pedal_log();
    EXPECT_TRUE (logHas ("error 1 close: Input/output error")) << virtual_pedal_log();
    EXPECT_EQ (std::string (virtual_pedal_verdict (1)), "no data");
}

TEST (PedalThreads, OneThreadWritesWhileAnotherQueriesAndListsPorts)
{
    configure ("--rate 200000");
    auto out = Stream::output();
    ASSERT_EQ (out.openResult, 0);
    const auto image = update (20);
    std::atomic<bool> done { false };

    std::thread writer ([&]
    {
        for (size_t at = 0; at < image.size();)
        {
            const size_t n = std::min<size_t> (599, image.size() - at);
            if (snd_rawmidi_write (out.handle, image.data() + at, n) <= 0)
                break;
            at += n;
        }
        snd_rawmidi_drain (out.handle);
        done = true;
    });

    const auto start = Clock::now();
    long lastSeen = 0;
    while (! done && secondsSince (start) < 20.0)
    {
        const long now = virtual_pedal_captured (1, nullptr, 0);
        EXPECT_GE (now, lastSeen);
        lastSeen = now;
        int card = -1;
        EXPECT_EQ (snd_card_next (&card), 0);
        EXPECT_GE (out.avail(), 0);
    }

    writer.join();
    EXPECT_EQ (capturedBytes (1), image);
}

TEST (PedalConfiguration, ReconfiguringClearsCapturesAndKeepsOpenStreamsWorking)
{
    configure ("--port A");
    auto old = Stream::output();
    ASSERT_EQ (old.openResult, 0);
    ASSERT_EQ (old.write (sysex (10)), 10);

    configure ("--port B --port C");
    EXPECT_EQ (virtual_pedal_captured (1, nullptr, 0), 0);
    EXPECT_EQ (std::string (virtual_pedal_log()), "");
    EXPECT_EQ (old.write (sysex (10)), 10);      // the old port, which no one lists any more
    EXPECT_EQ (old.close(), 0);
    EXPECT_EQ (virtual_pedal_captured (1, nullptr, 0), 0);
    EXPECT_EQ (virtual_pedal_captured (3, nullptr, 0), -1);
}

class PedalBadOptions : public testing::TestWithParam<const char*> {};

TEST_P (PedalBadOptions, AreRefusedAndLeaveTheConfigurationAlone)
{
    configure ("--port Kept");
    EXPECT_EQ (virtual_pedal_configure (GetParam()), -1);

    snd_ctl_t* ctl = nullptr;
    ASSERT_EQ (snd_ctl_open (&ctl, "hw:0", 0), 0);
    snd_ctl_card_info_t* info = nullptr;
    ASSERT_EQ (snd_ctl_card_info_malloc (&info), 0);
    ASSERT_EQ (snd_ctl_card_info (ctl, info), 0);
    EXPECT_STREQ (snd_ctl_card_info_get_name (info), "Kept");
    snd_ctl_card_info_free (info);
    snd_ctl_close (ctl);
}

INSTANTIATE_TEST_SUITE_P (Cases, PedalBadOptions, testing::Values (
    "--rate fast", "--rate -5", "--bogus", "--port", "--port ''", "--fault-port 2",
    "--reply F0G7", "--reply F07", "--port 'unterminated", "--stall=yes"));
