#pragma once

#include <juce_core/juce_core.h>

#include <optional>

/** A program started by a test, its output going to a log file. Killed if still running
    when the object goes. */
class AppProcess
{
public:
    AppProcess (const juce::StringArray& arguments,
                const juce::StringPairArray& extraEnvironment = {},
                const juce::File& logFile = {});
    ~AppProcess();

    bool isRunning();
    /** The exit status, or nothing if the program is still running after timeoutMs. */
    std::optional<int> waitForExit (int timeoutMs);
    void kill();
    int getPid() const noexcept { return pid; }
    juce::String readLog() const;

    /** Waits until the program's output holds the text; false if it does not in time. */
    bool waitForOutput (const juce::String& text, int timeoutMs = 10000) const;

private:
    int pid = -1;
    std::optional<int> exitStatus;
    juce::File log;
};

/** The built Brindle program and the virtual pedal wrapper, as the tests run them. */
struct BrindleCommands
{
    static juce::String app();
    static juce::String virtualPedal();

    /** virtual-pedal PEDAL_OPTIONS -- Brindle APP_ARGUMENTS */
    static juce::StringArray underPedal (const juce::StringArray& pedalOptions,
                                         const juce::StringArray& appArguments);
};
