#include "app/MainWindow.h"
#include "firmware/BuiltInFirmwareClass.h"
#include "panel/ContentComp.h"
#include "support/BytesFirmware.h"

#include <gtest/gtest.h>

TEST (TitleAndInfoText, FollowTheFirmwareInUse)
{
    BuiltInFirmwareClass builtIn;
    builtIn.setProductName ("Lantern Reverb");

    struct NoRelease : FirmwareBaseClass
    {
        NoRelease() : FirmwareBaseClass ("Lantern Reverb", "1.2.00", 0) {}
    } noRelease;

    struct FromFile : FirmwareBaseClass
    {
        FromFile() : FirmwareBaseClass ("Pedal", "", 0) {}
    } fromFile;

    const struct
    {
        const FirmwareBaseClass& firmware;
        bool fileLoaded;
        const char* title;
        const char* info;
    } cases[] = {
        { builtIn, false, "Lantern Reverb version 1.1.00 - R1861",
          "This software updater will update your Lantern Reverb firmware to version 1.1.00 - R1861" },
        { noRelease, false, "Lantern Reverb version 1.2.00",
          "This software updater will update your Lantern Reverb firmware to version 1.2.00" },
        { fromFile, true, "Pedal version ",
          "This software updater will update your Pedal firmware from the loaded sysex file" },
    };

    for (const auto& c : cases)
    {
        EXPECT_EQ (MainWindow::buildTitle (c.firmware.getProductName(), c.firmware.getFirmwareVersion(),
                                           c.firmware.getReleaseNumber()),
                   c.title);
        EXPECT_EQ (ContentComp::buildInfoText (c.firmware, c.fileLoaded), c.info);
    }
}

TEST (TitleAndInfoText, UpdateButtonColoursAreGreenAndRedBrightened)
{
    EXPECT_EQ (juce::Colour (juce::Colours::green).brighter (0.99f).getARGB(), ContentComp::readyColour);
    EXPECT_EQ (juce::Colour (juce::Colours::red).brighter (0.99f).getARGB(), ContentComp::notReadyColour);
    EXPECT_EQ (ContentComp::readyColour, 0xff7ebf7eu);
    EXPECT_EQ (ContentComp::notReadyColour, 0xffff7e7eu);
}
