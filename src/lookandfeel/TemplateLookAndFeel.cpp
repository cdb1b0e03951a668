#include "lookandfeel/TemplateLookAndFeel.h"

#include "lookandfeel/ColouredDocumentWindow.h"
#include "lookandfeel/GlassWindowButton.h"

using namespace juce;

namespace
{
    PathStrokeType mitredStroke (float thickness)
    {
        return PathStrokeType (thickness, PathStrokeType::mitered, PathStrokeType::butt);
    }

    /** Alpha fractions outside 0..1 (thick outlines) are clamped rather than asserted. */
    Colour blackWithAlpha (float alpha)
    {
        return Colours::black.withAlpha (jlimit (0.0f, 1.0f, alpha));
    }

    /** The striped background shared by popup menus and combo box lists. */
    void drawStripedBackground (Graphics& g, int width, int height,
                                Colour background, Colour stripeBase, Colour outline)
    {
        g.fillAll (background);

        g.setColour (stripeBase.overlaidWith (Colours::lightblue.withAlpha (0.17f)));

        for (int y = 0; y < height; y += 3)
            g.fillRect (0, y, width, 1);

        g.setColour (outline.withAlpha (0.6f));
        g.drawRect (0, 0, width, height, 1);
    }

    bool isComboBoxMenu (const PopupMenu::Options& options)
    {
        return dynamic_cast<ComboBox*> (options.getTargetComponent()) != nullptr;
    }
} // namespace

//==============================================================================
TemplateLookAndFeel::TemplateLookAndFeel()
{
    const auto translucentGrey = Colours::grey.withAlpha (0.7f);

    // Copied roles are read after their source is set; they do not stay linked.
    setColour (buttonColourId, translucentGrey);
    setColour (Slider::thumbColourId, findColour (buttonColourId));
    setColour (TextEditor::focusedOutlineColourId, findColour (buttonColourId));

    setColour (ScrollBar::backgroundColourId, Colours::transparentBlack);
    setColour (ScrollBar::thumbColourId, Colours::white);

    setColour (comboListBackgroundColourId, Colours::white);
    setColour (comboListTextColourId, Colours::black);

    setColour (PopupMenu::backgroundColourId, Colours::white);
    setColour (PopupMenu::highlightedTextColourId, findColour (PopupMenu::backgroundColourId));
    setColour (comboListHighlightColourId, translucentGrey);
    setColour (PopupMenu::highlightedBackgroundColourId, findColour (comboListHighlightColourId));
    setColour (ComboBox::outlineColourId, translucentGrey);
    setColour (comboListHighlightedTextColourId, findColour (comboListBackgroundColourId));

    setColour (Slider::backgroundColourId, Colours::white);
    setColour (Slider::textBoxOutlineColourId, findColour (ComboBox::outlineColourId));

    setColour (ProgressBar::backgroundColourId, Colours::white);
    setColour (ProgressBar::foregroundColourId, Colours::lightgrey);
    setColour (TooltipWindow::backgroundColourId, Colours::white);

    // Text buttons are white unless toggled on, and a combo box's button area has no body.
    setColour (TextButton::buttonColourId, Colours::white);
    setColour (ComboBox::buttonColourId, Colours::transparentBlack);
}

TemplateLookAndFeel::~TemplateLookAndFeel() = default;

//==============================================================================
Colour TemplateLookAndFeel::createBaseColour (Colour buttonColour,
                                              bool hasKeyboardFocus,
                                              bool isMouseOverButton,
                                              bool isButtonDown)
{
    const auto baseColour = buttonColour.withMultipliedSaturation (hasKeyboardFocus ? 1.3f : 0.9f);

    if (isButtonDown)
        return baseColour.contrasting (0.2f);

    if (isMouseOverButton)
        return baseColour.contrasting (0.1f);

    return baseColour;
}

void TemplateLookAndFeel::createRoundedPath (Path& p,
                                             float x, float y, float w, float h, float cs,
                                             bool curveTopLeft, bool curveTopRight,
                                             bool curveBottomLeft, bool curveBottomRight)
{
    const auto cs2 = cs * 2.0f;
    const auto pi = MathConstants<float>::pi;

    if (curveTopLeft)
    {
        p.startNewSubPath (x, y + cs);
        p.addArc (x, y, cs2, cs2, pi * 1.5f, pi * 2.0f);
    }
    else
    {
        p.startNewSubPath (x, y);
    }

    if (curveTopRight)
    {
        p.lineTo (x + w - cs, y);
        p.addArc (x + w - cs2, y, cs2, cs2, 0.0f, pi * 0.5f);
    }
    else
    {
        p.lineTo (x + w, y);
    }

    if (curveBottomRight)
    {
        p.lineTo (x + w, y + h - cs);
        p.addArc (x + w - cs2, y + h - cs2, cs2, cs2, pi * 0.5f, pi);
    }
    else
    {
        p.lineTo (x + w, y + h);
    }

    if (curveBottomLeft)
    {
        p.lineTo (x + cs, y + h);
        p.addArc (x, y + h - cs2, cs2, cs2, pi, pi * 1.5f);
    }
    else
    {
        p.lineTo (x, y + h);
    }

    p.closeSubPath();
}

