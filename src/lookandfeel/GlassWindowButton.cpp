#include "lookandfeel/GlassWindowButton.h"

#include "lookandfeel/TemplateLookAndFeel.h"

GlassWindowButton::GlassWindowButton (const juce::String& name,
                                      juce::Colour sphereColour,
                                      const juce::Path& normal,
                                      const juce::Path& toggled)
    : juce::Button (name)
    , colour (sphereColour)
    , normalShape (normal)
    , toggledShape (toggled)
{
}

GlassWindowButton::~GlassWindowButton() = default;

void GlassWindowButton::paintButton (juce::Graphics& g, bool isMouseOverButton, bool isButtonDown)
{
    float alpha = isMouseOverButton ? (isButtonDown ? 1.0f : 0.8f) : 0.55f;

    if (! isEnabled())
        alpha *= 0.5f;

    // The ball is as large as the shorter side, centred along the longer one.
    float x = 0.0f, y = 0.0f, diam;

    if (getWidth() < getHeight())
    {
        diam = (float) getWidth();
        y = (float) (getHeight() - getWidth()) * 0.5f;
    }
    else
    {
        diam = (float) getHeight();
        x = (float) (getWidth() - getHeight()) * 0.5f;
    }

    x += diam * 0.05f;
    y += diam * 0.05f;
    diam *= 0.9f;

    g.setGradientFill (juce::ColourGradient (juce::Colour::greyLevel (0.9f).withAlpha (alpha), 0.0f, y + diam,
                                             juce::Colour::greyLevel (0.6f).withAlpha (alpha), 0.0f, y,
                                             false));
    g.fillEllipse (x, y, diam, diam);

    x += 2.0f;
    y += 2.0f;
    diam -= 4.0f;

    TemplateLookAndFeel::drawGlassSphere (g, x, y, diam, colour.withAlpha (alpha), 1.0f);

    const auto& shape = getToggleState() ? toggledShape : normalShape;
    const auto t = shape.getTransformToScaleToFit (x + diam * 0.3f, y + diam * 0.3f,
                                                   diam * 0.4f, diam * 0.4f,
                                                   true, juce::Justification::centred);

    g.setColour (juce::Colours::black.withAlpha (alpha * 0.6f));
    g.fillPath (shape, t);
}
