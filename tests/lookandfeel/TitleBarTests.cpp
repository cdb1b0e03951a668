#include "DrawingHelpers.h"
#include "lookandfeel/ColouredDocumentWindow.h"
#include "lookandfeel/GlassWindowButton.h"
#include "lookandfeel/TemplateLookAndFeel.h"

using juce::Colour;
using Kind = RecordingContext::Kind;

namespace
{
    const Colour windowBackground (ColouredDocumentWindow::backgroundColourValue);
    const Colour titleBarColour (ColouredDocumentWindow::titleBarColourValue);

    class TitleBarTest : public testing::Test
    {
    protected:
        TemplateLookAndFeel lookAndFeel;
        ColouredDocumentWindow window { "Lantern Reverb version 1.1.00 - R1861", windowBackground, titleBarColour,
                                        juce::DocumentWindow::allButtons, false };
        RecordingContext context;
        juce::Graphics g { context };

        void SetUp() override { window.setLookAndFeel (&lookAndFeel); }
        void TearDown() override { window.setLookAndFeel (nullptr); }

        int titleWidth (const juce::String& title) const
        {
            return juce::Font (26.0f * 0.65f, juce::Font::bold).getStringWidth (title);
        }
    };

    TEST_F (TitleBarTest, GradientFromTitleBarColourToBackgroundAndBoldText)
    {
        lookAndFeel.drawDocumentWindowTitleBar (window, g, 642, 26, 10, 560, nullptr, false);

        const auto fills = context.fills();
        ASSERT_FALSE (fills.empty());
        expectStops (fills[0], { { 0.0, titleBarColour }, { 1.0, windowBackground } });
        expectPoint (fills[0].fill.gradient->point1, { 0.0f, 0.0f });
        expectPoint (fills[0].fill.gradient->point2, { 0.0f, 26.0f });
        expectRect (fills[0].bounds, { 0.0f, 0.0f, 1000.0f, 1000.0f }); // the whole (clipped) title bar

        const auto glyphs = context.ofKind (Kind::glyph);
        ASSERT_FALSE (glyphs.empty());
        EXPECT_NEAR (glyphs[0].font.getHeight(), 16.9f, 0.001f);
        EXPECT_TRUE (glyphs[0].font.isBold());

        // A window off the desktop is inactive.
        for (const auto& glyph : glyphs)
            EXPECT_EQ (RecordingContext::colourOf (glyph).getARGB(), 0xff8e9091u);
    }

    TEST (TitleBarColour, PlainDocumentWindowFallsBackToItsBackground)
    {
        TemplateLookAndFeel lookAndFeel;
        juce::DocumentWindow window ("plain", Colour (0xff204060), juce::DocumentWindow::closeButton, false);
        EXPECT_EQ (TemplateLookAndFeel::findTitleBarColour (window).getARGB(), 0xff204060u);

        ColouredDocumentWindow coloured ("coloured", windowBackground, titleBarColour, 0, false);
        EXPECT_EQ (TemplateLookAndFeel::findTitleBarColour (coloured).getARGB(), titleBarColour.getARGB());
    }

    TEST (TitleTextColour, ContrastsWithTheBackgroundByActivity)
    {
        EXPECT_EQ (TemplateLookAndFeel::getTitleTextColour (windowBackground, true).getARGB(), 0xff474849u);
        EXPECT_EQ (TemplateLookAndFeel::getTitleTextColour (windowBackground, false).getARGB(), 0xff8e9091u);
    }

    //==============================================================================
    struct PlacementRow
    {
        const char* name;
        int titleSpaceX, titleSpaceW;
        bool onLeft;
        enum { centred, atSpaceStart, atSpaceEnd } expected;
    };

    class TitlePlacementTest : public TitleBarTest,
                               public testing::WithParamInterface<PlacementRow>
    {
    };

    TEST_P (TitlePlacementTest, ShortTitleIsCentredButStaysInItsSpan)
    {
        const auto& row = GetParam();
        window.setName ("Help");
        const int w = 500;
        const int textW = titleWidth ("Help");
        lookAndFeel.drawDocumentWindowTitleBar (window, g, w, 26, row.titleSpaceX, row.titleSpaceW, nullptr, row.onLeft);

        const auto glyphs = context.ofKind (Kind::glyph);
        ASSERT_EQ (glyphs.size(), 4u);

        const auto expectedX = row.expected == PlacementRow::centred        ? (float) ((w - textW) / 2)
                               : row.expected == PlacementRow::atSpaceStart ? (float) row.titleSpaceX
                                                                            : (float) (row.titleSpaceX + row.titleSpaceW - textW);
        EXPECT_NEAR (glyphs.front().origin.x, expectedX, 1.0f) << row.name;
    }

    INSTANTIATE_TEST_SUITE_P (
        Spans, TitlePlacementTest,
        testing::Values (PlacementRow { "centred on the whole bar", 10, 400, false, PlacementRow::centred },
                         PlacementRow { "pushed right", 300, 150, false, PlacementRow::atSpaceStart },
                         PlacementRow { "pushed left", 10, 200, false, PlacementRow::atSpaceEnd },
                         PlacementRow { "on the left", 40, 400, true, PlacementRow::atSpaceStart }));

