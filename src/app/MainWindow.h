#pragma once

#include "lookandfeel/ColouredDocumentWindow.h"

class ContentComp;

/** The program's one main window; its content is the update panel. */
class MainWindow : public ColouredDocumentWindow
{
public:
    explicit MainWindow (const juce::String& commandLine);
    ~MainWindow() override;

    void closeButtonPressed() override;

    /** How long the close button waits for a running upload to stop. */
    static constexpr int closeTimeoutMs = 5000;

    static juce::String buildTitle (const juce::String& productName,
                                    const juce::String& firmwareVersion,
                                    int releaseNumber);

private:
    ContentComp* contentComp = nullptr; // owned by the window's content slot

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MainWindow)
};
