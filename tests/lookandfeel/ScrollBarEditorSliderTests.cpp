#include "DrawingHelpers.h"
#include "lookandfeel/TemplateLookAndFeel.h"

using juce::Colour;
using Kind = RecordingContext::Kind;

namespace
{
    class DrawingTest : public testing::Test
    {
    protected:
        TemplateLookAndFeel lookAndFeel;
        RecordingContext context;
        juce::Graphics g { context };
    };

    //==============================================================================
    struct ScrollRow
    {
        int width;
        float slotIndent, thumbIndent;
    };

    class ScrollBarTest : public DrawingTest,
                          public testing::WithParamInterface<ScrollRow>
    {
    };

    TEST_P (ScrollBarTest, TrackAndThumbAreInsetByTheBarWidth)
    {
        const auto& row = GetParam();
        juce::ScrollBar bar (true);
        const auto w = (float) row.width;
        lookAndFeel.drawScrollbar (g, bar, 0, 0, row.width, 100, true, 20, 30, false, false);

        const auto fills = context.fills();
        ASSERT_EQ (fills.size(), 5u); // track twice, thumb, far-half shade, thumb outline (the background is transparent)

        const auto s = row.slotIndent;
        const auto t = row.thumbIndent;

        juce::Path slot, thumb;
        slot.addRoundedRectangle (s, s, w - 2 * s, 100.0f - 2 * s, (w - 2 * s) * 0.5f);
        thumb.addRoundedRectangle (t, 20.0f + t, w - 2 * t, 30.0f - 2 * t, (w - 2 * t) * 0.5f);

        EXPECT_TRUE (coverSameArea (fills[0].path, slot));
        EXPECT_TRUE (coverSameArea (fills[2].path, thumb));

        // Track shading across the bar, then towards the far side.
        expectStops (fills[0], { { 0.0, Colour (0xffb9b9b9) }, { 1.0, Colour (0xffe4e4e4) } });
        expectPoint (fills[0].fill.gradient->point2, { w * 0.7f, 0.0f });
        expectStops (fills[1], { { 0.0, Colour (0x00000000) }, { 1.0, Colour (0x1a000000) } });
        expectPoint (fills[1].fill.gradient->point1, { w * 0.6f, 0.0f });

        EXPECT_EQ (RecordingContext::colourOf (fills[2]).getARGB(), 0xffffffffu);

        const auto clips = context.ofKind (Kind::clip);
        ASSERT_EQ (clips.size(), 1u);
        EXPECT_FLOAT_EQ (clips[0].bounds.getX(), (float) (row.width / 2));
        expectStops (fills[3], { { 0.0, Colour (0x0d000000) }, { 1.0, Colour (0x00000000) } });

        EXPECT_EQ (RecordingContext::colourOf (fills[4]).getARGB(), 0x4c000000u);
        EXPECT_NEAR (strokeThickness (fills[4], fills[2].bounds), 0.4f, 0.05f);
    }

    INSTANTIATE_TEST_SUITE_P (Widths, ScrollBarTest,
                              testing::Values (ScrollRow { 18, 1.0f, 2.0f },
                                               ScrollRow { 16, 1.0f, 2.0f },
                                               ScrollRow { 15, 0.0f, 1.0f },
                                               ScrollRow { 10, 0.0f, 1.0f }));

    TEST_F (DrawingTest, HorizontalScrollBarShadesDownwardsAndClipsTheLowerHalf)
    {
        juce::ScrollBar bar (false);
        lookAndFeel.drawScrollbar (g, bar, 0, 0, 100, 18, false, 10, 40, false, false);

        const auto fills = context.fills();
        ASSERT_EQ (fills.size(), 5u);
        expectRect (fills[2].bounds, { 12.0f, 2.0f, 36.0f, 14.0f });
        expectPoint (fills[0].fill.gradient->point2, { 0.0f, 18.0f * 0.7f });
        EXPECT_FLOAT_EQ (context.ofKind (Kind::clip)[0].bounds.getY(), 9.0f);
    }

    TEST_F (DrawingTest, ScrollBarWithoutThumbDrawsOnlyTheTrack)
    {
        juce::ScrollBar bar (true);
        lookAndFeel.drawScrollbar (g, bar, 0, 0, 18, 100, true, 0, 0, false, false);

        EXPECT_EQ (context.fills().size(), 2u);
        EXPECT_TRUE (context.ofKind (Kind::clip).empty());
    }

    //==============================================================================
    struct ArrowRow
    {
        int direction;
        bool down;
        juce::Rectangle<float> bounds; // of a 20 × 10 button
        juce::uint32 colour;
    };

    class ScrollBarButtonTest : public DrawingTest,
                                public testing::WithParamInterface<ArrowRow>
    {
    };

