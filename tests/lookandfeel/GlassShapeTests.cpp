#include "DrawingHelpers.h"
#include "lookandfeel/TemplateLookAndFeel.h"

using juce::Colour;
using juce::Rectangle;
using Kind = RecordingContext::Kind;

namespace
{
    struct Recording
    {
        RecordingContext context;
        juce::Graphics g { context };
    };

    //==============================================================================
    struct CornerRow
    {
        bool topLeft, topRight, bottomLeft, bottomRight;
    };

    class RoundedPathTest : public testing::TestWithParam<CornerRow>
    {
    };

    TEST_P (RoundedPathTest, RoundsExactlyTheChosenCorners)
    {
        const auto& row = GetParam();
        juce::Path p;
        TemplateLookAndFeel::createRoundedPath (p, 10.0f, 20.0f, 60.0f, 30.0f, 8.0f,
                                                row.topLeft, row.topRight, row.bottomLeft, row.bottomRight);

        expectRect (p.getBounds(), { 10.0f, 20.0f, 60.0f, 30.0f });

        // A point just inside each corner lies outside a rounded one.
        EXPECT_EQ (p.contains (10.5f, 20.5f), ! row.topLeft);
        EXPECT_EQ (p.contains (69.5f, 20.5f), ! row.topRight);
        EXPECT_EQ (p.contains (10.5f, 49.5f), ! row.bottomLeft);
        EXPECT_EQ (p.contains (69.5f, 49.5f), ! row.bottomRight);

        // The arcs are quarter circles of the corner size.
        EXPECT_TRUE (p.contains (10.0f + 8.0f - 5.5f, 20.0f + 8.0f - 5.5f));
    }

    INSTANTIATE_TEST_SUITE_P (Corners, RoundedPathTest,
                              testing::Values (CornerRow { true, true, true, true },
                                               CornerRow { false, false, false, false },
                                               CornerRow { true, false, false, false },
                                               CornerRow { false, true, true, false },
                                               CornerRow { false, true, false, true }));

    //==============================================================================
    TEST (GlassLozenge, HundredByThirtyBarMatchesItsNumbers)
    {
        Recording r;
        const Colour colour (0xff7ebf7e);
        TemplateLookAndFeel::drawGlassLozenge (r.g, 10.0f, 5.0f, 100.0f, 30.0f, colour, 1.0f,
                                               false, false, false, false);

        const auto fills = r.context.fills();
        ASSERT_EQ (fills.size(), 5u); // body, two ends, highlight, rim

        // Body: vertical gradient over the bar.
        expectPoint (fills[0].fill.gradient->point1, { 0.0f, 5.0f });
        expectPoint (fills[0].fill.gradient->point2, { 0.0f, 35.0f });
        EXPECT_FALSE (fills[0].fill.gradient->isRadial);

        // Both ends: radial, radius 22.5, stops at 1 - 7.5 / 22.5 and 1 - 3.75 / 22.5.
        for (int end = 1; end <= 2; ++end)
        {
            const auto& shading = *fills[(size_t) end].fill.gradient;
            EXPECT_TRUE (shading.isRadial);
            EXPECT_NEAR (shading.point1.getDistanceFrom (shading.point2), 22.5f, 0.001f);
            expectStops (fills[(size_t) end], { { 0.0, juce::Colours::transparentBlack },
                                                { 0.6667, juce::Colours::transparentBlack },
                                                { 0.8333, colour.darker (0.2f).withMultipliedAlpha (0.3f) },
                                                { 1.0, colour.darker (0.2f) } });
        }

        expectPoint (fills[1].fill.gradient->point1, { 32.5f, 20.0f });
        expectPoint (fills[2].fill.gradient->point1, { 87.5f, 20.0f });
        expectPoint (fills[2].fill.gradient->point2, { 110.0f, 20.0f });

        // The ends are clipped to 22 pixels on the left and 24 on the right.
        const auto clips = r.context.ofKind (Kind::clip);
        ASSERT_EQ (clips.size(), 2u);
        expectRect (clips[0].bounds, { 10.0f, 5.0f, 22.0f, 30.0f });
        expectRect (clips[1].bounds, { 88.0f, 5.0f, 24.0f, 30.0f });
        EXPECT_EQ (r.context.ofKind (Kind::save).size(), 2u);
        EXPECT_EQ (r.context.ofKind (Kind::restore).size(), 2u);

        // Highlight: 12 high, 1.5 below the top, 6 in from each rounded end.
        expectRect (fills[3].bounds, { 16.0f, 6.5f, 88.0f, 12.0f });
        expectStops (fills[3], { { 0.0, colour.brighter (10.0f) }, { 1.0, juce::Colours::transparentWhite } });
        expectPoint (fills[3].fill.gradient->point1, { 0.0f, 5.0f + 1.8f });
        expectPoint (fills[3].fill.gradient->point2, { 0.0f, 5.0f + 12.0f });

        // Rim: colour darker 0.4 at 1.5 × alpha, stroked as thick as asked.
        EXPECT_EQ (RecordingContext::colourOf (fills[4]).getARGB(), colour.darker (0.4f).getARGB());
        EXPECT_NEAR (strokeThickness (fills[4], fills[0].bounds), 1.0f, 0.05f);
    }

