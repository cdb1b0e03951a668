#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** A title-bar button: a glass ball in its own colour with a dark glyph on it. */
class GlassWindowButton : public juce::Button
{
public:
    /** The glyphs may be in any coordinate space; they are scaled onto the ball. */
    GlassWindowButton (const juce::String& name,
                       juce::Colour colour,
                       const juce::Path& normalShape,
                       const juce::Path& toggledShape);
    ~GlassWindowButton() override;

    void paintButton (juce::Graphics&, bool isMouseOverButton, bool isButtonDown) override;

private:
    const juce::Colour colour;
    const juce::Path normalShape;
    const juce::Path toggledShape;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (GlassWindowButton)
};
