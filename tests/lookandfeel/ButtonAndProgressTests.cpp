#include "DrawingHelpers.h"
#include "lookandfeel/TemplateLookAndFeel.h"

using juce::Colour;
using Kind = RecordingContext::Kind;

namespace
{
    class WidgetDrawingTest : public testing::Test
    {
    protected:
        TemplateLookAndFeel lookAndFeel;
        RecordingContext context;
        juce::Graphics g { context };
    };

    //==============================================================================
    struct ButtonRow
    {
        int connectedEdges;
        bool enabled, over, down;
        float thickness;
        juce::uint32 bodyColour; // of a white button, at the 0.4 stop
    };

    class ButtonBackgroundTest : public WidgetDrawingTest,
                                 public testing::WithParamInterface<ButtonRow>
    {
    };

    TEST_P (ButtonBackgroundTest, InsetsThicknessAndColourFollowTheState)
    {
        const auto& row = GetParam();
        juce::TextButton button ("update");
        button.setBounds (0, 0, 94, 30);
        button.setConnectedEdges (row.connectedEdges);
        button.setEnabled (row.enabled);

        lookAndFeel.drawButtonBackground (g, button, juce::Colours::white, row.over, row.down);

        const auto fills = context.fills();
        ASSERT_GE (fills.size(), 3u);

        const auto half = row.thickness * 0.5f;
        const auto inset = [&] (int flag) { return (row.connectedEdges & flag) != 0 ? 0.1f : half; };
        const auto l = inset (juce::Button::ConnectedOnLeft);
        const auto r = inset (juce::Button::ConnectedOnRight);
        const auto t = inset (juce::Button::ConnectedOnTop);
        const auto b = inset (juce::Button::ConnectedOnBottom);

        expectRect (fills.front().bounds, { l, t, 94.0f - l - r, 30.0f - t - b });
        EXPECT_EQ (stopsOf (fills.front())[2].second.getARGB(), row.bodyColour);
        EXPECT_NEAR (strokeThickness (fills.back(), fills.front().bounds), row.thickness, 0.05f);

        // No end shading on a connected left side.
        const auto clips = context.ofKind (Kind::clip);
        const bool leftShaded = ! clips.empty() && clips.front().bounds.getX() < 1.0f;
        EXPECT_EQ (leftShaded, (row.connectedEdges & juce::Button::ConnectedOnLeft) == 0);
    }

    INSTANTIATE_TEST_SUITE_P (
        States, ButtonBackgroundTest,
        testing::Values (
            ButtonRow { 0, true, false, false, 0.7f, 0xffffffff },
            ButtonRow { 0, true, true, false, 1.2f, 0xffe4e4e4 },
            ButtonRow { 0, true, false, true, 1.2f, 0xffcbcbcb },
            ButtonRow { juce::Button::ConnectedOnLeft, true, false, false, 0.7f, 0xffffffff },
            ButtonRow { juce::Button::ConnectedOnLeft | juce::Button::ConnectedOnTop, true, true, true, 1.2f, 0xffcbcbcb },
            ButtonRow { 0, false, false, false, 0.4f, 0x80ffffff },
            ButtonRow { 0, false, true, true, 0.4f, 0x80cbcbcb }));

    //==============================================================================
    struct TickRow
    {
        bool ticked, enabled, over;
        float thickness;
        juce::uint32 tickColour;
    };

    class TickBoxTest : public WidgetDrawingTest,
                        public testing::WithParamInterface<TickRow>
    {
    };