    TEST (GlassLozenge, BodyStopsAreDarkerEdgesAndFadedBands)
    {
        Recording r;
        const Colour colour (0xffd3d3d3);
        TemplateLookAndFeel::drawGlassLozenge (r.g, 1.0f, 1.0f, 50.0f, 28.0f, colour, 0.5f, true, true, true, true);

        expectStops (r.context.fills()[0], { { 0.0, Colour (0xffafafaf) },
                                             { 0.03, Colour (0x4cd3d3d3) },
                                             { 0.4, Colour (0xffd3d3d3) },
                                             { 0.97, Colour (0x4cd3d3d3) },
                                             { 1.0, Colour (0xffafafaf) } });
    }

    //==============================================================================
    struct FlatRow
    {
        bool left, right, top, bottom;
        bool leftShading, rightShading;
        float highlightX, highlightW; // for a 100 × 30 bar at the origin
    };

    class LozengeFlatTest : public testing::TestWithParam<FlatRow>
    {
    };

    TEST_P (LozengeFlatTest, FlatSidesDropShadingAndReachTheHighlight)
    {
        const auto& row = GetParam();
        Recording r;
        TemplateLookAndFeel::drawGlassLozenge (r.g, 0.0f, 0.0f, 100.0f, 30.0f, Colour (0xffffffff), 0.7f,
                                               row.left, row.right, row.top, row.bottom);

        const auto clips = r.context.ofKind (Kind::clip);
        const auto fills = r.context.fills();
        ASSERT_EQ (clips.size(), (size_t) ((row.leftShading ? 1 : 0) + (row.rightShading ? 1 : 0)));
        ASSERT_EQ (fills.size(), 3u + clips.size());

        if (row.leftShading)
        {
            EXPECT_FLOAT_EQ (clips.front().bounds.getX(), 0.0f);
        }

        if (row.rightShading)
        {
            EXPECT_FLOAT_EQ (clips.back().bounds.getX(), 78.0f);
        }

        const auto& highlight = fills[fills.size() - 2];
        EXPECT_NEAR (highlight.bounds.getX(), row.highlightX, 0.01f);
        EXPECT_NEAR (highlight.bounds.getWidth(), row.highlightW, 0.01f);
        EXPECT_NEAR (highlight.bounds.getY(), 1.5f, 0.01f);
        EXPECT_NEAR (highlight.bounds.getHeight(), 12.0f, 0.01f);

        // A side is square where it is flat.
        const auto& body = fills.front().path;
        EXPECT_EQ (body.contains (0.3f, 0.3f), row.left || row.top);
        EXPECT_EQ (body.contains (99.7f, 29.7f), row.right || row.bottom);
    }

    INSTANTIATE_TEST_SUITE_P (
        Flags, LozengeFlatTest,
        testing::Values (
            FlatRow { false, false, false, false, true, true, 6.0f, 88.0f },
            FlatRow { true, false, false, false, false, true, 0.0f, 94.0f }, // the update button
            FlatRow { false, true, false, false, true, false, 6.0f, 94.0f },
            FlatRow { false, false, true, false, false, false, 6.0f, 88.0f },
            FlatRow { true, true, true, true, false, false, 0.0f, 100.0f })); // a plain rectangle

    TEST (GlassLozenge, AllFlatIsAPlainRectangle)
    {
        Recording r;
        TemplateLookAndFeel::drawGlassLozenge (r.g, 2.0f, 3.0f, 40.0f, 20.0f, Colour (0xffd3d3d3), 0.5f,
                                               true, true, true, true);

        juce::Path rect;
        rect.addRectangle (2.0f, 3.0f, 40.0f, 20.0f);
        EXPECT_TRUE (coverSameArea (r.context.fills()[0].path, rect));
    }

    TEST (GlassLozenge, TransparentColourKeepsEveryPartInvisible)
    {
        Recording r;
        TemplateLookAndFeel::drawGlassLozenge (r.g, 0.0f, 0.0f, 100.0f, 30.0f, juce::Colours::transparentBlack, 1.0f,
                                               false, false, false, false);

        ASSERT_FALSE (r.context.fills().empty());

        for (const auto& f : r.context.fills())
        {
            if (f.fill.isGradient())
                for (const auto& stop : stopsOf (f))
                    EXPECT_EQ (stop.second.getAlpha(), 0);
            else
                EXPECT_EQ (RecordingContext::colourOf (f).getAlpha(), 0);
        }
    }

    //==============================================================================
    struct LimitRow
    {
        const char* shape;
        float width, height, thickness;
        bool draws;
    };

    class DrawLimitTest : public testing::TestWithParam<LimitRow>
    {
    protected:
        TemplateLookAndFeel lookAndFeel;
    };

