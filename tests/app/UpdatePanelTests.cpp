#include "firmware/BuiltInFirmwareClass.h"
#include "support/AppProcess.h"
#include "support/MessageLoop.h"
#include "support/XDisplay.h"

#include <gtest/gtest.h>

namespace
{
const juce::String mainTitlePattern = "^Lantern Reverb version|version $";

/** Where the panel's widgets are on the screen, from the window's outer bounds: the panel
    sits inside a 4-pixel border below the 26-pixel title bar. */
struct PanelLayout
{
    explicit PanelLayout (juce::Rectangle<int> window) : origin (window.getPosition() + juce::Point<int> (4, 30)), bounds (window) {}

    juce::Point<int> at (int x, int y) const { return origin + juce::Point<int> (x, y); }
    juce::Point<int> updateButton() const { return at (585, 230); }
    juce::Point<int> helpButton() const { return at (585, 17); }
    juce::Point<int> selector() const { return at (321, 140); }
    juce::Point<int> closeButton() const { return bounds.getPosition() + juce::Point<int> (629, 17); }

    juce::Point<int> origin;
    juce::Rectangle<int> bounds;
};

/** A run of the real program under the virtual pedal, with the pedal's capture folder. */
struct PedalRun
{
    PedalRun (const juce::StringArray& pedalOptions, const juce::StringArray& appArguments)
        : capture (juce::File::createTempFile ("capture"))
    {
        capture.createDirectory();
        juce::StringArray options (pedalOptions);
        options.addArray ({ "--capture", capture.getFullPathName() });
        app = std::make_unique<AppProcess> (BrindleCommands::underPedal (options, appArguments), environment());
    }

    ~PedalRun()
    {
        app = nullptr;
        capture.deleteRecursively();
    }

    static juce::StringPairArray environment()
    {
        juce::StringPairArray env;
        env.set ("BRINDLE_TRACE", "1");
        env.set ("BRINDLE_VIRTUAL_PEDAL_LIB", BRINDLE_VIRTUAL_PEDAL_LIB);
        return env;
    }

    juce::MemoryBlock received (int port) const
    {
        juce::MemoryBlock block;
        capture.getChildFile ("port" + juce::String (port) + ".syx").loadFileAsData (block);
        return block;
    }

    juce::String report() const { return capture.getChildFile ("report.txt").loadFileAsString(); }

    juce::File capture;
    std::unique_ptr<AppProcess> app;
};

juce::MemoryBlock builtInImage()
{
    const BuiltInFirmwareClass firmware;
    return { firmware.getImageData(), (size_t) firmware.getImageSize() };
}

juce::Colour pixel (const juce::Image& shot, juce::Point<int> screenPoint, juce::Rectangle<int> window)
{
    return shot.getPixelAt (screenPoint.x - window.getX(), screenPoint.y - window.getY());
}

bool looksRed (juce::Colour c) { return c.getRed() - c.getGreen() > 30; }
bool looksGreen (juce::Colour c) { return c.getGreen() - c.getRed() > 30; }

/** Opens the selector's list with the mouse, clicks its first or last item, and waits for
    the program to report the expected button state. */
bool chooseInList (const AppProcess& app, const juce::String& window, const PanelLayout& panel, bool last, const juce::String& expected)
{
    const auto mark = app.readLog().length();
    XDisplay::click (panel.selector());

    if (last)
        XDisplay::pickLastPopupItem (window);
    else
        XDisplay::pickFirstPopupItem (window);

    return pollUntil ([&] { return app.readLog().substring (mark).contains (expected); }, 5000);
}

juce::File artefact (const juce::String& name)
{
    return XDisplay::artefacts ("panel").getChildFile (name);
}

class UpdatePanelTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE (XDisplay::waitForNoWindow (mainTitlePattern, 5000)) << "a window is left over"; }
};
} // namespace