    TEST_F (TitleBarTest, LongTitleIsCutToTheSpanWithAnEllipsis)
    {
        const juce::String title ("Lantern Reverb version 1.1.00 - R1861");
        const int spanX = 60, spanW = 120;
        lookAndFeel.drawDocumentWindowTitleBar (window, g, 300, 26, spanX, spanW, nullptr, false);

        const auto glyphs = context.ofKind (Kind::glyph);
        ASSERT_FALSE (glyphs.empty());
        EXPECT_LT ((int) glyphs.size(), title.removeCharacters (" ").length());

        for (const auto& glyph : glyphs)
        {
            EXPECT_GE (glyph.origin.x, (float) spanX - 0.5f);
            EXPECT_LT (glyph.origin.x, (float) (spanX + spanW));
        }

        // The last three glyphs are the same one: the dots.
        ASSERT_GE (glyphs.size(), 3u);
        const auto n = glyphs.size();
        EXPECT_EQ (glyphs[n - 1].glyphNumber, glyphs[n - 2].glyphNumber);
        EXPECT_EQ (glyphs[n - 2].glyphNumber, glyphs[n - 3].glyphNumber);
    }

    //==============================================================================
    struct LayoutRow
    {
        const char* name;
        juce::Rectangle<int> titleBar;
        bool withMinimise, withMaximise, onLeft;
        int closeX, maximiseX, minimiseX, buttonW;
    };

    class ButtonLayoutTest : public testing::TestWithParam<LayoutRow>
    {
    };

    TEST_P (ButtonLayoutTest, ButtonsSitAtTheirPlaces)
    {
        const auto& row = GetParam();
        TemplateLookAndFeel lookAndFeel;
        juce::DocumentWindow window ("w", windowBackground, 0, false);
        juce::TextButton minimise, maximise, close;

        const auto r = row.titleBar;
        lookAndFeel.positionDocumentWindowButtons (window, r.getX(), r.getY(), r.getWidth(), r.getHeight(),
                                                   row.withMinimise ? &minimise : nullptr,
                                                   row.withMaximise ? &maximise : nullptr,
                                                   &close, row.onLeft);

        EXPECT_EQ (close.getBounds(), juce::Rectangle<int> (row.closeX, r.getY(), row.buttonW, r.getHeight())) << row.name;

        if (row.withMaximise)
        {
            EXPECT_EQ (maximise.getBounds(), juce::Rectangle<int> (row.maximiseX, r.getY(), row.buttonW, r.getHeight())) << row.name;
        }

        if (row.withMinimise)
        {
            EXPECT_EQ (minimise.getBounds(), juce::Rectangle<int> (row.minimiseX, r.getY(), row.buttonW, r.getHeight())) << row.name;
        }
    }

    INSTANTIATE_TEST_SUITE_P (
        Layouts, ButtonLayoutTest,
        testing::Values (
            LayoutRow { "help window, 550 wide", { 4, 4, 542, 26 }, true, true, false, 518, 490, 467, 23 },
            LayoutRow { "close only", { 4, 4, 542, 26 }, false, false, false, 518, 0, 0, 23 },
            LayoutRow { "no maximise", { 4, 4, 542, 26 }, true, false, false, 518, 0, 490, 23 },
            LayoutRow { "40-pixel title bar", { 0, 0, 500, 40 }, true, true, false, 457, 414, 379, 35 },
            LayoutRow { "on the left", { 4, 4, 542, 26 }, true, true, true, 8, 54, 31, 23 }));

    //==============================================================================
    struct FactoryRow
    {
        int type;
        const char* name;
    };

    class ButtonFactoryTest : public testing::TestWithParam<FactoryRow>
    {
    };

    TEST_P (ButtonFactoryTest, MakesGlassButtonsForTheThreeTypesOnly)
    {
        TemplateLookAndFeel lookAndFeel;
        std::unique_ptr<juce::Button> button (lookAndFeel.createDocumentWindowButton (GetParam().type));

        if (GetParam().name == nullptr)
        {
            EXPECT_EQ (button, nullptr);
            return;
        }

        ASSERT_NE (dynamic_cast<GlassWindowButton*> (button.get()), nullptr);
        EXPECT_EQ (button->getName(), GetParam().name);
    }

    INSTANTIATE_TEST_SUITE_P (Types, ButtonFactoryTest,
                              testing::Values (FactoryRow { juce::DocumentWindow::closeButton, "close" },
                                               FactoryRow { juce::DocumentWindow::minimiseButton, "minimise" },
                                               FactoryRow { juce::DocumentWindow::maximiseButton, "maximise" },
                                               FactoryRow { 0, nullptr },
                                               FactoryRow { 3, nullptr },
                                               FactoryRow { 7, nullptr }));
} // namespace