    TEST_P (DrawLimitTest, SizesNotExceedingTheOutlineDrawNothing)
    {
        const auto& row = GetParam();
        Recording r;
        const std::string shape (row.shape);
        const Colour colour (0xff7ebf7e);

        if (shape == "lozenge")
            TemplateLookAndFeel::drawGlassLozenge (r.g, 0.0f, 0.0f, row.width, row.height, colour, row.thickness,
                                                   false, false, false, false);
        else if (shape == "shiny")
            lookAndFeel.drawShinyButtonShape (r.g, 0.0f, 0.0f, row.width, row.height, 4.0f, colour, row.thickness,
                                              false, false, false, false);
        else
            TemplateLookAndFeel::drawGlassSphere (r.g, 0.0f, 0.0f, row.width, colour, row.thickness);

        EXPECT_EQ (r.context.calls.empty(), ! row.draws);
    }

    INSTANTIATE_TEST_SUITE_P (
        Limits, DrawLimitTest,
        testing::Values (LimitRow { "lozenge", 1.0f, 20.0f, 1.0f, false },
                         LimitRow { "lozenge", 20.0f, 0.5f, 1.0f, false },
                         LimitRow { "lozenge", 1.1f, 20.0f, 1.0f, true },
                         LimitRow { "lozenge", 0.0f, 20.0f, 0.0f, false },
                         LimitRow { "lozenge", 10.0f, 0.0f, -1.0f, false },
                         LimitRow { "shiny", 1.1f, 20.0f, 1.0f, false },
                         LimitRow { "shiny", 20.0f, 1.1f, 1.0f, false },
                         LimitRow { "shiny", 1.2f, 20.0f, 1.0f, true },
                         LimitRow { "sphere", 1.0f, 0.0f, 1.0f, false },
                         LimitRow { "sphere", 1.5f, 0.0f, 1.0f, true }));

    //==============================================================================
    TEST (ShinyButtonShape, TwoToneFillAndHalfBlackRim)
    {
        TemplateLookAndFeel lookAndFeel;
        Recording r;
        const Colour colour (0xb2808080);
        lookAndFeel.drawShinyButtonShape (r.g, 0.0f, 2.0f, 60.0f, 20.0f, 4.0f, colour, 0.9f,
                                          false, false, false, false);

        const auto fills = r.context.fills();
        ASSERT_EQ (fills.size(), 2u);
        expectStops (fills[0], { { 0.0, colour.overlaidWith (Colour (0x00ffffff)) },
                                 { 0.5, colour.overlaidWith (Colour (0x33ffffff)) },
                                 { 0.51, colour.overlaidWith (Colour (0x120000ff)) },
                                 { 1.0, colour.overlaidWith (Colour (0x080000ff)) } });
        expectPoint (fills[0].fill.gradient->point1, { 0.0f, 2.0f });
        expectPoint (fills[0].fill.gradient->point2, { 0.0f, 22.0f });

        EXPECT_EQ (RecordingContext::colourOf (fills[1]).getARGB(), 0x80000000u);
        EXPECT_NEAR (strokeThickness (fills[1], fills[0].bounds), 0.9f, 0.05f);

        // Corners are limited to the asked size.
        EXPECT_FALSE (fills[0].path.contains (0.5f, 2.5f));
        EXPECT_TRUE (fills[0].path.contains (4.0f, 3.0f));
    }

    TEST (GlassSphere, BodyHighlightRimShadingAndOutline)
    {
        Recording r;
        const Colour colour (0x80336699);
        TemplateLookAndFeel::drawGlassSphere (r.g, 10.0f, 20.0f, 40.0f, colour, 1.0f);

        const auto fills = r.context.fills();
        ASSERT_EQ (fills.size(), 4u);

        const auto edge = juce::Colours::white.overlaidWith (colour.withMultipliedAlpha (0.3f));
        expectRect (fills[0].bounds, { 10.0f, 20.0f, 40.0f, 40.0f });
        expectStops (fills[0], { { 0.0, edge }, { 0.4, juce::Colours::white.overlaidWith (colour) }, { 1.0, edge } });

        expectRect (fills[1].bounds, { 18.0f, 22.0f, 24.0f, 16.0f });
        expectStops (fills[1], { { 0.0, juce::Colours::white }, { 1.0, juce::Colours::transparentWhite } });
        expectPoint (fills[1].fill.gradient->point1, { 0.0f, 22.4f });
        expectPoint (fills[1].fill.gradient->point2, { 0.0f, 32.0f });

        EXPECT_TRUE (fills[2].fill.gradient->isRadial);
        expectPoint (fills[2].fill.gradient->point1, { 30.0f, 40.0f });
        expectPoint (fills[2].fill.gradient->point2, { 10.0f, 40.0f });
        expectStops (fills[2], { { 0.0, juce::Colours::transparentBlack },
                                 { 0.7, juce::Colours::transparentBlack },
                                 { 0.8, juce::Colours::black.withAlpha (0.1f) },
                                 { 1.0, juce::Colours::black.withAlpha (0.5f * colour.getFloatAlpha()) } });

        EXPECT_EQ (RecordingContext::colourOf (fills[3]).getARGB(),
                   juce::Colours::black.withAlpha (0.5f * colour.getFloatAlpha()).getARGB());
        EXPECT_NEAR (strokeThickness (fills[3], fills[0].bounds), 1.0f, 0.05f);
    }
} // namespace