void TemplateLookAndFeel::drawGlassLozenge (Graphics& g,
                                            float x, float y, float width, float height,
                                            const Colour& colour, float outlineThickness,
                                            bool flatOnLeft, bool flatOnRight, bool flatOnTop, bool flatOnBottom)
{
    // The second pair of checks only matters for a negative outline thickness, where an
    // empty bar would otherwise give an end-shading radius of 0.
    if (width <= outlineThickness || height <= outlineThickness || width <= 0.0f || height <= 0.0f)
        return;

    const auto intX = (int) x;
    const auto intY = (int) y;
    const auto intW = (int) width;
    const auto intH = (int) height;

    const auto cs = jmin (width * 0.5f, height * 0.5f);
    const auto edgeBlurRadius = height * 0.75f + (height - cs * 2.0f);
    const auto intEdge = (int) edgeBlurRadius;

    const bool curveTopLeft = ! (flatOnLeft || flatOnTop);
    const bool curveTopRight = ! (flatOnRight || flatOnTop);
    const bool curveBottomLeft = ! (flatOnLeft || flatOnBottom);
    const bool curveBottomRight = ! (flatOnRight || flatOnBottom);

    Path outline;
    createRoundedPath (outline, x, y, width, height, cs,
                       curveTopLeft, curveTopRight, curveBottomLeft, curveBottomRight);

    {
        ColourGradient body (colour.darker (0.2f), 0.0f, y,
                             colour.darker (0.2f), 0.0f, y + height,
                             false);
        body.addColour (0.03, colour.withMultipliedAlpha (0.3f));
        body.addColour (0.4, colour);
        body.addColour (0.97, colour.withMultipliedAlpha (0.3f));

        g.setGradientFill (body);
        g.fillPath (outline);
    }

    ColourGradient endShading (Colours::transparentBlack, x + edgeBlurRadius, y + height * 0.5f,
                               colour.darker (0.2f), x, y + height * 0.5f,
                               true);
    endShading.addColour (1.0f - (cs * 0.5f) / edgeBlurRadius, Colours::transparentBlack);
    endShading.addColour (1.0f - (cs * 0.25f) / edgeBlurRadius, colour.darker (0.2f).withMultipliedAlpha (0.3f));

    if (! (flatOnLeft || flatOnTop || flatOnBottom))
    {
        g.saveState();
        g.setGradientFill (endShading);
        g.reduceClipRegion (intX, intY, intEdge, intH);
        g.fillPath (outline);
        g.restoreState();
    }

    if (! (flatOnRight || flatOnTop || flatOnBottom))
    {
        endShading.point1.setX (x + width - edgeBlurRadius);
        endShading.point2.setX (x + width);

        g.saveState();
        g.setGradientFill (endShading);
        g.reduceClipRegion (intX + intW - intEdge, intY, intEdge + 2, intH);
        g.fillPath (outline);
        g.restoreState();
    }

    {
        const auto leftIndent = flatOnLeft ? 0.0f : cs * 0.4f;
        const auto rightIndent = flatOnRight ? 0.0f : cs * 0.4f;

        Path highlight;
        createRoundedPath (highlight,
                           x + leftIndent, y + cs * 0.1f,
                           width - (leftIndent + rightIndent), height * 0.4f,
                           cs * 0.4f,
                           curveTopLeft, curveTopRight, curveBottomLeft, curveBottomRight);

        g.setGradientFill (ColourGradient (colour.brighter (10.0f), 0.0f, y + height * 0.06f,
                                           Colours::transparentWhite, 0.0f, y + height * 0.4f,
                                           false));
        g.fillPath (highlight);
    }

    g.setColour (colour.darker (0.4f).withMultipliedAlpha (1.5f));
    g.strokePath (outline, mitredStroke (outlineThickness));
}

