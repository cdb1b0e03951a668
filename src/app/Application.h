#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

class MainWindow;
class XInputQueueWatcher;

/** The application object: single instance, owns the main window, quits for everyone. */
class Application : public juce::JUCEApplication
{
public:
    Application();
    ~Application() override;

    const juce::String getApplicationName() override;
    const juce::String getApplicationVersion() override;
    bool moreThanOneInstanceAllowed() override;

    void initialise (const juce::String& commandLine) override;
    void shutdown() override;
    void anotherInstanceStarted (const juce::String& commandLine) override;

    static constexpr int windowWidth = 650;
    static constexpr int windowHeight = 400;

private:
    std::unique_ptr<MainWindow> mainWindow;
    std::unique_ptr<XInputQueueWatcher> inputQueueWatcher;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Application)
};
