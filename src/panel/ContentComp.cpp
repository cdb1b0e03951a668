#include "panel/ContentComp.h"

#include "firmware/BuiltInFirmwareClass.h"
#include "firmware/FileFirmwareClass.h"
#include "help/TarnHelpWindowClass.h"
#include "midi/MidiInterfaceClass.h"
#include "panel/AutoUpdateMode.h"
#include "panel/CommandLineOptions.h"
#include "transfer/BasicSysexProtocolClass.h"

namespace
{
// BRINDLE_TRACE=1 prints what the panel shows, one line a change, for scripts and tests
// that drive the real program.
const bool tracing = juce::SystemStats::getEnvironmentVariable ("BRINDLE_TRACE", {}) == "1";

void trace (const juce::String& line)
{
    if (tracing)
    {
        std::fputs ((line + "\n").toRawUTF8(), stdout);
        std::fflush (stdout);
    }
}
} // namespace

ContentComp::ContentComp (juce::DocumentWindow*, const juce::String& commandLine)
{
    juce::LookAndFeel::setDefaultLookAndFeel (&lookAndFeel);

    helpWindow = std::make_unique<TarnHelpWindowClass>();
    midiInterface = std::make_unique<MidiInterfaceClass> (true, false);

    firmware = std::make_unique<BuiltInFirmwareClass>();
    firmware->setProductName ("Lantern Reverb");
    protocol = std::make_unique<BasicSysexProtocolClass> (midiInterface.get(), firmware.get());

    const CommandLineOptions options (commandLine);
    autoUpdateMode = options.isAutoUpdate();
    const bool fileLoaded = options.hasFile() && loadFirmwareFile (options.getFileName());

    addAndMakeVisible (midiInterface.get());
    protocol->addChangeListener (this);
    midiInterface->addChangeListener (this);

    infoLabel = std::make_unique<juce::Label> (juce::String(), buildInfoText (*firmware, fileLoaded));
    trace ("info: " + infoLabel->getText());
    addAndMakeVisible (infoLabel.get());
    step1Label = std::make_unique<juce::Label> (juce::String(), "STEP1");
    addAndMakeVisible (step1Label.get());
    step2Label = std::make_unique<juce::Label> (juce::String(), "STEP2");
    addAndMakeVisible (step2Label.get());

    updateButton = std::make_unique<juce::TextButton> ("update", "click here to update the product");
    addAndMakeVisible (updateButton.get());
    updateButton->addListener (this);
    updateButton->setConnectedEdges (juce::Button::ConnectedOnLeft);
    setUpdateButtonLook (midiInterface->isConnected());

    progressBarValue = 0.0;
    progressBar = std::make_unique<juce::ProgressBar> (progressBarValue);
    addAndMakeVisible (progressBar.get());

    progressLabel = std::make_unique<juce::Label> (juce::String(), "Update progress:");
    progressLabel->attachToComponent (progressBar.get(), false);

    helpButton = std::make_unique<juce::TextButton> ("Help", "click here to get help");
    addAndMakeVisible (helpButton.get());
    helpButton->addListener (this);

    if (options.isAutoUpdate())
    {
        midiInterface->selectOutputDevice (options.getOutputId());
        buttonClicked (updateButton.get());
    }
}

ContentComp::~ContentComp()
{
    // The upload uses the port selector and the firmware: stop it before either goes.
    if (protocol != nullptr)
        protocol->stopThread (BasicSysexProtocolClass::stopTimeoutMs);

    // The children first, the selector among them, then what the upload used.
    progressLabel = nullptr;
    progressBar = nullptr;
    updateButton = nullptr;
    helpButton = nullptr;
    infoLabel = nullptr;
    step1Label = nullptr;
    step2Label = nullptr;
    midiInterface = nullptr;
    protocol = nullptr;
    firmware = nullptr;
    helpWindow = nullptr;

    // Nothing may draw through the look-and-feel once it is gone.
    juce::LookAndFeel::setDefaultLookAndFeel (nullptr);
}

juce::String ContentComp::buildInfoText (const FirmwareBaseClass& descriptor, bool fileLoaded)
{
    const auto ProductName = descriptor.getProductName();
    const auto FirmwareVersion = descriptor.getFirmwareVersion();
    juce::String info = "This software updater will update your " + ProductName;

    if (fileLoaded)
        return info + " firmware from the loaded sysex file";

    info << " firmware to version " << FirmwareVersion;

    if (descriptor.getReleaseNumber() != 0)
        info << " - R" << descriptor.getReleaseNumber();

    return info;
}

