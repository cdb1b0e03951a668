#include "DrawingHelpers.h"
#include "lookandfeel/TemplateLookAndFeel.h"

using juce::Colour;
using Kind = RecordingContext::Kind;

namespace
{
    class ComboDrawingTest : public testing::Test
    {
    protected:
        TemplateLookAndFeel lookAndFeel;
        RecordingContext context;
        juce::Graphics g { context };
        juce::ComboBox box;

        void SetUp() override
        {
            box.setLookAndFeel (&lookAndFeel);
            box.setBounds (0, 0, 200, 24);
        }

        void TearDown() override { box.setLookAndFeel (nullptr); }

        std::vector<RecordingContext::Call> fillsIn (juce::Colour colour) const
        {
            std::vector<RecordingContext::Call> result;

            for (const auto& f : context.fills())
                if (! f.fill.isGradient() && RecordingContext::colourOf (f) == colour)
                    result.push_back (f);

            return result;
        }
    };

    TEST_F (ComboDrawingTest, EnabledBoxHasWhiteBodyThinFrameAndTwoArrows)
    {
        lookAndFeel.drawComboBox (g, 200, 24, false, 176, 0, 24, 24, box);

        const auto fills = context.fills();
        EXPECT_EQ (RecordingContext::colourOf (fills[0]).getARGB(), 0xffffffffu);

        const auto frame = fillsIn (Colour (0xb2808080));
        ASSERT_EQ (frame.size(), 1u);
        expectRect (frame[0].bounds, { 0.0f, 0.0f, 200.0f, 24.0f });
        EXPECT_FLOAT_EQ (frame[0].rects.front().getHeight(), 1.0f);

        // The button area shows nothing of its own.
        for (const auto& f : fills)
        {
            for (const auto& stop : stopsOf (f))
            {
                EXPECT_EQ (stop.second.getAlpha(), 0);
            }
        }

        // Arrows: tips at 25 % and 75 % of the height, bases at 45 % and 55 %, from 30 % to 70 % of the width.
        const auto arrows = fillsIn (Colour (0x99000000));
        ASSERT_EQ (arrows.size(), 1u);
        expectRect (arrows[0].bounds, { 176.0f + 7.2f, 6.0f, 9.6f, 12.0f });
        EXPECT_TRUE (arrows[0].path.contains (188.0f, 10.0f));
        EXPECT_TRUE (arrows[0].path.contains (188.0f, 14.0f));
        EXPECT_FALSE (arrows[0].path.contains (188.0f, 12.0f));
    }

    TEST_F (ComboDrawingTest, DisabledBoxHasNoArrows)
    {
        box.setEnabled (false);
        lookAndFeel.drawComboBox (g, 200, 24, false, 176, 0, 24, 24, box);

        EXPECT_TRUE (fillsIn (Colour (0x99000000)).empty());
        ASSERT_EQ (fillsIn (Colour (0xb2808080)).size(), 1u);
        EXPECT_FLOAT_EQ (fillsIn (Colour (0xb2808080))[0].rects.front().getHeight(), 1.0f);
    }

    //==============================================================================
    struct FontRow
    {
        int height;
        float fontHeight;
    };

    class ComboFontTest : public testing::TestWithParam<FontRow>
    {
    };

    TEST_P (ComboFontTest, TextFontIsTheSmallerOf15AndMostOfTheHeight)
    {
        TemplateLookAndFeel lookAndFeel;
        juce::ComboBox box;
        box.setSize (100, GetParam().height);

        const auto font = lookAndFeel.getComboBoxFont (box);
        EXPECT_FLOAT_EQ (font.getHeight(), GetParam().fontHeight);
        EXPECT_EQ (font.getStyleFlags(), juce::Font::plain);
    }

    INSTANTIATE_TEST_SUITE_P (Heights, ComboFontTest,
                              testing::Values (FontRow { 24, 15.0f }, FontRow { 16, 13.6f }, FontRow { 18, 15.0f }));

    TEST (ComboListFont, IsPlain15)
    {
        EXPECT_FLOAT_EQ (TemplateLookAndFeel::getComboBoxListFont().getHeight(), 15.0f);
        EXPECT_EQ (TemplateLookAndFeel::getComboBoxListFont().getStyleFlags(), juce::Font::plain);
    }

