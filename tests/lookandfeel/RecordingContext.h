#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <vector>

/** A graphics context that draws nothing and logs every call, in its own coordinates
    (the origin and transforms of the Graphics are applied to what it logs). */
class RecordingContext : public juce::LowLevelGraphicsContext
{
public:
    enum class Kind
    {
        fill,          // rectangles, rectangle lists and paths; strokes arrive as filled paths
        image,
        line,
        glyph,
        clip,
        clipPath,
        excludeClip,
        save,
        restore,
        opacity,
        beginLayer,
        endLayer
    };

    struct Call
    {
        Kind kind;
        juce::FillType fill;                          // fill at the time of the call
        juce::Path path;                              // what was filled or clipped to
        std::vector<juce::Rectangle<float>> rects;    // filled rectangles, when filled as such
        juce::Rectangle<float> bounds;                // path or rectangle bounds; the new clip for clips
        juce::Font font;
        int glyphNumber = 0;
        juce::Point<float> origin;                    // where a glyph is drawn
        float opacity = 1.0f;                         // the fill's opacity, or a layer's
    };

    explicit RecordingContext (juce::Rectangle<int> area = { 0, 0, 1000, 1000 });
    ~RecordingContext() override;

    std::vector<Call> calls;

    /** The fill calls, in order. */
    std::vector<Call> fills() const;
    std::vector<Call> ofKind (Kind) const;

    /** The effective colour of a solid fill. */
    static juce::Colour colourOf (const Call&);

    //==============================================================================
    bool isVectorDevice() const override { return false; }
    void setOrigin (juce::Point<int>) override;
    void addTransform (const juce::AffineTransform&) override;
    float getPhysicalPixelScaleFactor() override { return 1.0f; }

    bool clipToRectangle (const juce::Rectangle<int>&) override;
    bool clipToRectangleList (const juce::RectangleList<int>&) override;
    void excludeClipRectangle (const juce::Rectangle<int>&) override;
    void clipToPath (const juce::Path&, const juce::AffineTransform&) override;
    void clipToImageAlpha (const juce::Image&, const juce::AffineTransform&) override;
    bool clipRegionIntersects (const juce::Rectangle<int>&) override;
    juce::Rectangle<int> getClipBounds() const override;
    bool isClipEmpty() const override;

    void saveState() override;
    void restoreState() override;
    void beginTransparencyLayer (float opacity) override;
    void endTransparencyLayer() override;

    void setFill (const juce::FillType&) override;
    void setOpacity (float) override;
    void setInterpolationQuality (juce::Graphics::ResamplingQuality) override {}

    void fillRect (const juce::Rectangle<int>&, bool replaceExistingContents) override;
    void fillRect (const juce::Rectangle<float>&) override;
    void fillRectList (const juce::RectangleList<float>&) override;
    void fillPath (const juce::Path&, const juce::AffineTransform&) override;
    void drawImage (const juce::Image&, const juce::AffineTransform&) override;
    void drawLine (const juce::Line<float>&) override;

    void setFont (const juce::Font&) override;
    const juce::Font& getFont() override;
    void drawGlyph (int glyphNumber, const juce::AffineTransform&) override;

private:
    struct State
    {
        juce::AffineTransform transform;
        juce::Rectangle<float> clip;
        juce::FillType fill;
        juce::Font font;
    };

    Call makeCall (Kind) const;
    void addFill (const juce::Path&, std::vector<juce::Rectangle<float>> rects);

    State state;
    std::vector<State> stack;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (RecordingContext)
};