void TemplateLookAndFeel::drawShinyButtonShape (Graphics& g,
                                                float x, float y, float width, float height, float cornerSize,
                                                const Colour& colour, float outlineThickness,
                                                bool flatOnLeft, bool flatOnRight, bool flatOnTop, bool flatOnBottom)
{
    if (width <= outlineThickness * 1.1f || height <= outlineThickness * 1.1f)
        return;

    const auto cs = jmin (cornerSize, width * 0.5f, height * 0.5f);

    Path outline;
    createRoundedPath (outline, x, y, width, height, cs,
                       ! (flatOnLeft || flatOnTop), ! (flatOnRight || flatOnTop),
                       ! (flatOnLeft || flatOnBottom), ! (flatOnRight || flatOnBottom));

    ColourGradient cg (colour.overlaidWith (Colours::white.withAlpha (0.0f)), 0.0f, y,
                       colour.overlaidWith (Colours::blue.withAlpha (0.03f)), 0.0f, y + height,
                       false);
    cg.addColour (0.5, colour.overlaidWith (Colours::white.withAlpha (0.2f)));
    cg.addColour (0.51, colour.overlaidWith (Colours::blue.withAlpha (0.07f)));

    g.setGradientFill (cg);
    g.fillPath (outline);

    g.setColour (Colours::black.withAlpha (0.5f));
    g.strokePath (outline, mitredStroke (outlineThickness));
}

void TemplateLookAndFeel::drawGlassSphere (Graphics& g, float x, float y, float diameter,
                                           const Colour& colour, float outlineThickness)
{
    const auto d = diameter;

    if (d <= outlineThickness)
        return;

    {
        const auto edge = Colours::white.overlaidWith (colour.withMultipliedAlpha (0.3f));

        ColourGradient body (edge, 0.0f, y, edge, 0.0f, y + d, false);
        body.addColour (0.4, Colours::white.overlaidWith (colour));

        g.setGradientFill (body);
        g.fillEllipse (x, y, d, d);
    }

    g.setGradientFill (ColourGradient (Colours::white, 0.0f, y + d * 0.06f,
                                       Colours::transparentWhite, 0.0f, y + d * 0.3f,
                                       false));
    g.fillEllipse (x + d * 0.2f, y + d * 0.05f, d * 0.6f, d * 0.4f);

    {
        ColourGradient rim (Colours::transparentBlack, x + d * 0.5f, y + d * 0.5f,
                            blackWithAlpha (outlineThickness * 0.5f * colour.getFloatAlpha()), x, y + d * 0.5f,
                            true);
        rim.addColour (0.7, Colours::transparentBlack);
        rim.addColour (0.8, blackWithAlpha (outlineThickness * 0.1f));

        g.setGradientFill (rim);
        g.fillEllipse (x, y, d, d);
    }

    g.setColour (Colours::black.withAlpha (0.5f * colour.getFloatAlpha()));
    g.drawEllipse (x, y, d, d, outlineThickness);
}

//==============================================================================
void TemplateLookAndFeel::drawButtonBackground (Graphics& g, Button& button, const Colour& backgroundColour,
                                                bool isMouseOverButton, bool isButtonDown)
{
    const auto w = (float) button.getWidth();
    const auto h = (float) button.getHeight();

    const auto outlineThickness = button.isEnabled() ? ((isButtonDown || isMouseOverButton) ? 1.2f : 0.7f)
                                                     : 0.4f;
    const auto half = outlineThickness * 0.5f;

    const auto indentL = button.isConnectedOnLeft() ? 0.1f : half;
    const auto indentR = button.isConnectedOnRight() ? 0.1f : half;
    const auto indentT = button.isConnectedOnTop() ? 0.1f : half;
    const auto indentB = button.isConnectedOnBottom() ? 0.1f : half;

    const auto baseColour = createBaseColour (backgroundColour, button.hasKeyboardFocus (true),
                                              isMouseOverButton, isButtonDown)
                                .withMultipliedAlpha (button.isEnabled() ? 1.0f : 0.5f);

    drawGlassLozenge (g, indentL, indentT, w - indentL - indentR, h - indentT - indentB,
                      baseColour, outlineThickness,
                      button.isConnectedOnLeft(), button.isConnectedOnRight(),
                      button.isConnectedOnTop(), button.isConnectedOnBottom());
}

void TemplateLookAndFeel::drawTickBox (Graphics& g, Component&, float x, float y, float w, float h,
                                       bool ticked, bool isEnabled, bool isMouseOverButton, bool isButtonDown)
{
    const auto boxSize = w * 0.7f;
    const auto outlineThickness = isEnabled ? ((isButtonDown || isMouseOverButton) ? 1.1f : 0.5f) : 0.3f;

    const auto boxColour = findColour (buttonColourId).withMultipliedAlpha (isEnabled ? 1.0f : 0.5f);
    const auto baseColour = createBaseColour (boxColour, true, isMouseOverButton, isButtonDown);

    drawGlassSphere (g, x, y + (h - boxSize) * 0.5f, boxSize, baseColour, outlineThickness);

    if (ticked)
    {
        Path tick;
        tick.startNewSubPath (1.5f, 3.0f);
        tick.lineTo (3.0f, 6.0f);
        tick.lineTo (6.0f, 0.0f);

        g.setColour (isEnabled ? Colours::black : Colours::grey);

        const auto trans = AffineTransform::scale (w / 9.0f, h / 9.0f).translated (x, y);
        g.strokePath (tick, mitredStroke (2.5f), trans);
    }
}