TEST_F (UpdatePanelTest, AClickDrivenUpdateSendsTheImageToTheChosenPortOnly)
{
    PedalRun run ({ "--port", "Pedal A", "--port", "Lantern Reverb MIDI 1", "--rate", "100000" }, {});
    const auto window = XDisplay::waitForWindow (mainTitlePattern);
    ASSERT_TRUE (window.has_value()) << run.app->readLog();
    const auto bounds = XDisplay::getGeometry (*window);
    const PanelLayout panel (bounds);

    ASSERT_TRUE (run.app->waitForOutput ("update button: not ready"));
    auto shot = XDisplay::screenshot (*window, artefact ("before-update.png"));
    EXPECT_TRUE (looksRed (pixel (shot, panel.updateButton(), bounds)));

    // Port 2 with the mouse: open the list, pick its last item.
    ASSERT_TRUE (chooseInList (*run.app, *window, panel, true, "update button: ready")) << run.app->readLog();
    shot = XDisplay::screenshot (*window, artefact ("port-chosen.png"));
    EXPECT_TRUE (looksGreen (pixel (shot, panel.updateButton(), bounds)));

    XDisplay::click (panel.updateButton());
    ASSERT_TRUE (run.app->waitForOutput ("caption: Update progress: Uploading firmware")) << run.app->readLog();
    XDisplay::screenshot (*window, artefact ("during-update.png"));
    ASSERT_TRUE (run.app->waitForOutput ("caption: Update progress: Update completed", 20000)) << run.app->readLog();
    EXPECT_TRUE (run.app->readLog().contains ("progress: 100%"));
    XDisplay::screenshot (*window, artefact ("after-update.png"));

    // The controls are usable again: a second click sends the whole image again.
    const auto firstRun = run.app->readLog().length();
    XDisplay::click (panel.updateButton());
    EXPECT_TRUE (pollUntil ([&] { return run.app->readLog().substring (firstRun).contains ("caption: Update progress: Update completed"); }, 20000))
        << run.app->readLog();

    // "(Disconnected)" turns the button red again.
    EXPECT_TRUE (chooseInList (*run.app, *window, panel, false, "update button: not ready")) << run.app->readLog();

    ASSERT_TRUE (XDisplay::waitForNoWindow ("^menu$", 5000));
    XDisplay::click (panel.closeButton());
    ASSERT_EQ (run.app->waitForExit (5000), std::optional<int> (0)) << run.app->readLog();

    const auto image = builtInImage();
    auto twice = image;
    twice.append (image.getData(), image.getSize());
    EXPECT_TRUE (run.received (2) == twice) << run.report();
    EXPECT_EQ (run.received (1).getSize(), 0u) << run.report();
}

TEST_F (UpdatePanelTest, ThePortCanBeChosenWithTheKeyboard)
{
    PedalRun run ({ "--port", "Pedal A", "--port", "Pedal B" }, {});
    const auto window = XDisplay::waitForWindow (mainTitlePattern);
    ASSERT_TRUE (window.has_value()) << run.app->readLog();
    const PanelLayout panel (XDisplay::getGeometry (*window));

    // Focus the selector with a click, close its list, then step down to the second port.
    XDisplay::click (panel.selector());
    XDisplay::keys ({}, "Escape");
    XDisplay::keys ({}, "Down Down");
    ASSERT_TRUE (run.app->waitForOutput ("update button: ready")) << run.app->readLog();

    XDisplay::click (panel.updateButton());
    ASSERT_TRUE (run.app->waitForOutput ("caption: Update progress: Update completed", 20000)) << run.app->readLog();
    XDisplay::click (panel.closeButton());
    ASSERT_EQ (run.app->waitForExit (5000), std::optional<int> (0)) << run.app->readLog();

    EXPECT_TRUE (run.received (2) == builtInImage()) << run.report();
    EXPECT_EQ (run.received (1).getSize(), 0u);
}