    TEST_P (TickBoxTest, BallAtTheLeftAndATickOfFixedWidth)
    {
        const auto& row = GetParam();
        juce::ToggleButton toggle;
        lookAndFeel.drawTickBox (g, toggle, 5.0f, 7.0f, 20.0f, 20.0f, row.ticked, row.enabled, row.over, false);

        const auto fills = context.fills();
        ASSERT_EQ (fills.size(), row.ticked ? 5u : 4u);

        // The ball: 14 across at (x, y + 3).
        expectRect (fills[0].bounds, { 5.0f, 10.0f, 14.0f, 14.0f });
        EXPECT_NEAR (strokeThickness (fills[3], fills[0].bounds), row.thickness, 0.05f);

        const auto base = TemplateLookAndFeel::createBaseColour (
            Colour (0xb2808080).withMultipliedAlpha (row.enabled ? 1.0f : 0.5f), true, row.over, false);
        EXPECT_EQ (stopsOf (fills[0])[1].second.getARGB(), juce::Colours::white.overlaidWith (base).getARGB());

        if (! row.ticked)
            return;

        const auto& tick = fills[4];
        EXPECT_EQ (RecordingContext::colourOf (tick).getARGB(), row.tickColour);

        // Along both strokes, between the corners (x + 3.33, y + 6.67), (x + 6.67, y + 13.33), (x + 13.33, y),
        // the tick covers the line and reaches 1.25 to each side, no further.
        const juce::Point<float> corners[] = { { 8.33f, 13.67f }, { 11.67f, 20.33f }, { 18.33f, 7.0f } };

        // Kept away from the joint, where the two strokes meet.
        const std::vector<float> alongs[] = { { 0.25f, 0.5f }, { 0.5f, 0.75f } };

        for (int segment = 0; segment < 2; ++segment)
        {
            const juce::Line<float> line (corners[segment], corners[segment + 1]);
            const auto normal = juce::Point<float> (-(line.getEndY() - line.getStartY()), line.getEndX() - line.getStartX())
                                / line.getLength();

            for (const auto along : alongs[segment])
            {
                const auto p = line.getPointAlongLineProportionally (along);
                EXPECT_TRUE (tick.path.contains (p));
                EXPECT_TRUE (tick.path.contains (p + normal * 1.1f));
                EXPECT_FALSE (tick.path.contains (p + normal * 1.4f));
                EXPECT_FALSE (tick.path.contains (p - normal * 1.4f));
            }
        }
    }

    INSTANTIATE_TEST_SUITE_P (States, TickBoxTest,
                              testing::Values (TickRow { true, true, false, 0.5f, 0xff000000 },
                                               TickRow { true, true, true, 1.1f, 0xff000000 },
                                               TickRow { true, false, false, 0.3f, 0xff808080 },
                                               TickRow { false, true, false, 0.5f, 0 }));

    //==============================================================================
    struct ProgressRow
    {
        double progress;
        float filled; // of a 100-wide bar
    };

    class ProgressBarTest : public WidgetDrawingTest,
                            public testing::WithParamInterface<ProgressRow>
    {
    };

    TEST_P (ProgressBarTest, FrameAndFilledPartWithinIt)
    {
        const auto& row = GetParam();
        double value = 0.0;
        juce::ProgressBar bar (value);
        bar.setLookAndFeel (&lookAndFeel);
        bar.setBounds (0, 0, 100, 30);

        lookAndFeel.drawProgressBar (g, bar, 100, 30, row.progress, {});
        bar.setLookAndFeel (nullptr);

        const auto fills = context.fills();
        ASSERT_GE (fills.size(), 2u);
        EXPECT_EQ (RecordingContext::colourOf (fills[0]).getARGB(), 0xffffffffu);
        EXPECT_TRUE (fills[0].bounds.contains (juce::Rectangle<float> (0.0f, 0.0f, 100.0f, 30.0f)));

        // The one-pixel frame.
        EXPECT_EQ (RecordingContext::colourOf (fills[1]).getARGB(), 0xffcbcbcbu);
        expectRect (fills[1].bounds, { 0.0f, 0.0f, 100.0f, 30.0f });
        ASSERT_EQ (fills[1].rects.size(), 4u);
        EXPECT_FLOAT_EQ (fills[1].rects[0].getHeight(), 1.0f);

        if (row.filled == 0.0f)
        {
            EXPECT_EQ (fills.size(), 2u);
            return;
        }

        ASSERT_EQ (fills.size(), 5u); // body, highlight and rim of an all-flat lozenge
        expectRect (fills[2].bounds, { 1.0f, 1.0f, row.filled, 28.0f });
        expectStops (fills[2], { { 0.0, Colour (0xffafafaf) },
                                 { 0.03, Colour (0x4cd3d3d3) },
                                 { 0.4, Colour (0xffd3d3d3) },
                                 { 0.97, Colour (0x4cd3d3d3) },
                                 { 1.0, Colour (0xffafafaf) } });
        // JUCE 7's brighter (10.0) of 0xffd3d3d3 is 0xfffbfbfb.
        expectStops (fills[3], { { 0.0, Colour (0xffd3d3d3).brighter (10.0f) }, { 1.0, juce::Colours::transparentWhite } });
        EXPECT_EQ (RecordingContext::colourOf (fills[4]).getARGB(), 0xff969696u);
        EXPECT_NEAR (strokeThickness (fills[4], fills[2].bounds), 0.5f, 0.05f);
        EXPECT_TRUE (context.ofKind (Kind::clip).empty());
    }