    TEST_P (ScrollBarButtonTest, TrianglePerDirection)
    {
        const auto& row = GetParam();
        juce::ScrollBar bar (true);
        lookAndFeel.drawScrollbarButton (g, bar, 20, 10, row.direction, true, false, row.down);

        const auto fills = context.fills();
        ASSERT_EQ (fills.size(), 2u);
        expectRect (fills[0].bounds, row.bounds);
        EXPECT_EQ (RecordingContext::colourOf (fills[0]).getARGB(), row.colour);
        EXPECT_EQ (RecordingContext::colourOf (fills[1]).getARGB(), 0x80000000u);
        EXPECT_TRUE (fills[1].bounds.contains (fills[0].bounds));
    }

    INSTANTIATE_TEST_SUITE_P (Directions, ScrollBarButtonTest,
                              testing::Values (ArrowRow { 0, false, { 2.0f, 2.0f, 16.0f, 5.0f }, 0xffffffff },
                                               ArrowRow { 1, false, { 6.0f, 1.0f, 10.0f, 8.0f }, 0xffffffff },
                                               ArrowRow { 2, true, { 2.0f, 3.0f, 16.0f, 5.0f }, 0xffcbcbcb },
                                               ArrowRow { 3, true, { 4.0f, 1.0f, 10.0f, 8.0f }, 0xffcbcbcb }));

    TEST_F (DrawingTest, ScrollBarButtonOfUnknownDirectionDrawsNothing)
    {
        juce::ScrollBar bar (true);
        lookAndFeel.drawScrollbarButton (g, bar, 20, 10, 7, true, false, false);
        EXPECT_TRUE (context.fills().empty());
    }

    TEST_F (DrawingTest, NoEffectsOnScrollBarsOrSliders)
    {
        juce::Slider slider;
        EXPECT_EQ (lookAndFeel.getScrollbarEffect(), nullptr);
        EXPECT_EQ (lookAndFeel.getSliderEffect (slider), nullptr);
    }

    //==============================================================================
    struct EditorRow
    {
        bool enabled, readOnly;
        int outlineThickness; // 0: nothing drawn
        int bevelThickness;
    };

    class TextEditorOutlineTest : public DrawingTest,
                                  public testing::WithParamInterface<EditorRow>
    {
    };

    TEST_P (TextEditorOutlineTest, UnfocusedEditorGetsOwnOutlineAndThreePixelBevel)
    {
        const auto& row = GetParam();
        // Unfocused only: focus needs a window on the desktop.
        juce::Component window;
        juce::TextEditor editor;
        editor.setLookAndFeel (&lookAndFeel);
        editor.setColour (juce::TextEditor::outlineColourId, Colour (0xff112233));
        window.setSize (200, 100);
        window.addAndMakeVisible (editor);
        editor.setBounds (0, 0, 200, 100);
        editor.setReadOnly (row.readOnly);
        editor.setEnabled (row.enabled);

        lookAndFeel.drawTextEditorOutline (g, 200, 100, editor);
        editor.setLookAndFeel (nullptr);

        const auto fills = context.fills();

        if (row.outlineThickness == 0)
        {
            EXPECT_TRUE (fills.empty());
            return;
        }

        ASSERT_EQ (fills.size(), 1u + 4u * (size_t) row.bevelThickness);
        EXPECT_FLOAT_EQ (fills[0].rects.front().getHeight(), (float) row.outlineThickness);

        EXPECT_EQ (RecordingContext::colourOf (fills[0]).getARGB(), 0xff112233u);

        // The bevel's outermost top line: the shadow at full strength, 2 pixels taller than the editor.
        const auto shadow = Colour (0x38000000);
        const auto& outermost = fills[fills.size() - 4];
        EXPECT_EQ (RecordingContext::colourOf (outermost).getARGB(), shadow.getARGB());
        expectRect (outermost.bounds, { 0.0f, 0.0f, 200.0f, 1.0f });
        expectRect (fills.back().bounds, { 199.0f, 1.0f, 1.0f, 100.0f });
    }

    INSTANTIATE_TEST_SUITE_P (States, TextEditorOutlineTest,
                              testing::Values (EditorRow { true, true, 1, 3 },
                                               EditorRow { true, false, 1, 3 },
                                               EditorRow { false, false, 0, 0 }));

    //==============================================================================
    struct RadiusRow
    {
        int width, height, radius;
    };

    class ThumbRadiusTest : public testing::TestWithParam<RadiusRow>
    {
    };

    TEST_P (ThumbRadiusTest, SmallestOfSevenAndHalfTheSides)
    {
        TemplateLookAndFeel lookAndFeel;
        juce::Slider slider;
        slider.setSize (GetParam().width, GetParam().height);
        EXPECT_EQ (lookAndFeel.getSliderThumbRadius (slider), GetParam().radius);
    }

