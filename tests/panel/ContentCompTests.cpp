#include "midi/MidiInterfaceClass.h"
#include "panel/AutoUpdateMode.h"
#include "panel/ContentComp.h"
#include "support/MessageLoop.h"
#include "transfer/BasicSysexProtocolClass.h"

#include "VirtualPedalControl.h"

#include <gtest/gtest.h>

namespace
{
/** The panel's children in z-order, bottom first. */
struct Children
{
    explicit Children (ContentComp& panel)
    {
        for (auto* child : panel.getChildren())
            all.push_back (child);
    }

    template <typename T>
    T& at (size_t index) const { return *dynamic_cast<T*> (all.at (index)); }

    MidiInterfaceClass& midi() const { return at<MidiInterfaceClass> (0); }
    juce::Label& info() const { return at<juce::Label> (1); }
    juce::Label& step1() const { return at<juce::Label> (2); }
    juce::Label& step2() const { return at<juce::Label> (3); }
    juce::TextButton& update() const { return at<juce::TextButton> (4); }
    juce::ProgressBar& bar() const { return at<juce::ProgressBar> (5); }
    juce::Label& caption() const { return at<juce::Label> (6); }
    juce::TextButton& help() const { return at<juce::TextButton> (7); }

    std::vector<juce::Component*> all;
};

class ContentCompTest : public ::testing::Test
{
protected:
    void SetUp() override { autoUpdateMode = false; }
    void TearDown() override { autoUpdateMode = false; }

    std::unique_ptr<ContentComp> makePanel (const char* pedal, const juce::String& commandLine = {})
    {
        EXPECT_EQ (virtual_pedal_configure (pedal), 0);
        auto panel = std::make_unique<ContentComp> (nullptr, commandLine);
        panel->setSize (642, 366);
        return panel;
    }

    static bool waitForCaption (const Children& children, const juce::String& text, int timeoutMs = 20000)
    {
        return runMessageLoopUntil ([&] { return children.caption().getText() == text; }, timeoutMs);
    }
};
} // namespace

TEST_F (ContentCompTest, ChildrenTextsAndLayoutAt642By366)
{
    const auto panel = makePanel ("--port A");
    const Children c (*panel);
    ASSERT_EQ (c.all.size(), 8u);

    const struct
    {
        juce::Component& child;
        juce::Rectangle<int> bounds;
    } layout[] = {
        { c.info(), { 10, 15, 622, 50 } },   { c.help(), { 538, 2, 94, 30 } },
        { c.step1(), { 10, 70, 622, 30 } },  { c.midi(), { 10, 105, 622, 50 } },
        { c.step2(), { 10, 165, 622, 30 } }, { c.update(), { 538, 215, 94, 30 } },
        { c.bar(), { 10, 215, 528, 30 } },   { c.caption(), { 10, 192, 528, 23 } },
    };
    for (const auto& l : layout)
        EXPECT_EQ (l.child.getBounds(), l.bounds) << l.child.getName();

    EXPECT_EQ (c.bar().getRight(), c.update().getX()) << "bar and button meet without a gap";
    EXPECT_EQ (c.update().getRight(), 642 - 10);

    EXPECT_EQ (c.info().getText(), "This software updater will update your Lantern Reverb firmware to version 1.1.00 - R1861");
    EXPECT_EQ (c.step1().getText(), "STEP1");
    EXPECT_EQ (c.step2().getText(), "STEP2");
    EXPECT_EQ (c.update().getButtonText(), "update");
    EXPECT_EQ (c.update().getTooltip(), "click here to update the product");
    EXPECT_EQ (c.help().getButtonText(), "Help");
    EXPECT_EQ (c.help().getTooltip(), "click here to get help");
    EXPECT_EQ (c.caption().getText(), "Update progress:");
    EXPECT_TRUE (c.update().isConnectedOnLeft());
    for (auto* child : c.all)
        EXPECT_TRUE (child->isVisible());
}

TEST_F (ContentCompTest, TheUpdateButtonFollowsTheSelector)
{
    const auto panel = makePanel ("--port A --port B");
    const Children c (*panel);

    const auto look = [&] { return c.update().findColour (juce::TextButton::buttonColourId).getARGB(); };
    const auto lookOn = [&] { return c.update().findColour (juce::TextButton::buttonOnColourId).getARGB(); };

    EXPECT_FALSE (c.update().isEnabled());
    EXPECT_EQ (look(), ContentComp::notReadyColour);
    EXPECT_EQ (lookOn(), ContentComp::notReadyColour);

    c.midi().getOutputSelector()->setSelectedId (2);
    ASSERT_TRUE (runMessageLoopUntil ([&] { return c.update().isEnabled(); }));
    EXPECT_EQ (look(), ContentComp::readyColour);
    EXPECT_EQ (lookOn(), ContentComp::readyColour);

    c.midi().getOutputSelector()->setSelectedId (3); // "(Disconnected)"
    ASSERT_TRUE (runMessageLoopUntil ([&] { return ! c.update().isEnabled(); }));
    EXPECT_EQ (look(), ContentComp::notReadyColour);
    EXPECT_TRUE (c.midi().isEnabled());
}