void TemplateLookAndFeel::drawProgressBar (Graphics& g, ProgressBar& progressBar, int width, int height,
                                           double progress, const String& textToShow)
{
    // The bar's own background first, as the widget used to paint it before this call.
    const auto barBackground = progressBar.findColour (ProgressBar::backgroundColourId);
    g.fillAll (barBackground);

    g.setColour (findColour (ProgressBar::backgroundColourId).contrasting (0.2f));
    g.drawRect (0, 0, width, height, 1);

    const auto span = (float) jmax (0, width - 2);
    const auto filled = jlimit (0.0f, span, span * (float) progress);

    drawGlassLozenge (g, 1.0f, 1.0f, filled, (float) (height - 2),
                      findColour (ProgressBar::foregroundColourId), 0.5f,
                      true, true, true, true);

    if (textToShow.isNotEmpty())
    {
        g.setColour (Colour::contrasting (barBackground, progressBar.findColour (ProgressBar::foregroundColourId)));
        g.setFont ((float) height * 0.6f);
        g.drawText (textToShow, 0, 0, width, height, Justification::centred, false);
    }
}

//==============================================================================
void TemplateLookAndFeel::drawScrollbarButton (Graphics& g, ScrollBar&, int width, int height, int buttonDirection,
                                               bool, bool, bool isButtonDown)
{
    const auto w = (float) width;
    const auto h = (float) height;

    Path p;

    if (buttonDirection == 0)
        p.addTriangle (w * 0.5f, h * 0.2f, w * 0.1f, h * 0.7f, w * 0.9f, h * 0.7f);
    else if (buttonDirection == 1)
        p.addTriangle (w * 0.8f, h * 0.5f, w * 0.3f, h * 0.1f, w * 0.3f, h * 0.9f);
    else if (buttonDirection == 2)
        p.addTriangle (w * 0.5f, h * 0.8f, w * 0.1f, h * 0.3f, w * 0.9f, h * 0.3f);
    else if (buttonDirection == 3)
        p.addTriangle (w * 0.2f, h * 0.5f, w * 0.7f, h * 0.1f, w * 0.7f, h * 0.9f);

    const auto thumbColour = findColour (ScrollBar::thumbColourId);
    g.setColour (isButtonDown ? thumbColour.contrasting (0.2f) : thumbColour);
    g.fillPath (p);

    g.setColour (Colours::black.withAlpha (0.5f));
    g.strokePath (p, mitredStroke (0.5f));
}

void TemplateLookAndFeel::drawScrollbar (Graphics& g, ScrollBar&, int x, int y, int width, int height,
                                         bool isScrollbarVertical, int thumbStartPosition, int thumbSize,
                                         bool, bool)
{
    g.fillAll (findColour (ScrollBar::backgroundColourId));

    const auto slotIndent = jmin (width, height) > 15 ? 1.0f : 0.0f;
    const auto thumbIndent = slotIndent + 1.0f;

    const auto fx = (float) x;
    const auto fy = (float) y;
    const auto fw = (float) width;
    const auto fh = (float) height;

    Path slotPath, thumbPath;
    Point<float> g1, g2;

    if (isScrollbarVertical)
    {
        slotPath.addRoundedRectangle (fx + slotIndent, fy + slotIndent,
                                      fw - slotIndent * 2.0f, fh - slotIndent * 2.0f,
                                      (fw - slotIndent * 2.0f) * 0.5f);

        if (thumbSize > 0)
            thumbPath.addRoundedRectangle (fx + thumbIndent, (float) thumbStartPosition + thumbIndent,
                                           fw - thumbIndent * 2.0f, (float) thumbSize - thumbIndent * 2.0f,
                                           (fw - thumbIndent * 2.0f) * 0.5f);

        g1 = { fx, 0.0f };
        g2 = { fx + fw * 0.7f, 0.0f };
    }
    else
    {
        slotPath.addRoundedRectangle (fx + slotIndent, fy + slotIndent,
                                      fw - slotIndent * 2.0f, fh - slotIndent * 2.0f,
                                      (fh - slotIndent * 2.0f) * 0.5f);

        if (thumbSize > 0)
            thumbPath.addRoundedRectangle ((float) thumbStartPosition + thumbIndent, fy + thumbIndent,
                                           (float) thumbSize - thumbIndent * 2.0f, fh - thumbIndent * 2.0f,
                                           (fh - thumbIndent * 2.0f) * 0.5f);

        g1 = { 0.0f, fy };
        g2 = { 0.0f, fy + fh * 0.7f };
    }

    const auto thumbColour = findColour (ScrollBar::thumbColourId);

    g.setGradientFill (ColourGradient (thumbColour.overlaidWith (Colours::black.withAlpha (0.27f)), g1,
                                       thumbColour.overlaidWith (Colours::black.withAlpha (0.1f)), g2,
                                       false));
    g.fillPath (slotPath);

    if (isScrollbarVertical)
    {
        g1 = { fx + fw * 0.6f, 0.0f };
        g2 = { fx + fw, 0.0f };
    }
    else
    {
        g1 = { 0.0f, fy + fh * 0.6f };
        g2 = { 0.0f, fy + fh };
    }

    g.setGradientFill (ColourGradient (Colours::black.withAlpha (0.0f), g1,
                                       Colours::black.withAlpha (0.1f), g2,
                                       false));
    g.fillPath (slotPath);

    if (thumbSize <= 0)
        return;

    g.setColour (thumbColour);
    g.fillPath (thumbPath);

    g.saveState();
    g.setGradientFill (ColourGradient (Colours::black.withAlpha (0.05f), g1,
                                       Colours::black.withAlpha (0.0f), g2,
                                       false));

    if (isScrollbarVertical)
        g.reduceClipRegion (x + width / 2, y, width, height);
    else
        g.reduceClipRegion (x, y + height / 2, width, height);

    g.fillPath (thumbPath);
    g.restoreState();

    g.setColour (Colours::black.withAlpha (0.3f));
    g.strokePath (thumbPath, mitredStroke (0.4f));
}