    INSTANTIATE_TEST_SUITE_P (Sizes, ThumbRadiusTest,
                              testing::Values (RadiusRow { 100, 20, 7 }, RadiusRow { 100, 10, 5 },
                                               RadiusRow { 11, 100, 5 }, RadiusRow { 100, 15, 7 }));

    TEST_F (DrawingTest, HorizontalSliderTrackAndBall)
    {
        juce::Slider slider (juce::Slider::LinearHorizontal, juce::Slider::NoTextBox);
        slider.setLookAndFeel (&lookAndFeel);
        slider.setBounds (0, 0, 100, 20);

        lookAndFeel.drawLinearSlider (g, 0, 0, 100, 20, 40.0f, 0.0f, 100.0f, juce::Slider::LinearHorizontal, slider);
        slider.setLookAndFeel (nullptr);

        const auto fills = context.fills();
        ASSERT_EQ (fills.size(), 6u); // track, its outline, then the ball's four parts

        expectRect (fills[0].bounds, { 0.0f, 6.5f, 100.0f, 7.0f });
        const auto track = Colour (0x80ffffff);
        expectStops (fills[0], { { 0.0, track.overlaidWith (juce::Colours::black.withAlpha (0.25f)) },
                                 { 1.0, track.overlaidWith (juce::Colours::black.withAlpha (0.08f)) } });
        EXPECT_EQ (RecordingContext::colourOf (fills[1]).getARGB(), 0x4c000000u);
        EXPECT_NEAR (strokeThickness (fills[1], fills[0].bounds), 0.5f, 0.05f);

        expectRect (fills[2].bounds, { 33.0f, 3.0f, 14.0f, 14.0f });
        EXPECT_NEAR (strokeThickness (fills[5], fills[2].bounds), 0.8f, 0.05f);
    }

    TEST_F (DrawingTest, BarSliderFillsToTheThumbOnAHalfWhiteBackground)
    {
        juce::Slider slider (juce::Slider::LinearBar, juce::Slider::NoTextBox);
        slider.setBounds (0, 0, 100, 20);

        lookAndFeel.drawLinearSlider (g, 0, 0, 100, 20, 60.0f, 0.0f, 100.0f, juce::Slider::LinearBar, slider);

        const auto fills = context.fills();
        ASSERT_EQ (fills.size(), 3u);
        EXPECT_EQ (RecordingContext::colourOf (fills[0]).getARGB(), 0x80ffffffu);
        expectRect (fills[1].bounds, { 0.0f, 0.0f, 60.0f, 20.0f });
        EXPECT_NEAR (strokeThickness (fills[2], fills[1].bounds), 0.9f, 0.05f);
    }

    TEST_F (DrawingTest, SliderButtonsArePlusAndMinus)
    {
        juce::Slider slider;
        std::unique_ptr<juce::Button> increment (lookAndFeel.createSliderButton (slider, true));
        std::unique_ptr<juce::Button> decrement (lookAndFeel.createSliderButton (slider, false));

        ASSERT_NE (dynamic_cast<juce::TextButton*> (increment.get()), nullptr);
        EXPECT_EQ (increment->getButtonText(), "+");
        EXPECT_EQ (decrement->getButtonText(), "-");
        EXPECT_TRUE (increment->getTooltip().isEmpty());
    }

    //==============================================================================
    TEST_F (DrawingTest, CornerResizerDrawsFourLightAndDarkLinePairs)
    {
        lookAndFeel.drawCornerResizer (g, 20, 20, false, false);

        const auto fills = context.fills();
        ASSERT_EQ (fills.size(), 8u);

        for (size_t i = 0; i < fills.size(); ++i)
            EXPECT_EQ (RecordingContext::colourOf (fills[i]).getARGB(), i % 2 == 0 ? 0xffd3d3d3u : 0xff555555u);

        // Lines 1.5 thick: light from (0, 21) to (21, 0) first, from (18, 21) to (21, 18) last.
        const auto expectLine = [] (const RecordingContext::Call& c, juce::Point<float> a, juce::Point<float> b)
        {
            const juce::Line<float> line (a, b);
            const auto normal = juce::Point<float> (1.0f, 1.0f) / std::sqrt (2.0f);
            EXPECT_TRUE (c.path.contains (line.getPointAlongLineProportionally (0.5f)));
            EXPECT_TRUE (c.path.contains (line.getPointAlongLineProportionally (0.5f) + normal * 0.7f));
            EXPECT_FALSE (c.path.contains (line.getPointAlongLineProportionally (0.5f) + normal * 0.8f));
            expectPoint (c.bounds.getCentre(), line.getPointAlongLineProportionally (0.5f));
        };

        expectLine (fills[0], { 0.0f, 21.0f }, { 21.0f, 0.0f });
        expectLine (fills[1], { 1.5f, 21.0f }, { 21.0f, 1.5f });
        expectLine (fills[6], { 18.0f, 21.0f }, { 21.0f, 18.0f });
    }
} // namespace