TEST_F (UpdatePanelTest, AScriptedUpdateSendsTheFileToTheGivenPortAndQuits)
{
    // A file of our own whose messages are not the built-in layout.
    juce::MemoryBlock fixture;
    for (int i = 0; i < 40; ++i)
    {
        const juce::uint8 head[] = { 0xf0, 0x7d, (juce::uint8) i };
        fixture.append (head, sizeof (head));
        for (int j = 0; j < 100 + i * 7; ++j)
        {
            const auto b = (juce::uint8) ((i * 31 + j) & 0x7f);
            fixture.append (&b, 1);
        }
        const juce::uint8 end = 0xf7;
        fixture.append (&end, 1);
    }
    const juce::TemporaryFile file (".syx");
    ASSERT_TRUE (file.getFile().replaceWithData (fixture.getData(), fixture.getSize()));

    PedalRun run ({ "--port", "A", "--port", "B" },
                  { "--autoupdate", "--outputid", "2", "--file", file.getFile().getFullPathName() });
    const auto status = run.app->waitForExit (20000);
    ASSERT_TRUE (status.has_value()) << "the program did not end by itself\n" << run.app->readLog();
    EXPECT_EQ (*status, 0);

    EXPECT_TRUE (run.received (2) == fixture) << run.report();
    EXPECT_EQ (run.received (1).getSize(), 0u);
    EXPECT_TRUE (run.report().contains ("opens: 1")) << run.report();
}

TEST_F (UpdatePanelTest, AnAutomaticUpdateWithoutThatPortWarnsFirstAndThenWaits)
{
    PedalRun run ({ "--port", "A", "--port", "B" }, { "--autoupdate", "--outputid", "5" });
    ASSERT_TRUE (run.app->waitForOutput ("warning: Please select an output device:")) << run.app->readLog();

    const auto box = XDisplay::waitForAnyWindowExcept (mainTitlePattern);
    ASSERT_TRUE (box.has_value());
    EXPECT_TRUE (XDisplay::findWindows (mainTitlePattern).isEmpty()) << "the box comes before the main window";
    XDisplay::screenshot (*box, artefact ("no-output-warning.png"));

    XDisplay::keys (*box, "Return");
    const auto window = XDisplay::waitForWindow (mainTitlePattern);
    ASSERT_TRUE (window.has_value());
    juce::Thread::sleep (1000);
    EXPECT_TRUE (run.app->isRunning()) << "the program waits for the user";

    XDisplay::click (PanelLayout (XDisplay::getGeometry (*window)).closeButton());
    EXPECT_EQ (run.app->waitForExit (5000), std::optional<int> (0));
    EXPECT_EQ (run.received (1).getSize() + run.received (2).getSize(), 0u);
}