ImageEffectFilter* TemplateLookAndFeel::getScrollbarEffect()
{
    return nullptr;
}

void TemplateLookAndFeel::drawTextEditorOutline (Graphics& g, int width, int height, TextEditor& textEditor)
{
    if (! textEditor.isEnabled())
        return;

    if (textEditor.hasKeyboardFocus (true) && ! textEditor.isReadOnly())
    {
        g.setColour (findColour (TextEditor::focusedOutlineColourId));
        g.drawRect (0, 0, width, height, 2);

        g.setOpacity (1.0f);
        const auto shadowColour = textEditor.findColour (TextEditor::shadowColourId).withMultipliedAlpha (0.75f);
        drawBevel (g, 0, 0, width, height + 2, 4, shadowColour, shadowColour, true);
    }
    else
    {
        g.setColour (textEditor.findColour (TextEditor::outlineColourId));
        g.drawRect (0, 0, width, height, 1);

        g.setOpacity (1.0f);
        const auto shadowColour = textEditor.findColour (TextEditor::shadowColourId);
        drawBevel (g, 0, 0, width, height + 2, 3, shadowColour, shadowColour, true);
    }
}

//==============================================================================
void TemplateLookAndFeel::drawPopupMenuBackground (Graphics& g, int width, int height)
{
    drawStripedBackground (g, width, height,
                           findColour (PopupMenu::backgroundColourId),
                           findColour (PopupMenu::backgroundColourId),
                           findColour (PopupMenu::textColourId));
}

void TemplateLookAndFeel::drawComboBoxPopupBackground (Graphics& g, int width, int height)
{
    drawStripedBackground (g, width, height,
                           findColour (comboListBackgroundColourId),
                           findColour (comboListBackgroundColourId),
                           findColour (comboListTextColourId));
}

void TemplateLookAndFeel::drawPopupMenuBackgroundWithOptions (Graphics& g, int width, int height,
                                                              const PopupMenu::Options& options)
{
    if (isComboBoxMenu (options))
        drawComboBoxPopupBackground (g, width, height);
    else
        drawPopupMenuBackground (g, width, height);
}

void TemplateLookAndFeel::drawPopupMenuItemWithOptions (Graphics& g, const Rectangle<int>& area, bool isHighlighted,
                                                        const PopupMenu::Item& item, const PopupMenu::Options& options)
{
    if (isComboBoxMenu (options) && ! item.isSeparator)
        drawComboListItem (g, area, isHighlighted, item);
    else
        LookAndFeel_V2::drawPopupMenuItemWithOptions (g, area, isHighlighted, item, options);
}

