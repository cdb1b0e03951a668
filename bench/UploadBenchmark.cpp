// Upload speed against the wire, against amidi, and the upload loop's own cost.
//
//   brindle_bench [--full] [benchmark options]
//
// Without --full the wire-rate case sends a prefix of the image and the amidi comparison
// runs two rounds; --full sends the whole image (about 93 s at 3,125 bytes/s) and five rounds.

#include "firmware/BuiltInFirmwareClass.h"
#include "firmware/SysexImage.h"
#include "midi/MidiInterfaceClass.h"
#include "transfer/BasicSysexProtocolClass.h"

#include "VirtualPedalControl.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <vector>

namespace juce
{
// The message loop's own step, as the program's runDispatchLoop takes it: waits for the next
// message and dispatches it.
bool dispatchNextMessageOnSystemQueue (bool returnIfNoPendingMessages);
} // namespace juce

namespace
{
bool fullRun = false;

using Clock = std::chrono::steady_clock;

double secondsSince (Clock::time_point start)
{
    return std::chrono::duration<double> (Clock::now() - start).count();
}

/** The first messages of the built-in image, or all of it. */
class ImagePrefix : public FirmwareBaseClass
{
public:
    explicit ImagePrefix (int numMessages) : FirmwareBaseClass ("Bench", "", 0)
    {
        const auto messages = SysexImage::splitMessages (builtIn.getImageData(), builtIn.getImageSize());
        const auto count = juce::jlimit (1, messages.size(), numMessages);
        imageData = builtIn.getImageData();
        imageSize = messages[count - 1].getEnd();
    }

private:
    BuiltInFirmwareClass builtIn;
};

/** Keeps the message loop waking while an upload ends, when no other message may come. */
struct Heartbeat : juce::Timer
{
    Heartbeat() { startTimer (5); }
    ~Heartbeat() override { stopTimer(); }
    void timerCallback() override {}
};

/** Runs one upload with the message loop waiting for messages as the program's does
    (runDispatchLoopUntil would sleep a millisecond whenever the queue is empty). */
void runUpload (BasicSysexProtocolClass& protocol)
{
    const Heartbeat heartbeat;
    protocol.startUpdate();

    while (protocol.isThreadRunning())
        juce::dispatchNextMessageOnSystemQueue (false);
}

/** Uploads through the real selector to the virtual pedal; returns seconds taken. */
double uploadToPedal (const FirmwareBaseClass& firmware, const char* pedalOptions)
{
    if (virtual_pedal_configure (pedalOptions) != 0)
        return -1.0;

    MidiInterfaceClass midi (true, false);
    midi.selectOutputDevice (1);
    BasicSysexProtocolClass protocol (&midi, const_cast<FirmwareBaseClass*> (&firmware));

    const auto start = Clock::now();
    runUpload (protocol);
    const auto elapsed = secondsSince (start);

    return protocol.getOutcome() == BasicSysexProtocolClass::Outcome::completed ? elapsed : -1.0;
}

double amidiSend (const juce::File& image, int rate)
{
    const auto command = juce::String (BRINDLE_SOURCE_DIR) + "/tools/virtual-pedal --port Bench --rate "
                         + juce::String (rate) + " -- amidi -p hw:0,0,0 -s " + image.getFullPathName().quoted();
    const auto start = Clock::now();
    const auto status = std::system ((juce::String ("BRINDLE_VIRTUAL_PEDAL_LIB=") + BRINDLE_VIRTUAL_PEDAL_LIB + " " + command).toRawUTF8());
    return status == 0 ? secondsSince (start) : -1.0;
}

void UploadAtDinWireRate (benchmark::State& state)
{
    const ImagePrefix firmware (fullRun ? 487 : 16);
    const auto wireSeconds = firmware.getImageSize() / 3125.0;

    for (auto _ : state)
    {
        const auto seconds = uploadToPedal (firmware, "--port Bench --rate 3125");
        if (seconds < 0)
            state.SkipWithError ("the upload did not complete");
        state.SetIterationTime (seconds);
        state.counters["bytes"] = firmware.getImageSize();
        state.counters["wire_s"] = wireSeconds;
        state.counters["ratio_to_wire"] = seconds / wireSeconds;
    }
}

void UploadAgainstAmidi (benchmark::State& state)
{
    const BuiltInFirmwareClass firmware;
    const juce::File image (BRINDLE_FIRMWARE_FILE);
    const int rounds = fullRun ? 5 : 2;

    for (auto _ : state)
    {
        std::vector<double> brindle, amidi;

        for (int round = 0; round < rounds; ++round)
        {
            brindle.push_back (uploadToPedal (firmware, "--port Bench --rate 100000"));
            amidi.push_back (amidiSend (image, 100000));
        }

        std::sort (brindle.begin(), brindle.end());
        std::sort (amidi.begin(), amidi.end());
        const auto brindleMedian = brindle[brindle.size() / 2];
        const auto amidiMedian = amidi[amidi.size() / 2];

        if (brindle.front() < 0 || amidi.front() < 0)
            state.SkipWithError ("an upload failed");

        state.SetIterationTime (brindleMedian);
        state.counters["brindle_s"] = brindleMedian;
        state.counters["amidi_s"] = amidiMedian;
        state.counters["ratio_to_amidi"] = brindleMedian / amidiMedian;
    }
}

/** A device that takes every message at once and notes when each send began and ended. */
class TimingDevice : public InterfaceBaseClass
{
public:
    void resized() override {}
    int readBytes (juce::uint8*, juce::uint32) override { return 0; }
    bool isConnected() override { return true; }
    int getPreferredHeight() override { return 0; }
    void selectOutputDevice (int) override {}
    void selectInputDevice (int) override {}

