#include "DrawingHelpers.h"
#include "lookandfeel/TemplateLookAndFeel.h"

using juce::Colour;

namespace
{
    /** A window on the desktop, so that a widget in it can take the keyboard focus. */
    struct FocusWindow
    {
        explicit FocusWindow (juce::Component& widget)
        {
            window.setBounds (100, 100, 220, 120);
            window.addAndMakeVisible (widget);
            widget.setBounds (0, 0, 200, 100);
            window.addToDesktop (0);
            window.setVisible (true);
            window.toFront (true);
            widget.grabKeyboardFocus();
        }

        ~FocusWindow() { window.removeFromDesktop(); }

        juce::Component window;
    };

    bool waitForFocus (juce::Component& widget)
    {
        for (int i = 0; i < 100 && ! widget.hasKeyboardFocus (true); ++i)
        {
            widget.grabKeyboardFocus();
            juce::MessageManager::getInstance()->runDispatchLoopUntil (20);
        }
        return widget.hasKeyboardFocus (true);
    }

    TEST (FocusedLook, AFocusedComboBoxGetsATwoPixelFrameOfTheSameColour)
    {
        TemplateLookAndFeel lookAndFeel;
        juce::ComboBox box;
        box.setLookAndFeel (&lookAndFeel);
        const FocusWindow window (box);
        box.setSize (200, 24);

        if (! waitForFocus (box))
            GTEST_SKIP() << "this X server gives no keyboard focus";

        RecordingContext context;
        juce::Graphics g (context);
        lookAndFeel.drawComboBox (g, 200, 24, false, 176, 0, 24, 24, box);
        box.setLookAndFeel (nullptr);

        std::vector<RecordingContext::Call> frame;
        for (const auto& f : context.fills())
            if (! f.fill.isGradient() && RecordingContext::colourOf (f) == Colour (0xb2808080))
                frame.push_back (f);

        ASSERT_EQ (frame.size(), 1u);
        expectRect (frame[0].bounds, { 0.0f, 0.0f, 200.0f, 24.0f });
        EXPECT_FLOAT_EQ (frame[0].rects.front().getHeight(), 2.0f);
    }

    TEST (FocusedLook, AFocusedEditableEditorGetsTheFocusOutlineAndAFourPixelBevel)
    {
        TemplateLookAndFeel lookAndFeel;
        juce::TextEditor editor;
        editor.setLookAndFeel (&lookAndFeel);
        const FocusWindow window (editor);

        if (! waitForFocus (editor))
            GTEST_SKIP() << "this X server gives no keyboard focus";

        RecordingContext context;
        juce::Graphics g (context);
        lookAndFeel.drawTextEditorOutline (g, 200, 100, editor);
        editor.setLookAndFeel (nullptr);

        const auto fills = context.fills();
        ASSERT_EQ (fills.size(), 1u + 4u * 4u);
        EXPECT_EQ (RecordingContext::colourOf (fills[0]).getARGB(), 0xb2808080u);
        EXPECT_FLOAT_EQ (fills[0].rects.front().getHeight(), 2.0f);

        // The bevel's outermost line: the editor's shadow (0x38000000) at 0.75 of its alpha.
        EXPECT_EQ (RecordingContext::colourOf (fills[fills.size() - 4]).getARGB(),
                   Colour (0x38000000).withMultipliedAlpha (0.75f).getARGB());
    }
} // namespace