TEST_F (ContentCompTest, AClickUploadsAndTheControlsComeBack)
{
    const auto panel = makePanel ("--port A --rate 400000");
    const Children c (*panel);

    c.midi().selectOutputDevice (1);
    ASSERT_TRUE (runMessageLoopUntil ([&] { return c.update().isEnabled(); }));

    c.update().triggerClick();
    ASSERT_TRUE (runMessageLoopUntil ([&] { return ! c.update().isEnabled(); }));
    ASSERT_TRUE (waitForCaption (c, "Update progress: Uploading firmware"));
    // The upload locks the selector on its first pass, which may come just after the caption.
    EXPECT_TRUE (runMessageLoopUntil ([&] { return ! c.midi().isEnabled(); }))
        << "the selector is locked while sending";

    ASSERT_TRUE (waitForCaption (c, "Update progress: Update completed"));
    EXPECT_TRUE (c.update().isEnabled());
    EXPECT_TRUE (c.midi().isEnabled());
    EXPECT_EQ (virtual_pedal_captured (1, nullptr, 0), 290533);
}

TEST_F (ContentCompTest, AFailedUploadSaysSoAndLeavesTheControlsUsable)
{
    const auto panel = makePanel ("--port A --port B --fail-after 5000");
    const Children c (*panel);

    c.midi().selectOutputDevice (1);
    ASSERT_TRUE (runMessageLoopUntil ([&] { return c.update().isEnabled(); }));
    c.update().triggerClick();

    ASSERT_TRUE (runMessageLoopUntil ([&] { return c.caption().getText().startsWith ("Update progress: Update failed: "); }))
        << c.caption().getText();
    EXPECT_TRUE (c.update().isEnabled()) << "the user can retry";
    EXPECT_TRUE (c.midi().isEnabled());
    EXPECT_EQ (c.caption().getTooltip(), c.caption().getText()) << "the whole reason, wider than the caption";

    // Choosing the other port keeps the selector usable.
    c.midi().getOutputSelector()->setSelectedId (2);
    runMessageLoopFor (100);
    EXPECT_TRUE (c.midi().isEnabled());
    EXPECT_TRUE (c.update().isEnabled());

    // A retry there completes, and the failure's tooltip goes with the failure.
    c.update().triggerClick();
    ASSERT_TRUE (waitForCaption (c, "Update progress: Update completed"));
    EXPECT_EQ (c.caption().getTooltip(), juce::String());
    EXPECT_EQ (virtual_pedal_captured (2, nullptr, 0), 290533);

    const auto captured = virtual_pedal_captured (1, nullptr, 0);
    EXPECT_LT (captured, 290533);
}

TEST_F (ContentCompTest, DestroyingThePanelDuringAnUploadStopsTheUploadFirst)
{
    for (const char* pedal : { "--port A --rate 20000", "--port A --stall" })
    {
        auto panel = makePanel (pedal);
        const Children c (*panel);
        c.midi().selectOutputDevice (1);
        ASSERT_TRUE (runMessageLoopUntil ([&] { return c.update().isEnabled(); })) << pedal;
        c.update().triggerClick();
        ASSERT_TRUE (waitForCaption (c, "Update progress: Uploading firmware")) << pedal;
        runMessageLoopFor (300);

        panel = nullptr; // no use after free, no hang

        std::vector<unsigned char> received (290533);
        const auto size = virtual_pedal_captured (1, received.data(), (long) received.size());
        ASSERT_GE (size, 0) << pedal;
        EXPECT_LT (size, 290533) << pedal;
        EXPECT_TRUE (size == 0 || received[(size_t) size - 1] == 0xf7) << pedal << ": a partial message went out";
    }
}

TEST_F (ContentCompTest, TheHelpButtonTogglesTheHelpWindowCentred)
{
    const auto panel = makePanel ("--port A");
    const Children c (*panel);

    auto* help = [&]() -> juce::TopLevelWindow*
    {
        for (int i = 0; i < juce::TopLevelWindow::getNumTopLevelWindows(); ++i)
            if (juce::TopLevelWindow::getTopLevelWindow (i)->getName() == "Firmware Update Help")
                return juce::TopLevelWindow::getTopLevelWindow (i);
        return nullptr;
    }();
    ASSERT_NE (help, nullptr);
    EXPECT_FALSE (help->isVisible());

    c.help().triggerClick();
    ASSERT_TRUE (runMessageLoopUntil ([&] { return help->isVisible(); }));
    EXPECT_EQ (help->getWidth(), 550);
    EXPECT_EQ (help->getHeight(), 400);

    help->setBounds (10, 10, 300, 200);
    c.help().triggerClick();
    ASSERT_TRUE (runMessageLoopUntil ([&] { return ! help->isVisible(); }));
    EXPECT_EQ (help->getWidth(), 550) << "every press re-centres it at 550 x 400";
}