    //==============================================================================
    // Each striped background reads its own roles: here they are told apart.
    struct StripeRow
    {
        const char* name;
        bool comboTarget;
        juce::uint32 background, outline;
    };

    class StripedBackgroundTest : public testing::TestWithParam<StripeRow>
    {
    };

    TEST_P (StripedBackgroundTest, EveryThirdRowIsFaintBlueUnderAFrame)
    {
        const auto& row = GetParam();
        TemplateLookAndFeel lookAndFeel;
        lookAndFeel.setColour (juce::PopupMenu::backgroundColourId, Colour (0xffffffff));
        lookAndFeel.setColour (juce::PopupMenu::textColourId, Colour (0xff000000));
        lookAndFeel.setColour (TemplateLookAndFeel::comboListBackgroundColourId, Colour (0xfffff0e0));
        lookAndFeel.setColour (TemplateLookAndFeel::comboListTextColourId, Colour (0xff102030));

        juce::ComboBox box;
        juce::Component other;
        RecordingContext context;
        juce::Graphics g (context);
        lookAndFeel.drawPopupMenuBackgroundWithOptions (
            g, 50, 10, juce::PopupMenu::Options().withTargetComponent (row.comboTarget ? (juce::Component*) &box : &other));

        const auto fills = context.fills();
        ASSERT_EQ (fills.size(), 6u);
        EXPECT_EQ (RecordingContext::colourOf (fills[0]).getARGB(), row.background);

        const auto stripe = Colour (row.background).overlaidWith (Colour (0x2badd8e6));
        const float rows[] = { 0.0f, 3.0f, 6.0f, 9.0f };

        for (size_t i = 0; i < 4; ++i)
        {
            EXPECT_EQ (RecordingContext::colourOf (fills[i + 1]).getARGB(), stripe.getARGB());
            expectRect (fills[i + 1].bounds, { 0.0f, rows[i], 50.0f, 1.0f });
        }

        EXPECT_EQ (RecordingContext::colourOf (fills[5]).getARGB(), Colour (row.outline).withAlpha (0.6f).getARGB());
        expectRect (fills[5].bounds, { 0.0f, 0.0f, 50.0f, 10.0f });
        EXPECT_FLOAT_EQ (fills[5].rects.front().getHeight(), 1.0f);
    }

    INSTANTIATE_TEST_SUITE_P (Menus, StripedBackgroundTest,
                              testing::Values (StripeRow { "popup menu", false, 0xffffffff, 0xff000000 },
                                               StripeRow { "combo list", true, 0xfffff0e0, 0xff102030 }));

    TEST (StripedBackground, WhitePaletteStripeIsF0F8FA)
    {
        TemplateLookAndFeel lookAndFeel;
        RecordingContext context;
        juce::Graphics g (context);
        lookAndFeel.drawComboBoxPopupBackground (g, 40, 4);

        EXPECT_EQ (RecordingContext::colourOf (context.fills()[1]).getARGB(), 0xfff0f8fau);
        EXPECT_EQ (RecordingContext::colourOf (context.fills().back()).getARGB(), 0x99000000u);
    }

    //==============================================================================
    TEST (MenuBarBackground, EnabledBarOverhangsByFourAndDisabledIsFlat)
    {
        TemplateLookAndFeel lookAndFeel;
        juce::MenuBarComponent bar;

        {
            RecordingContext context;
            juce::Graphics g (context);
            lookAndFeel.drawMenuBarBackground (g, 100, 24, false, bar);

            const auto fills = context.fills();
            ASSERT_EQ (fills.size(), 2u);
            expectRect (fills[0].bounds, { -4.0f, 0.0f, 108.0f, 24.0f });
            EXPECT_EQ (RecordingContext::colourOf (fills[1]).getARGB(), 0x80000000u);
            EXPECT_NEAR (strokeThickness (fills[1], fills[0].bounds), 0.4f, 0.05f);
        }

        bar.setEnabled (false);
        RecordingContext context;
        juce::Graphics g (context);
        lookAndFeel.drawMenuBarBackground (g, 100, 24, false, bar);

        ASSERT_EQ (context.fills().size(), 1u);
        EXPECT_EQ (RecordingContext::colourOf (context.fills()[0]).getARGB(), 0xffffffffu);
    }
} // namespace
