#include "support/AppProcess.h"
#include "support/XDisplay.h"

#include <gtest/gtest.h>

namespace
{
const juce::String mainTitle = "Lantern Reverb version 1.1.00 - R1861";
const juce::String mainTitlePattern = "^Lantern Reverb version";

/** The main window's close button, from the window's top-left corner: a 26-pixel title bar
    inside a 4-pixel border, buttons 23 wide, the close button a quarter button in from the right. */
juce::Point<int> closeButtonCentre (juce::Rectangle<int> window)
{
    const int buttonW = 26 - 26 / 8;
    const int x = 4 + (window.getWidth() - 8) - buttonW - buttonW / 4;
    return window.getPosition() + juce::Point<int> (x + buttonW / 2, 4 + 13);
}

class AppWindowTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE (XDisplay::waitForNoWindow (mainTitlePattern, 5000)) << "a window is left over"; }
};
} // namespace

TEST_F (AppWindowTest, OpensOneFixedCentredWindowTitledAfterTheBuiltInFirmware)
{
    AppProcess app (juce::StringArray { BrindleCommands::app() });
    const auto window = XDisplay::waitForWindow (mainTitlePattern);
    ASSERT_TRUE (window.has_value()) << app.readLog();

    EXPECT_EQ (XDisplay::findWindows (mainTitlePattern).size(), 1);
    EXPECT_EQ (XDisplay::getTitle (*window), mainTitle);

    const auto bounds = XDisplay::getGeometry (*window);
    const auto screen = XDisplay::getScreenSize();
    EXPECT_EQ (bounds.getWidth(), 650);
    EXPECT_EQ (bounds.getHeight(), 400);
    EXPECT_NEAR (bounds.getCentreX(), screen.getCentreX(), 1);
    EXPECT_NEAR (bounds.getCentreY(), screen.getCentreY(), 1);

    // Pixels the look fixes: the window background, the top of the title bar, the progress frame.
    const auto shot = XDisplay::screenshot (*window, XDisplay::artefacts ("app").getChildFile ("main-window.png"));
    ASSERT_TRUE (shot.isValid());
    const struct
    {
        const char* what;
        juce::Point<int> at;
        juce::uint32 colour;
        int tolerance;
    } probes[] = {
        { "background", { 300, 360 }, 0xffeff2f3, 0 },
        { "title bar top", { 100, 4 }, 0xff3273a1, 6 },
        { "progress frame", { 14, 260 }, 0xffcbcbcb, 0 },
    };
    for (const auto& probe : probes)
    {
        const auto actual = shot.getPixelAt (probe.at.x, probe.at.y);
        const auto expected = juce::Colour (probe.colour);
        EXPECT_NEAR (actual.getRed(), expected.getRed(), probe.tolerance) << probe.what;
        EXPECT_NEAR (actual.getGreen(), expected.getGreen(), probe.tolerance) << probe.what;
        EXPECT_NEAR (actual.getBlue(), expected.getBlue(), probe.tolerance) << probe.what;
    }

    // Drag the right border and the bottom-right corner outwards and inwards.
    XDisplay::drag ({ bounds.getRight() - 2, bounds.getCentreY() }, { bounds.getRight() + 120, bounds.getCentreY() });
    XDisplay::drag ({ bounds.getRight() - 2, bounds.getBottom() - 2 }, { bounds.getRight() - 200, bounds.getBottom() - 150 });
    const auto afterDrag = XDisplay::getGeometry (*window);
    EXPECT_EQ (afterDrag.getWidth(), 650);
    EXPECT_EQ (afterDrag.getHeight(), 400);

    XDisplay::click (closeButtonCentre (afterDrag));
    const auto status = app.waitForExit (5000);
    ASSERT_TRUE (status.has_value()) << "the close button did not end the program";
    EXPECT_EQ (*status, 0);
    EXPECT_TRUE (XDisplay::waitForNoWindow (mainTitlePattern, 2000));
}

TEST_F (AppWindowTest, ASecondStartExitsAtOnceAndLeavesTheFirstAlone)
{
    AppProcess first (juce::StringArray { BrindleCommands::app() });
    const auto window = XDisplay::waitForWindow (mainTitlePattern);
    ASSERT_TRUE (window.has_value()) << first.readLog();

    const auto missing = juce::File::createTempFile (".syx").getFullPathName();
    AppProcess second (juce::StringArray { BrindleCommands::app(), "--autoupdate", "--file", missing });
    const auto status = second.waitForExit (2000);
    ASSERT_TRUE (status.has_value()) << "the second start did not exit within 2 s";
    EXPECT_EQ (*status, 0);

    juce::Thread::sleep (300);
    EXPECT_EQ (XDisplay::findWindows (".").size(), 1) << "no box, no second window";
    EXPECT_TRUE (first.isRunning());
    EXPECT_EQ (XDisplay::getTitle (*window), mainTitle);

    XDisplay::click (closeButtonCentre (XDisplay::getGeometry (*window)));
    EXPECT_EQ (first.waitForExit (5000), std::optional<int> (0));
}

TEST_F (AppWindowTest, AnArgumentWithBlanksReachesTheOptionsAsOnePath)
{
    // The shell passes the path as one word; the runner quotes it, the options unquote it.
    const juce::TemporaryFile folder;
    const auto dir = folder.getFile().getChildFile ("my firmware");
    ASSERT_TRUE (dir.createDirectory());
    const auto file = dir.getChildFile ("Pedal Two.syx");
    const juce::uint8 message[] = { 0xf0, 0x01, 0xf7 };
    ASSERT_TRUE (file.replaceWithData (message, sizeof (message)));

    for (const auto& arguments : { juce::StringArray { "--file", file.getFullPathName() },
                                   juce::StringArray::fromTokens ("--file " + file.getFullPathName(), " ", {}) })
    {
        juce::StringArray command { BrindleCommands::app() };
        command.addArray (arguments);
        AppProcess app (command);

        const auto window = XDisplay::waitForWindow ("^Pedal Two version");
        ASSERT_TRUE (window.has_value()) << arguments.joinIntoString (" | ") << "\n" << app.readLog();
        EXPECT_EQ (XDisplay::getTitle (*window), "Pedal Two version ");

        XDisplay::click (closeButtonCentre (XDisplay::getGeometry (*window)));
        EXPECT_EQ (app.waitForExit (5000), std::optional<int> (0));
    }

    dir.deleteRecursively();
}