    INSTANTIATE_TEST_SUITE_P (Values, ProgressBarTest,
                              testing::Values (ProgressRow { -0.5, 0.0f },
                                               ProgressRow { 0.0, 0.0f },
                                               ProgressRow { 0.5, 49.0f },
                                               ProgressRow { 1.0, 98.0f },
                                               ProgressRow { 1.5, 98.0f }));

    TEST_F (WidgetDrawingTest, ProgressBarShowsItsTextCentred)
    {
        double value = 0.5;
        juce::ProgressBar bar (value);
        bar.setLookAndFeel (&lookAndFeel);

        lookAndFeel.drawProgressBar (g, bar, 200, 30, 0.5, "50%");
        bar.setLookAndFeel (nullptr);

        const auto glyphs = context.ofKind (Kind::glyph);
        ASSERT_EQ (glyphs.size(), 3u);
        EXPECT_NEAR (glyphs[0].font.getHeight(), 18.0f, 0.01f);

        const auto left = glyphs.front().origin.x;
        const auto right = glyphs.back().origin.x + glyphs.back().font.getStringWidthFloat ("%");
        EXPECT_NEAR ((left + right) * 0.5f, 100.0f, 1.0f);
        EXPECT_EQ (RecordingContext::colourOf (glyphs[0]).getARGB(),
                   Colour::contrasting (juce::Colours::white, Colour (0xffd3d3d3)).getARGB());
    }

    //==============================================================================
    // Pixels: the update button joins the progress bar on its left without a seam.
    TEST (UpdateButtonPixels, JoinsTheProgressBarWithoutASeam)
    {
        TemplateLookAndFeel lookAndFeel;
        const Colour background (0xffeff2f3);

        juce::Component panel;
        panel.setLookAndFeel (&lookAndFeel);
        panel.setSize (216, 40);

        double value = 0.5;
        juce::ProgressBar bar (value);
        juce::TextButton button ("update");
        button.setConnectedEdges (juce::Button::ConnectedOnLeft);
        button.setColour (juce::TextButton::buttonColourId, Colour (0xff7ebf7e));
        button.setColour (juce::TextButton::buttonOnColourId, Colour (0xff7ebf7e));
        panel.addAndMakeVisible (bar);
        panel.addAndMakeVisible (button);
        bar.setBounds (10, 5, 112, 30);
        button.setBounds (122, 5, 94, 30);

        juce::Image image (juce::Image::ARGB, 216, 40, true);
        {
            juce::Graphics ig (image);
            ig.fillAll (background);
            panel.paintEntireComponent (ig, false);
        }
        panel.setLookAndFeel (nullptr);

        const int mid = 20;

        // Across the joint nothing of the window shows through.
        for (int x = 119; x <= 125; ++x)
            EXPECT_NE (image.getPixelAt (x, mid).getARGB(), background.getARGB()) << "x " << x;

        // The button's left corners are square, its right ones rounded.
        EXPECT_NE (image.getPixelAt (122, 5).getARGB(), background.getARGB());
        EXPECT_NE (image.getPixelAt (122, 34).getARGB(), background.getARGB());
        EXPECT_EQ (image.getPixelAt (215, 5).getARGB(), background.getARGB());
        EXPECT_EQ (image.getPixelAt (215, 34).getARGB(), background.getARGB());

        // End shading darkens the right end only (the reference is left of the text).
        const auto centre = image.getPixelAt (137, mid).getBrightness();
        EXPECT_NEAR (image.getPixelAt (123, mid).getBrightness(), centre, 0.03f);
        EXPECT_LT (image.getPixelAt (212, mid).getBrightness(), centre - 0.05f);
    }
} // namespace
