#pragma once

#include "RecordingContext.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

/** A gradient stop: proportion and colour. */
using Stop = std::pair<double, juce::Colour>;

inline std::vector<Stop> stopsOf (const RecordingContext::Call& c)
{
    std::vector<Stop> stops;

    if (c.fill.gradient != nullptr)
        for (int i = 0; i < c.fill.gradient->getNumColours(); ++i)
            stops.emplace_back (c.fill.gradient->getColourPosition (i), c.fill.gradient->getColour (i));

    return stops;
}

inline void expectStops (const RecordingContext::Call& c, const std::vector<Stop>& expected)
{
    ASSERT_TRUE (c.fill.isGradient());
    const auto stops = stopsOf (c);
    ASSERT_EQ (stops.size(), expected.size());

    for (size_t i = 0; i < stops.size(); ++i)
    {
        EXPECT_NEAR (stops[i].first, expected[i].first, 0.002) << "stop " << i;
        EXPECT_EQ (stops[i].second.getARGB(), expected[i].second.getARGB()) << "stop " << i;
    }
}

inline void expectRect (juce::Rectangle<float> actual, juce::Rectangle<float> expected, float tolerance = 0.01f)
{
    EXPECT_NEAR (actual.getX(), expected.getX(), tolerance);
    EXPECT_NEAR (actual.getY(), expected.getY(), tolerance);
    EXPECT_NEAR (actual.getWidth(), expected.getWidth(), tolerance);
    EXPECT_NEAR (actual.getHeight(), expected.getHeight(), tolerance);
}

inline void expectPoint (juce::Point<float> actual, juce::Point<float> expected, float tolerance = 0.01f)
{
    EXPECT_NEAR (actual.x, expected.x, tolerance);
    EXPECT_NEAR (actual.y, expected.y, tolerance);
}

/** True when both paths cover the same points on a fine grid over their bounds. */
inline bool coverSameArea (const juce::Path& a, const juce::Path& b, float step = 0.25f)
{
    const auto area = a.getBounds().getUnion (b.getBounds()).expanded (1.0f);

    for (auto y = area.getY() + step * 0.5f; y < area.getBottom(); y += step)
        for (auto x = area.getX() + step * 0.5f; x < area.getRight(); x += step)
            if (a.contains (x, y) != b.contains (x, y))
                return false;

    return true;
}

/** The rim thickness of a stroke of an outline, from how far its bounds reach past the outline's. */
inline float strokeThickness (const RecordingContext::Call& stroke, juce::Rectangle<float> outline)
{
    return stroke.bounds.getWidth() - outline.getWidth();
}
