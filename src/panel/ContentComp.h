#pragma once

#include "lookandfeel/TemplateLookAndFeel.h"

#include <juce_gui_basics/juce_gui_basics.h>

class TarnHelpWindowClass;
class MidiInterfaceClass;
class BasicSysexProtocolClass;
class FirmwareBaseClass;

/** The update panel: the main window's content and the program's hub. It creates every
    other object, drives an update from a click or from the command line and follows it.

    Threads: progressBarValue is written on the message thread and, under the
    message-manager lock, by the upload thread's progress reports.
*/
class ContentComp : public juce::Component,
                    public juce::Button::Listener,
                    public juce::ChangeListener
{
public:
    ContentComp (juce::DocumentWindow* ownerWindow, const juce::String& commandLine);
    ~ContentComp() override;

    void resized() override;
    void buttonClicked (juce::Button* button) override;
    void changeListenerCallback (juce::ChangeBroadcaster* source) override;

    /** Replaces the firmware (and the upload bound to it) with the file's; false, with the
        built-in firmware kept, when the file is missing, empty or unreadable. */
    bool loadFirmwareFile (const juce::String& fileName);

    FirmwareBaseClass* getFirmware() const noexcept { return firmware.get(); }
    BasicSysexProtocolClass* getProtocol() const noexcept { return protocol.get(); }

    /** Asks a running upload to stop and waits up to timeoutMs for it. */
    void stopUpload (int timeoutMs);

    static juce::String buildInfoText (const FirmwareBaseClass& firmware, bool fileLoaded);

    static constexpr juce::uint32 readyColour = 0xff7ebf7e;
    static constexpr juce::uint32 notReadyColour = 0xffff7e7e;
    static constexpr const char* noOutputWarning = "Please select an output device:";

private:
    void setUpdateButtonLook (bool ready);
    void followProtocol (BasicSysexProtocolClass& source);

    std::unique_ptr<TarnHelpWindowClass> helpWindow;
    std::unique_ptr<MidiInterfaceClass> midiInterface;
    std::unique_ptr<BasicSysexProtocolClass> protocol;
    std::unique_ptr<juce::TextButton> updateButton;
    std::unique_ptr<juce::ProgressBar> progressBar;
    std::unique_ptr<juce::Label> progressLabel;
    double progressBarValue = 0.0;
    std::unique_ptr<juce::TextButton> helpButton;
    std::unique_ptr<juce::Label> infoLabel;
    std::unique_ptr<juce::Label> step1Label;
    std::unique_ptr<juce::Label> step2Label;
    std::unique_ptr<FirmwareBaseClass> firmware;
    TemplateLookAndFeel lookAndFeel;
    juce::TooltipWindow tooltipWindow { nullptr, 700 };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ContentComp)
};