    juce::Result sendBytes (const juce::uint8*, int) override
    {
        const auto now = Clock::now();
        if (sends > 0)
            gaps.push_back (std::chrono::duration<double, std::micro> (now - lastEnd).count());
        ++sends;
        lastEnd = Clock::now();
        return juce::Result::ok();
    }

    std::vector<double> gaps;
    int sends = 0;
    Clock::time_point lastEnd;
};

/** Counts the progress reports (a new value); status-text reports leave the value alone. */
struct NotificationCounter : juce::ChangeListener
{
    void changeListenerCallback (juce::ChangeBroadcaster* source) override
    {
        const auto progress = static_cast<ProgressClass*> (source)->getProgress();
        if (progress != last)
            ++count;
        last = progress;
    }

    double last = 0.0;
    int count = 0;
};

void UploadLoopOverheadPerMessage (benchmark::State& state)
{
    BuiltInFirmwareClass firmware;
    std::vector<double> gaps;
    int notifications = 0;

    for (auto _ : state)
    {
        TimingDevice device;
        BasicSysexProtocolClass protocol (&device, &firmware);
        NotificationCounter counter;
        protocol.addChangeListener (&counter);

        runUpload (protocol);
        juce::MessageManager::getInstance()->runDispatchLoopUntil (5);
        protocol.removeChangeListener (&counter);

        notifications = counter.count;
        gaps.insert (gaps.end(), device.gaps.begin(), device.gaps.end());
    }

    std::sort (gaps.begin(), gaps.end());
    state.counters["median_us"] = gaps[gaps.size() / 2];
    state.counters["p99_us"] = gaps[(gaps.size() * 99) / 100];
    state.counters["progress_notifications"] = notifications;
}
} // namespace

BENCHMARK (UploadAtDinWireRate)->Iterations (1)->UseManualTime()->Unit (benchmark::kSecond);
BENCHMARK (UploadAgainstAmidi)->Iterations (1)->UseManualTime()->Unit (benchmark::kSecond);
BENCHMARK (UploadLoopOverheadPerMessage)->Iterations (20)->Unit (benchmark::kMillisecond);

int main (int argc, char** argv)
{
    std::vector<char*> args;
    for (int i = 0; i < argc; ++i)
    {
        if (juce::String (argv[i]) == "--full")
            fullRun = true;
        else
            args.push_back (argv[i]);
    }

    int count = (int) args.size();
    juce::ScopedJuceInitialiser_GUI juce;
    benchmark::Initialize (&count, args.data());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