TEST_F (UpdatePanelTest, FirmwareFilesMissingEmptyOrMalformed)
{
    const juce::TemporaryFile folder;
    ASSERT_TRUE (folder.getFile().createDirectory());
    const auto empty = folder.getFile().getChildFile ("empty.syx");
    ASSERT_TRUE (empty.create());
    const auto bad = folder.getFile().getChildFile ("bad.syx");
    const juce::uint8 badBytes[] = { 0xf0, 0x01, 0xf7, 0x42 };
    ASSERT_TRUE (bad.replaceWithData (badBytes, sizeof (badBytes)));
    ASSERT_TRUE (folder.getFile().setAsCurrentWorkingDirectory());

    {
        // A missing file: one box titled after it, then the built-in image.
        PedalRun run ({}, { "--file", "missing.syx" });
        const auto box = XDisplay::waitForWindow ("^File missing.syx not found$");
        ASSERT_TRUE (box.has_value()) << run.app->readLog();
        XDisplay::screenshot (*box, artefact ("missing-file.png"));
        XDisplay::keys (*box, "Return");

        const auto window = XDisplay::waitForWindow ("^Lantern Reverb version 1.1.00 - R1861$");
        ASSERT_TRUE (window.has_value()) << run.app->readLog();
        EXPECT_TRUE (run.app->readLog().contains ("info: This software updater will update your Lantern Reverb firmware to version 1.1.00 - R1861"));
        XDisplay::click (PanelLayout (XDisplay::getGeometry (*window)).closeButton());
        EXPECT_EQ (run.app->waitForExit (5000), std::optional<int> (0));
    }

    {
        // An empty file: no box, the built-in image stays.
        PedalRun run ({}, { "--file", empty.getFullPathName() });
        const auto window = XDisplay::waitForWindow ("^Lantern Reverb version 1.1.00 - R1861$");
        ASSERT_TRUE (window.has_value()) << run.app->readLog();
        EXPECT_EQ (XDisplay::findWindows (".").size(), 1) << "no box";
        XDisplay::click (PanelLayout (XDisplay::getGeometry (*window)).closeButton());
        EXPECT_EQ (run.app->waitForExit (5000), std::optional<int> (0));
    }

    {
        // A malformed file loads, but its update is refused before a byte goes out.
        PedalRun run ({}, { "--autoupdate", "--file", "bad.syx" });
        const auto window = XDisplay::waitForWindow ("^bad version $");
        ASSERT_TRUE (window.has_value()) << run.app->readLog();
        EXPECT_TRUE (run.app->readLog().contains ("info: This software updater will update your bad firmware from the loaded sysex file"));
        ASSERT_TRUE (run.app->waitForOutput ("caption: Update progress: Update failed: ")) << run.app->readLog();
        EXPECT_TRUE (run.app->readLog().contains ("0x42 at offset 3")) << run.app->readLog();
        XDisplay::screenshot (*window, artefact ("malformed-file.png"));

        juce::Thread::sleep (500);
        EXPECT_TRUE (run.app->isRunning()) << "a refused update does not quit";
        XDisplay::click (PanelLayout (XDisplay::getGeometry (*window)).closeButton());
        EXPECT_EQ (run.app->waitForExit (5000), std::optional<int> (0));
        EXPECT_EQ (run.received (1).getSize(), 0u) << run.report();
    }

    juce::File (BRINDLE_BINARY_DIR).setAsCurrentWorkingDirectory();
}

TEST_F (UpdatePanelTest, ASecondStartDuringAnUploadLeavesTheUploadAlone)
{
    PedalRun run ({ "--rate", "50000" }, { "--autoupdate" });
    ASSERT_TRUE (run.app->waitForOutput ("caption: Update progress: Uploading firmware")) << run.app->readLog();

    AppProcess second (juce::StringArray { BrindleCommands::app(), "--autoupdate" }, PedalRun::environment());
    const auto status = second.waitForExit (2000);
    ASSERT_TRUE (status.has_value());
    EXPECT_EQ (*status, 0);

    ASSERT_EQ (run.app->waitForExit (30000), std::optional<int> (0)) << run.app->readLog();
    EXPECT_TRUE (run.received (1) == builtInImage()) << run.report();
    EXPECT_TRUE (run.report().contains ("complete Lantern Reverb update")) << run.report();
}

