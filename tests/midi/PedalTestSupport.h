// Small helpers for the MIDI tests, which run against the virtual pedal linked in.
#pragma once

#include <VirtualPedalControl.h>

#include <gtest/gtest.h>
#include <juce_events/juce_events.h>

#include <functional>
#include <string>
#include <vector>

namespace pedal
{
/** Configures the virtual pedal; construct MidiInterfaceClass after this. */
inline void configure (const std::string& options)
{
    ASSERT_EQ (virtual_pedal_configure (options.c_str()), 0) << options;
}

inline std::vector<juce::uint8> captured (int port)
{
    const auto size = virtual_pedal_captured (port, nullptr, 0);
    std::vector<juce::uint8> bytes ((size_t) juce::jmax (0L, size));

    if (size > 0)
        virtual_pedal_captured (port, bytes.data(), size);

    return bytes;
}

inline int count (int port, const char* event)
{
    return virtual_pedal_count (port, event);
}

inline std::string log()
{
    return virtual_pedal_log();
}

inline std::string verdict (int port)
{
    return virtual_pedal_verdict (port);
}

inline void sendToHost (int port, const std::vector<juce::uint8>& bytes)
{
    ASSERT_EQ (virtual_pedal_send_to_host (port, bytes.data(), (long) bytes.size()), 0);
}

/** Runs the message loop until done() or the time limit; returns done(). */
inline bool pumpUntil (const std::function<bool()>& done, int timeoutMs = 5000)
{
    const auto end = juce::Time::getMillisecondCounter() + (juce::uint32) timeoutMs;

    while (! done())
    {
        if (juce::Time::getMillisecondCounter() >= end)
            return false;

        juce::MessageManager::getInstance()->runDispatchLoopUntil (5);
    }

    return true;
}

inline void pump (int milliseconds)
{
    juce::MessageManager::getInstance()->runDispatchLoopUntil (milliseconds);
}

/** A SysEx message of this length: F0, 7-bit data counting up from seed, F7. */
inline std::vector<juce::uint8> sysex (int length, int seed = 0)
{
    std::vector<juce::uint8> bytes ((size_t) length);
    bytes.front() = 0xf0;

    for (int i = 1; i < length - 1; ++i)
        bytes[(size_t) i] = (juce::uint8) ((seed + i) & 0x7f);

    bytes.back() = 0xf7;
    return bytes;
}

/** Counts the change messages a broadcaster delivers. */
class ChangeCounter : public juce::ChangeListener
{
public:
    void changeListenerCallback (juce::ChangeBroadcaster*) override { ++count; }
    int count = 0;
};

/** A juce::Thread that runs one job, so that the job can be asked to exit. */
class JobThread : public juce::Thread
{
public:
    explicit JobThread (std::function<void()> jobToRun)
        : juce::Thread ("MIDI Test Sender"), job (std::move (jobToRun)) {}

    ~JobThread() override { stopThread (10000); }

    void run() override { job(); }

private:
    std::function<void()> job;
};
} // namespace pedal