void TemplateLookAndFeel::drawComboListItem (Graphics& g, const Rectangle<int>& area, bool isHighlighted,
                                             const PopupMenu::Item& item)
{
    auto r = area.reduced (1);

    if (isHighlighted)
    {
        g.setColour (findColour (comboListHighlightColourId));
        g.fillRect (r);
        g.setColour (findColour (comboListHighlightedTextColourId));
    }
    else
    {
        g.setColour (item.colour != Colour() ? item.colour : findColour (comboListTextColourId));
    }

    if (! item.isEnabled)
        g.setOpacity (0.3f);

    auto font = getComboBoxListFont();
    font.setHeight (jmin (font.getHeight(), (float) area.getHeight() / 1.3f));
    g.setFont (font);

    const auto iconArea = r.removeFromLeft ((r.getHeight() * 5) / 4).reduced (3).toFloat();

    if (item.isTicked)
    {
        const auto tick = getTickShape (1.0f);
        g.fillPath (tick, tick.getTransformToScaleToFit (iconArea, true));
    }

    r.removeFromRight (3);
    g.drawFittedText (item.text, r, Justification::centredLeft, 1);
}

void TemplateLookAndFeel::getIdealPopupMenuItemSizeWithOptions (const String& text, bool isSeparator,
                                                                int standardMenuItemHeight,
                                                                int& idealWidth, int& idealHeight,
                                                                const PopupMenu::Options& options)
{
    if (! isComboBoxMenu (options) || isSeparator)
    {
        LookAndFeel_V2::getIdealPopupMenuItemSizeWithOptions (text, isSeparator, standardMenuItemHeight,
                                                              idealWidth, idealHeight, options);
        return;
    }

    auto font = getComboBoxListFont();

    if (standardMenuItemHeight > 0)
        font.setHeight (jmin (font.getHeight(), (float) standardMenuItemHeight / 1.3f));

    idealHeight = standardMenuItemHeight > 0 ? standardMenuItemHeight : roundToInt (font.getHeight() * 1.3f);
    idealWidth = font.getStringWidth (text) + idealHeight * 2;
}

void TemplateLookAndFeel::drawMenuBarBackground (Graphics& g, int width, int height, bool,
                                                 MenuBarComponent& menuBar)
{
    const auto baseColour = createBaseColour (findColour (PopupMenu::backgroundColourId), false, false, false);

    if (menuBar.isEnabled())
        drawShinyButtonShape (g, -4.0f, 0.0f, (float) width + 8.0f, (float) height, 0.0f,
                              baseColour, 0.4f, true, true, true, true);
    else
        g.fillAll (baseColour);
}

//==============================================================================
void TemplateLookAndFeel::drawComboBox (Graphics& g, int width, int height, bool isButtonDown,
                                        int buttonX, int buttonY, int buttonW, int buttonH, ComboBox& box)
{
    g.fillAll (findColour (ComboBox::backgroundColourId));

    g.setColour (findColour (ComboBox::outlineColourId));
    g.drawRect (0, 0, width, height, (box.isEnabled() && box.hasKeyboardFocus (false)) ? 2 : 1);

    const auto outlineThickness = box.isEnabled() ? (isButtonDown ? 1.2f : 0.5f) : 0.3f;

    drawGlassLozenge (g,
                      (float) buttonX + outlineThickness, (float) buttonY + outlineThickness,
                      (float) buttonW - outlineThickness * 2.0f, (float) buttonH - outlineThickness * 2.0f,
                      box.findColour (ComboBox::buttonColourId), outlineThickness,
                      true, true, true, true);

    if (! box.isEnabled())
        return;

    const auto arrowX = 0.3f;
    const auto arrowH = 0.2f;
    const auto bx = (float) buttonX;
    const auto by = (float) buttonY;
    const auto bw = (float) buttonW;
    const auto bh = (float) buttonH;

    Path p;
    p.addTriangle (bx + bw * 0.5f, by + bh * (0.45f - arrowH),
                   bx + bw * (1.0f - arrowX), by + bh * 0.45f,
                   bx + bw * arrowX, by + bh * 0.45f);
    p.addTriangle (bx + bw * 0.5f, by + bh * (0.55f + arrowH),
                   bx + bw * (1.0f - arrowX), by + bh * 0.55f,
                   bx + bw * arrowX, by + bh * 0.55f);

    g.setColour (Colours::black.withAlpha (0.6f));
    g.fillPath (p);
}

Font TemplateLookAndFeel::getComboBoxFont (ComboBox& box)
{
    return Font (jmin (15.0f, (float) box.getHeight() * 0.85f), Font::plain);
}

Font TemplateLookAndFeel::getComboBoxListFont()
{
    return Font (15.0f, Font::plain);
}

