#include "app/MainWindow.h"

#include "app/AppIcon.h"

#include "firmware/FirmwareBaseClass.h"
#include "panel/ContentComp.h"
#include "transfer/BasicSysexProtocolClass.h"

MainWindow::MainWindow (const juce::String& commandLine)
    : ColouredDocumentWindow ({},
                              juce::Colour (ColouredDocumentWindow::backgroundColourValue),
                              juce::Colour (ColouredDocumentWindow::titleBarColourValue),
                              juce::DocumentWindow::allButtons,
                              true)
{
    contentComp = new ContentComp (this, commandLine);
    setResizable (true, false);
    setContentOwned (contentComp, false);

    const auto* firmware = contentComp->getFirmware();
    setName (buildTitle (firmware->getProductName(), firmware->getFirmwareVersion(), firmware->getReleaseNumber()));
    setVisible (true);
    AppIcon::applyTo (*this);
}

MainWindow::~MainWindow()
{
    // The panel owns the look-and-feel the frame draws with: let it go while the frame is whole.
    clearContentComponent();
}

juce::String MainWindow::buildTitle (const juce::String& productName,
                                     const juce::String& firmwareVersion,
                                     int releaseNumber)
{
    auto strName = productName + " version " + firmwareVersion;

    if (releaseNumber != 0)
        strName << " - R" << releaseNumber;

    return strName;
}

void MainWindow::closeButtonPressed()
{
    if (contentComp != nullptr)
        contentComp->stopUpload (closeTimeoutMs);

    juce::JUCEApplication::getInstance()->systemRequestedQuit();
}
