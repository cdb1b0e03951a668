#include "lookandfeel/TemplateLookAndFeel.h"

#include <gtest/gtest.h>

using juce::Colour;

namespace
{
    struct PaletteRow
    {
        const char* role;
        int colourId;
        juce::uint32 argb;
    };

    class PaletteTest : public testing::TestWithParam<PaletteRow>
    {
    protected:
        TemplateLookAndFeel lookAndFeel;
    };

    TEST_P (PaletteTest, ReadsAsTabledAfterConstruction)
    {
        EXPECT_EQ (lookAndFeel.findColour (GetParam().colourId).getARGB(), GetParam().argb) << GetParam().role;
    }

    INSTANTIATE_TEST_SUITE_P (
        Roles, PaletteTest,
        testing::Values (
            PaletteRow { "button", TemplateLookAndFeel::buttonColourId, 0xb2808080 },
            PaletteRow { "slider thumb and bar", juce::Slider::thumbColourId, 0xb2808080 },
            PaletteRow { "focus outline", juce::TextEditor::focusedOutlineColourId, 0xb2808080 },
            PaletteRow { "scroll bar background", juce::ScrollBar::backgroundColourId, 0x00000000 },
            PaletteRow { "scroll bar thumb", juce::ScrollBar::thumbColourId, 0xffffffff },
            PaletteRow { "popup menu background", juce::PopupMenu::backgroundColourId, 0xffffffff },
            PaletteRow { "popup menu highlighted text", juce::PopupMenu::highlightedTextColourId, 0xffffffff },
            PaletteRow { "popup menu highlight", juce::PopupMenu::highlightedBackgroundColourId, 0xb2808080 },
            PaletteRow { "popup menu text", juce::PopupMenu::textColourId, 0xff000000 },
            PaletteRow { "combo box outline", juce::ComboBox::outlineColourId, 0xb2808080 },
            PaletteRow { "combo box background", juce::ComboBox::backgroundColourId, 0xffffffff },
            PaletteRow { "combo box button", juce::ComboBox::buttonColourId, 0x00000000 },
            PaletteRow { "combo list background", TemplateLookAndFeel::comboListBackgroundColourId, 0xffffffff },
            PaletteRow { "combo list text", TemplateLookAndFeel::comboListTextColourId, 0xff000000 },
            PaletteRow { "combo list highlight", TemplateLookAndFeel::comboListHighlightColourId, 0xb2808080 },
            PaletteRow { "combo list highlighted text", TemplateLookAndFeel::comboListHighlightedTextColourId, 0xffffffff },
            PaletteRow { "slider background", juce::Slider::backgroundColourId, 0xffffffff },
            PaletteRow { "slider text box outline", juce::Slider::textBoxOutlineColourId, 0xb2808080 },
            PaletteRow { "progress bar background", juce::ProgressBar::backgroundColourId, 0xffffffff },
            PaletteRow { "progress bar foreground", juce::ProgressBar::foregroundColourId, 0xffd3d3d3 },
            PaletteRow { "tooltip background", juce::TooltipWindow::backgroundColourId, 0xffffffff },
            PaletteRow { "text button off", juce::TextButton::buttonColourId, 0xffffffff },
            PaletteRow { "text button on", juce::TextButton::buttonOnColourId, 0xff4444ff }));

    TEST (PaletteCopies, DoNotStayLinkedToTheirSource)
    {
        TemplateLookAndFeel lookAndFeel;
        lookAndFeel.setColour (TemplateLookAndFeel::buttonColourId, juce::Colours::red);
        lookAndFeel.setColour (juce::PopupMenu::backgroundColourId, juce::Colours::red);
        lookAndFeel.setColour (juce::ComboBox::outlineColourId, juce::Colours::red);

        EXPECT_EQ (lookAndFeel.findColour (juce::TextEditor::focusedOutlineColourId).getARGB(), 0xb2808080u);
        EXPECT_EQ (lookAndFeel.findColour (juce::PopupMenu::highlightedTextColourId).getARGB(), 0xffffffffu);
        EXPECT_EQ (lookAndFeel.findColour (juce::Slider::textBoxOutlineColourId).getARGB(), 0xb2808080u);
    }

    TEST (TitleBarButtonColours, AreTheThreeMembers)
    {
        TemplateLookAndFeel lookAndFeel;
        EXPECT_EQ (lookAndFeel.minimiseButtonColour.getARGB(), 0xffeff2f3u);
        EXPECT_EQ (lookAndFeel.maximiseButtonColour.getARGB(), 0xff9299a5u);
        EXPECT_EQ (lookAndFeel.closeButtonColour.getARGB(), 0xff3273a1u);
    }

    //==============================================================================
    struct BaseColourRow
    {
        juce::uint32 colour;
        bool focus, over, down;
        juce::uint32 expected;
    };

    class BaseColourTest : public testing::TestWithParam<BaseColourRow>
    {
    };

    TEST_P (BaseColourTest, FollowsTheStateRule)
    {
        const auto& row = GetParam();
        EXPECT_EQ (TemplateLookAndFeel::createBaseColour (Colour (row.colour), row.focus, row.over, row.down).getARGB(),
                   row.expected);
    }

    INSTANTIATE_TEST_SUITE_P (
        States, BaseColourTest,
        testing::Values (
            BaseColourRow { 0xffffffff, false, false, false, 0xffffffff },
            BaseColourRow { 0xffffffff, true, false, false, 0xffffffff },
            BaseColourRow { 0xffffffff, false, false, true, 0xffcbcbcb },
            BaseColourRow { 0xffffffff, true, false, true, 0xffcbcbcb },
            BaseColourRow { 0xffffffff, false, true, false, 0xffe4e4e4 },
            BaseColourRow { 0xffffffff, false, true, true, 0xffcbcbcb }, // pressed wins over mouse-over
            BaseColourRow { 0xff000000, false, false, true, 0xff333333 }, // dark colours lighten
            BaseColourRow { 0xff000000, false, true, false, 0xff1a1a1a }));

    TEST (BaseColour, SaturationFollowsFocus)
    {
        const Colour red (0xffcc3333);
        const auto focused = TemplateLookAndFeel::createBaseColour (red, true, false, false);
        const auto unfocused = TemplateLookAndFeel::createBaseColour (red, false, false, false);

        EXPECT_NEAR (focused.getSaturation(), juce::jmin (1.0f, red.getSaturation() * 1.3f), 0.01f);
        EXPECT_NEAR (unfocused.getSaturation(), red.getSaturation() * 0.9f, 0.01f);
    }

    TEST (DefaultLookAndFeel, GivesUnconfiguredTooltipsTheWhitePalette)
    {
        TemplateLookAndFeel lookAndFeel;
        juce::LookAndFeel::setDefaultLookAndFeel (&lookAndFeel);

        {
            juce::TooltipWindow tooltip (nullptr, 700);
            EXPECT_EQ (tooltip.findColour (juce::TooltipWindow::backgroundColourId).getARGB(), 0xffffffffu);
        }

        juce::LookAndFeel::setDefaultLookAndFeel (nullptr);
    }
} // namespace