//==============================================================================
void TemplateLookAndFeel::drawLinearSlider (Graphics& g, int x, int y, int width, int height,
                                            float sliderPos, float, float,
                                            Slider::SliderStyle style, Slider& slider)
{
    const bool isMouseOver = slider.isMouseOverOrDragging() && slider.isEnabled();

    if (style == Slider::LinearBar || style == Slider::LinearBarVertical)
    {
        g.setColour (findColour (Slider::backgroundColourId).withAlpha (slider.isEnabled() ? 0.5f : 0.15f));
        g.fillAll();

        const auto barColour = findColour (Slider::thumbColourId)
                                   .withMultipliedSaturation (slider.isEnabled() ? 1.0f : 0.5f);
        const auto baseColour = createBaseColour (barColour, false, isMouseOver,
                                                  isMouseOver || slider.isMouseButtonDown());
        const auto thickness = slider.isEnabled() ? 0.9f : 0.3f;

        // A vertical bar fills from the thumb down to the bottom.
        if (style == Slider::LinearBarVertical)
            drawShinyButtonShape (g, (float) x, sliderPos, (float) width, (float) (y + height) - sliderPos, 0.0f,
                                  baseColour, thickness, true, true, true, true);
        else
            drawShinyButtonShape (g, (float) x, (float) y, sliderPos - (float) x, (float) height, 0.0f,
                                  baseColour, thickness, true, true, true, true);
        return;
    }

    const auto sliderRadius = (float) getSliderThumbRadius (slider);

    const auto trackColour = Colours::white.withAlpha (0.5f);
    const auto gradCol1 = trackColour.overlaidWith (Colours::black.withAlpha (slider.isEnabled() ? 0.25f : 0.13f));
    const auto gradCol2 = trackColour.overlaidWith (Colours::black.withAlpha (0.08f));

    Path indent;

    if (slider.isHorizontal())
    {
        const auto iy = (float) y + (float) height * 0.5f - sliderRadius * 0.5f;

        g.setGradientFill (ColourGradient (gradCol1, 0.0f, iy, gradCol2, 0.0f, iy + sliderRadius, false));
        indent.addRoundedRectangle ((float) x, iy, (float) width, sliderRadius, 5.0f);
    }
    else
    {
        const auto ix = (float) x + (float) width * 0.5f - sliderRadius * 0.5f;

        g.setGradientFill (ColourGradient (gradCol1, ix, 0.0f, gradCol2, ix + sliderRadius, 0.0f, false));
        indent.addRoundedRectangle (ix, (float) y, sliderRadius, (float) height, 5.0f);
    }

    g.fillPath (indent);

    g.setColour (Colours::black.withAlpha (0.3f));
    g.strokePath (indent, mitredStroke (0.5f));

    const auto knobColour = createBaseColour (findColour (Slider::thumbColourId),
                                              slider.hasKeyboardFocus (false) && slider.isEnabled(),
                                              isMouseOver,
                                              slider.isMouseButtonDown() && slider.isEnabled());
    const auto knobThickness = slider.isEnabled() ? 0.8f : 0.3f;

    if (slider.isHorizontal())
        drawGlassSphere (g, sliderPos - sliderRadius, (float) y + (float) height * 0.5f - sliderRadius,
                         sliderRadius * 2.0f, knobColour, knobThickness);
    else
        drawGlassSphere (g, (float) x + (float) width * 0.5f - sliderRadius, sliderPos - sliderRadius,
                         sliderRadius * 2.0f, knobColour, knobThickness);
}

int TemplateLookAndFeel::getSliderThumbRadius (Slider& slider)
{
    return jmin (7, slider.getHeight() / 2, slider.getWidth() / 2);
}

Button* TemplateLookAndFeel::createSliderButton (Slider&, bool isIncrement)
{
    return new TextButton (isIncrement ? "+" : "-", String());
}

ImageEffectFilter* TemplateLookAndFeel::getSliderEffect (Slider&)
{
    return nullptr;
}

void TemplateLookAndFeel::drawCornerResizer (Graphics& g, int w, int h, bool, bool)
{
    const auto fw = (float) w;
    const auto fh = (float) h;
    const auto lineThickness = jmin (fw, fh) * 0.075f;

    for (float i = 0.0f; i < 1.0f; i += 0.3f)
    {
        g.setColour (Colours::lightgrey);
        g.drawLine (fw * i, fh + 1.0f, fw + 1.0f, fh * i, lineThickness);

        g.setColour (Colours::darkgrey);
        g.drawLine (fw * i + lineThickness, fh + 1.0f, fw + 1.0f, fh * i + lineThickness, lineThickness);
    }
}

//==============================================================================
Colour TemplateLookAndFeel::findTitleBarColour (const DocumentWindow& window)
{
    if (auto* coloured = dynamic_cast<const ColouredDocumentWindow*> (&window))
        return coloured->getTitleBarColour();

    return window.getBackgroundColour();
}

Colour TemplateLookAndFeel::getTitleTextColour (Colour backgroundColour, bool isActive)
{
    return backgroundColour.contrasting (isActive ? 0.7f : 0.4f);
}