TEST_F (UpdatePanelTest, ClosingDuringAnUploadEndsPromptlyWithWholeMessagesOnly)
{
    const struct
    {
        const char* what;
        juce::StringArray pedal;
        int limitMs;
    } cases[] = {
        { "slow wire", { "--rate", "3125" }, 5000 },
        { "stalled pedal", { "--stall" }, 7000 },
    };

    for (const auto& c : cases)
    {
        PedalRun run (c.pedal, { "--autoupdate" });
        const auto window = XDisplay::waitForWindow (mainTitlePattern);
        ASSERT_TRUE (window.has_value()) << c.what << "\n" << run.app->readLog();
        ASSERT_TRUE (run.app->waitForOutput ("caption: Update progress: Uploading firmware")) << c.what;
        juce::Thread::sleep (1500);

        XDisplay::click (PanelLayout (XDisplay::getGeometry (*window)).closeButton());
        const auto status = run.app->waitForExit (c.limitMs);
        ASSERT_TRUE (status.has_value()) << c.what << ": still running after " << c.limitMs << " ms";
        EXPECT_EQ (*status, 0) << c.what;
        EXPECT_FALSE (run.app->readLog().contains ("Update completed")) << c.what;

        const auto received = run.received (1);
        const auto image = builtInImage();
        ASSERT_LT (received.getSize(), image.getSize()) << c.what;
        EXPECT_TRUE (received.getSize() == 0 || std::memcmp (received.getData(), image.getData(), received.getSize()) == 0) << c.what;
        EXPECT_TRUE (received.getSize() == 0 || received[received.getSize() - 1] == (char) 0xf7)
            << c.what << ": a partial message reached the pedal\n" << run.report();
    }
}

TEST_F (UpdatePanelTest, TheHelpButtonShowsAndHidesTheHelpWindow)
{
    PedalRun run ({}, {});
    const auto window = XDisplay::waitForWindow (mainTitlePattern);
    ASSERT_TRUE (window.has_value()) << run.app->readLog();
    const PanelLayout panel (XDisplay::getGeometry (*window));
    const auto screen = XDisplay::getScreenSize();

    XDisplay::click (panel.helpButton());
    auto help = XDisplay::waitForWindow ("^Firmware Update Help$", 3000);
    ASSERT_TRUE (help.has_value());
    const auto helpBounds = XDisplay::getGeometry (*help);
    EXPECT_EQ (helpBounds.getWidth(), 550);
    EXPECT_EQ (helpBounds.getHeight(), 400);
    EXPECT_NEAR (helpBounds.getCentreX(), screen.getCentreX(), 1);
    EXPECT_NEAR (helpBounds.getCentreY(), screen.getCentreY(), 1);

    // Typing into the text changes nothing: compare the window before and after.
    const auto before = XDisplay::screenshot (*help, artefact ("help-window.png"));
    XDisplay::click (helpBounds.getPosition() + juce::Point<int> (200, 200));
    XDisplay::keys (*help, "x y z BackSpace Delete Return");
    const auto after = XDisplay::screenshot (*help, artefact ("help-window-after-typing.png"));
    ASSERT_TRUE (before.isValid() && after.isValid());
    int differing = 0;
    for (int y = 40; y < before.getHeight() - 10; ++y)
        for (int x = 10; x < before.getWidth() - 30; ++x)
            differing += before.getPixelAt (x, y) != after.getPixelAt (x, y) ? 1 : 0;
    EXPECT_LT (differing, 50) << "the text box took the typing";

    // The centred help window covers the help button: move it aside, as a person would.
    XDisplay::run ("xdotool windowmove --sync " + *help + " 0 0");
    juce::Thread::sleep (300);
    XDisplay::click (panel.helpButton());
    EXPECT_TRUE (XDisplay::waitForNoWindow ("^Firmware Update Help$", 3000)) << "the second press hides it";

    XDisplay::click (panel.helpButton());
    help = XDisplay::waitForWindow ("^Firmware Update Help$", 3000);
    ASSERT_TRUE (help.has_value());
    EXPECT_EQ (XDisplay::getGeometry (*help), helpBounds) << "shown again centred at 550 x 400";
    const auto helpClose = XDisplay::getGeometry (*help).getPosition() + juce::Point<int> (529, 17);
    XDisplay::click (helpClose);
    EXPECT_TRUE (XDisplay::waitForNoWindow ("^Firmware Update Help$", 3000)) << "its close button hides it";
    EXPECT_TRUE (run.app->isRunning());

    XDisplay::click (panel.closeButton());
    EXPECT_EQ (run.app->waitForExit (5000), std::optional<int> (0));
}