bool ContentComp::loadFirmwareFile (const juce::String& fileName)
{
    auto loaded = std::make_unique<FileFirmwareClass> (fileName);

    if (loaded->getImageData() == nullptr)
        return false;

    // The upload points at the descriptor: replace both, the upload first.
    protocol = nullptr;
    firmware = std::move (loaded);
    protocol = std::make_unique<BasicSysexProtocolClass> (midiInterface.get(), firmware.get());
    return true;
}

void ContentComp::stopUpload (int timeoutMs)
{
    if (protocol != nullptr)
    {
        protocol->signalThreadShouldExit();
        protocol->waitForThreadToExit (timeoutMs);
    }
}

void ContentComp::setUpdateButtonLook (bool ready)
{
    const auto colour = juce::Colour (ready ? juce::Colours::green : juce::Colours::red).brighter (0.99f);
    updateButton->setColour (juce::TextButton::buttonColourId, colour);
    updateButton->setColour (juce::TextButton::buttonOnColourId, colour);
    updateButton->setEnabled (ready);
    trace ("update button: " + juce::String (ready ? "ready" : "not ready"));
}

void ContentComp::resized()
{
    const auto w = getWidth();

    infoLabel->setBounds (10, 15, w - 20, 50);
    helpButton->setBounds (w - 104, 2, 94, 30);
    step1Label->setBounds (10, infoLabel->getBottom() + 5, w - 20, 30);
    midiInterface->setBounds (10, step1Label->getBottom() + 5, w - 20, midiInterface->getPreferredHeight());
    step2Label->setBounds (10, midiInterface->getBottom() + 10, w - 20, 30);
    updateButton->setBounds (w - 104, step2Label->getBottom() + 20, 94, 30);
    progressBar->setBounds (10, step2Label->getBottom() + 20, w - 114, 30);

    // The attached caption stands on the bar's top edge, 8 pixels taller than its font
    // (the framework's own placement rounds it one pixel taller).
    const auto captionHeight = juce::roundToInt (progressLabel->getFont().getHeight()) + 8;
    progressLabel->setBounds (progressBar->getX(), progressBar->getY() - captionHeight, progressBar->getWidth(), captionHeight);

    helpWindow->centreWithSize (TarnHelpWindowClass::windowWidth, TarnHelpWindowClass::windowHeight);
}

void ContentComp::buttonClicked (juce::Button* button)
{
    if (button == updateButton.get())
    {
        if (midiInterface->isConnected())
        {
            progressBarValue = 0.0;
            protocol->startUpdate();
            updateButton->setEnabled (false);
            trace ("update started");
        }
        else
        {
            trace ("warning: " + juce::String (noOutputWarning));
            juce::AlertWindow::showMessageBox (juce::MessageBoxIconType::WarningIcon, {}, noOutputWarning);
        }
    }
    else if (button == helpButton.get())
    {
        helpWindow->setVisible (! helpWindow->isVisible());
        helpWindow->centreWithSize (TarnHelpWindowClass::windowWidth, TarnHelpWindowClass::windowHeight);
    }
}

void ContentComp::changeListenerCallback (juce::ChangeBroadcaster* source)
{
    if (source == midiInterface.get())
    {
        // A failed upload leaves the bar where it stopped; it is not under way any more.
        const bool uploading = progressBarValue != 0.0 && progressBarValue != 1.0
                               && protocol->getOutcome() == BasicSysexProtocolClass::Outcome::uploading;

        if (! uploading)
            midiInterface->setEnabled (true);
        else if (midiInterface->isEnabled())
            midiInterface->setEnabled (false);

        setUpdateButtonLook (midiInterface->isConnected());
    }
    else if (protocol != nullptr && source == protocol.get())
    {
        followProtocol (*protocol);
    }

    repaint();
}

void ContentComp::followProtocol (BasicSysexProtocolClass& source)
{
    const auto previousValue = progressBarValue;
    progressBarValue = source.getProgress();

    if (progressBarValue == 1.0)
    {
        if (previousValue != 1.0)
            trace ("progress: 100%");

        updateButton->setEnabled (true);
        midiInterface->setEnabled (true);
    }
    else if (source.getOutcome() == BasicSysexProtocolClass::Outcome::failed)
    {
        // The upload stopped short: let the user pick a port and try again.
        midiInterface->setEnabled (true);
        setUpdateButtonLook (midiInterface->isConnected());
    }

    const auto caption = "Update progress: " + source.getStatusText();

    if (caption != progressLabel->getText())
        trace ("caption: " + caption);

    progressLabel->setText (caption, juce::dontSendNotification);

    // A failure's reason is often longer than the caption can show: hovering shows all of it.
    progressLabel->setTooltip (source.getOutcome() == BasicSysexProtocolClass::Outcome::failed ? caption : juce::String());
}
