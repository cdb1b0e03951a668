#include "DrawingHelpers.h"
#include "lookandfeel/GlassWindowButton.h"
#include "lookandfeel/TemplateLookAndFeel.h"

using juce::Colour;

namespace
{
    juce::Path unitCross()
    {
        juce::Path p;
        p.addLineSegment ({ 0.0f, 0.0f, 1.0f, 1.0f }, 0.35f);
        p.addLineSegment ({ 1.0f, 0.0f, 0.0f, 1.0f }, 0.35f);
        return p;
    }

    std::vector<RecordingContext::Call> paint (GlassWindowButton& button, bool over, bool down)
    {
        RecordingContext context;
        juce::Graphics g (context);
        button.paintButton (g, over, down);
        return context.fills();
    }

    //==============================================================================
    struct AlphaRow
    {
        bool enabled, over, down;
        float alpha;
    };

    class GlassButtonAlphaTest : public testing::TestWithParam<AlphaRow>
    {
    };

    TEST_P (GlassButtonAlphaTest, RimBallAndGlyphFollowTheState)
    {
        const auto& row = GetParam();
        const Colour colour (0xff3273a1);
        GlassWindowButton button ("close", colour, unitCross(), unitCross());
        button.setSize (23, 26);
        button.setEnabled (row.enabled);

        const auto fills = paint (button, row.over, row.down);
        ASSERT_EQ (fills.size(), 6u); // rim, four sphere parts, glyph

        // Rim circle: light grey at the bottom, darker at the top.
        expectRect (fills[0].bounds, { 1.15f, 2.65f, 20.7f, 20.7f }, 0.02f);
        expectStops (fills[0], { { 0.0, Colour::greyLevel (0.9f).withAlpha (row.alpha) },
                                 { 1.0, Colour::greyLevel (0.6f).withAlpha (row.alpha) } });
        expectPoint (fills[0].fill.gradient->point1, { 0.0f, 2.65f + 20.7f }, 0.02f);

        // The ball, in the button's colour at that alpha.
        expectRect (fills[1].bounds, { 3.15f, 4.65f, 16.7f, 16.7f }, 0.02f);
        EXPECT_EQ (stopsOf (fills[1])[1].second.getARGB(),
                   juce::Colours::white.overlaidWith (colour.withAlpha (row.alpha)).getARGB());

        // The glyph fits the square of 6.68 at (8.16, 9.66).
        expectRect (fills[5].bounds, { 8.16f, 9.66f, 6.68f, 6.68f }, 0.02f);
        EXPECT_EQ (RecordingContext::colourOf (fills[5]).getARGB(),
                   juce::Colours::black.withAlpha (row.alpha * 0.6f).getARGB());
    }

    INSTANTIATE_TEST_SUITE_P (
        States, GlassButtonAlphaTest,
        testing::Values (AlphaRow { true, false, false, 0.55f },
                         AlphaRow { true, true, false, 0.8f },
                         AlphaRow { true, true, true, 1.0f },
                         AlphaRow { true, false, true, 0.55f }, // pressed, dragged off
                         AlphaRow { false, false, false, 0.275f },
                         AlphaRow { false, true, true, 0.5f }));

    //==============================================================================
    struct ShapeRow
    {
        int width, height;
        juce::Rectangle<float> rim;
    };

    class GlassButtonShapeTest : public testing::TestWithParam<ShapeRow>
    {
    };

    TEST_P (GlassButtonShapeTest, CircleAsLargeAsTheShorterSideCentredOnTheLonger)
    {
        GlassWindowButton button ("b", Colour (0xff9299a5), unitCross(), unitCross());
        button.setSize (GetParam().width, GetParam().height);

        expectRect (paint (button, false, false)[0].bounds, GetParam().rim, 0.02f);
    }

    INSTANTIATE_TEST_SUITE_P (Sizes, GlassButtonShapeTest,
                              testing::Values (ShapeRow { 30, 20, { 6.0f, 1.0f, 18.0f, 18.0f } },
                                               ShapeRow { 20, 20, { 1.0f, 1.0f, 18.0f, 18.0f } },
                                               ShapeRow { 20, 30, { 1.0f, 6.0f, 18.0f, 18.0f } }));

    //==============================================================================
    TEST (GlassButtonGlyph, ToggleSwapsOnlyTheGlyph)
    {
        TemplateLookAndFeel lookAndFeel;
        std::unique_ptr<juce::Button> maximise (lookAndFeel.createDocumentWindowButton (juce::DocumentWindow::maximiseButton));
        auto& button = dynamic_cast<GlassWindowButton&> (*maximise);
        button.setSize (23, 26);

        const auto normal = paint (button, false, false);
        button.setToggleState (true, juce::dontSendNotification);
        const auto toggled = paint (button, false, false);

        ASSERT_EQ (normal.size(), toggled.size());

        for (size_t i = 0; i + 1 < normal.size(); ++i)
            expectRect (normal[i].bounds, toggled[i].bounds);

        // The plus sign leaves its square's corners empty; the restore picture covers its top-left one.
        const auto& plus = normal.back().path;
        const auto& restore = toggled.back().path;
        EXPECT_FALSE (plus.contains (8.5f, 10.0f));
        EXPECT_TRUE (restore.contains (8.5f, 10.0f));
        EXPECT_TRUE (plus.contains (11.5f, 13.0f));
        EXPECT_EQ (RecordingContext::colourOf (normal.back()).getARGB(), RecordingContext::colourOf (toggled.back()).getARGB());
    }

    TEST (GlassButtonGlyph, KeepsItsProportions)
    {
        TemplateLookAndFeel lookAndFeel;
        std::unique_ptr<juce::Button> minimise (lookAndFeel.createDocumentWindowButton (juce::DocumentWindow::minimiseButton));
        auto& button = dynamic_cast<GlassWindowButton&> (*minimise);
        button.setSize (23, 26);

        // A bar four times as wide as tall: the whole width, a quarter of the height, centred.
        expectRect (paint (button, false, false).back().bounds, { 8.16f, 9.66f + 6.68f * 0.375f, 6.68f, 6.68f * 0.25f }, 0.02f);
    }

    TEST (GlassButtonGlyph, FactoryColoursTheBalls)
    {
        TemplateLookAndFeel lookAndFeel;

        for (const auto& [type, colour] : { std::pair<int, Colour> { juce::DocumentWindow::minimiseButton, lookAndFeel.minimiseButtonColour },
                                            std::pair<int, Colour> { juce::DocumentWindow::maximiseButton, lookAndFeel.maximiseButtonColour },
                                            std::pair<int, Colour> { juce::DocumentWindow::closeButton, lookAndFeel.closeButtonColour } })
        {
            std::unique_ptr<juce::Button> made (lookAndFeel.createDocumentWindowButton (type));
            auto& button = dynamic_cast<GlassWindowButton&> (*made);
            button.setSize (23, 26);

            EXPECT_EQ (stopsOf (paint (button, true, true)[1])[1].second.getARGB(),
                       juce::Colours::white.overlaidWith (colour).getARGB()) << type;
        }
    }
} // namespace