void TemplateLookAndFeel::drawDocumentWindowTitleBar (DocumentWindow& window, Graphics& g, int w, int h,
                                                      int titleSpaceX, int titleSpaceW,
                                                      const Image* icon, bool drawTitleTextOnLeft)
{
    const bool isActive = window.isActiveWindow();

    g.setGradientFill (ColourGradient (findTitleBarColour (window), 0.0f, 0.0f,
                                       window.getBackgroundColour(), 0.0f, (float) h,
                                       false));
    g.fillAll();

    const Font font ((float) h * 0.65f, Font::bold);
    g.setFont (font);

    int textW = font.getStringWidth (window.getName());
    int iconW = 0;
    int iconH = 0;

    // An image without height is treated as no icon, to keep the width division defined.
    const bool hasIcon = icon != nullptr && icon->getHeight() > 0;

    if (hasIcon)
    {
        iconH = (int) font.getHeight();
        iconW = icon->getWidth() * iconH / icon->getHeight() + 4;
    }

    textW = jmin (titleSpaceW, textW + iconW);
    int textX = drawTitleTextOnLeft ? titleSpaceX : jmax (titleSpaceX, (w - textW) / 2);

    if (textX + textW > titleSpaceX + titleSpaceW)
        textX = titleSpaceX + titleSpaceW - textW;

    if (hasIcon)
    {
        g.setOpacity (isActive ? 1.0f : 0.6f);
        g.drawImageWithin (*icon, textX, (h - iconH) / 2, iconW, iconH, RectanglePlacement::centred, false);
        textX += iconW;
        textW -= iconW;
    }

    g.setColour (getTitleTextColour (window.getBackgroundColour(), isActive));
    g.drawText (window.getName(), textX, 0, textW, h, Justification::centredLeft, true);
}

// GlassWindowButton is qualified: LookAndFeel_V2 has a private class of that name.
Button* TemplateLookAndFeel::createDocumentWindowButton (int buttonType)
{
    Path shape;
    const auto crossThickness = 0.25f;

    if (buttonType == DocumentWindow::closeButton)
    {
        shape.addLineSegment ({ 0.0f, 0.0f, 1.0f, 1.0f }, crossThickness * 1.4f);
        shape.addLineSegment ({ 1.0f, 0.0f, 0.0f, 1.0f }, crossThickness * 1.4f);

        return new ::GlassWindowButton ("close", closeButtonColour, shape, shape);
    }

    if (buttonType == DocumentWindow::minimiseButton)
    {
        shape.addLineSegment ({ 0.0f, 0.5f, 1.0f, 0.5f }, crossThickness);

        return new ::GlassWindowButton ("minimise", minimiseButtonColour, shape, shape);
    }

    if (buttonType == DocumentWindow::maximiseButton)
    {
        shape.addLineSegment ({ 0.5f, 0.0f, 0.5f, 1.0f }, crossThickness);
        shape.addLineSegment ({ 0.0f, 0.5f, 1.0f, 0.5f }, crossThickness);

        // The restore picture: a back square partly hidden by a front one, each a 30-unit frame.
        Path frames;
        frames.startNewSubPath (45.0f, 100.0f);
        frames.lineTo (0.0f, 100.0f);
        frames.lineTo (0.0f, 0.0f);
        frames.lineTo (100.0f, 0.0f);
        frames.lineTo (100.0f, 45.0f);
        frames.addRectangle (45.0f, 45.0f, 100.0f, 100.0f);

        Path fullscreenShape;
        mitredStroke (30.0f).createStrokedPath (fullscreenShape, frames, AffineTransform());

        return new ::GlassWindowButton ("maximise", maximiseButtonColour, shape, fullscreenShape);
    }

    return nullptr;
}

void TemplateLookAndFeel::positionDocumentWindowButtons (DocumentWindow&,
                                                         int titleBarX, int titleBarY, int titleBarW, int titleBarH,
                                                         Button* minimiseButton,
                                                         Button* maximiseButton,
                                                         Button* closeButton,
                                                         bool positionTitleBarButtonsOnLeft)
{
    const int buttonW = titleBarH - titleBarH / 8;

    int x = positionTitleBarButtonsOnLeft ? titleBarX + 4
                                          : titleBarX + titleBarW - buttonW - buttonW / 4;

    if (closeButton != nullptr)
    {
        closeButton->setBounds (x, titleBarY, buttonW, titleBarH);
        x += positionTitleBarButtonsOnLeft ? buttonW : -(buttonW + buttonW / 4);
    }

    if (positionTitleBarButtonsOnLeft)
        std::swap (minimiseButton, maximiseButton);

    if (maximiseButton != nullptr)
    {
        maximiseButton->setBounds (x, titleBarY, buttonW, titleBarH);
        x += positionTitleBarButtonsOnLeft ? buttonW : -buttonW;
    }

    if (minimiseButton != nullptr)
        minimiseButton->setBounds (x, titleBarY, buttonW, titleBarH);
}
