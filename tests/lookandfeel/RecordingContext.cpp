#include "RecordingContext.h"

RecordingContext::RecordingContext (juce::Rectangle<int> area)
{
    state.clip = area.toFloat();
}

RecordingContext::~RecordingContext() = default;

std::vector<RecordingContext::Call> RecordingContext::fills() const
{
    return ofKind (Kind::fill);
}

std::vector<RecordingContext::Call> RecordingContext::ofKind (Kind kind) const
{
    std::vector<Call> result;

    for (const auto& c : calls)
        if (c.kind == kind)
            result.push_back (c);

    return result;
}

juce::Colour RecordingContext::colourOf (const Call& c)
{
    return c.fill.colour;
}

RecordingContext::Call RecordingContext::makeCall (Kind kind) const
{
    Call c;
    c.kind = kind;
    c.fill = state.fill;
    c.font = state.font;
    c.opacity = state.fill.getOpacity();
    return c;
}

void RecordingContext::setOrigin (juce::Point<int> o)
{
    addTransform (juce::AffineTransform::translation (o));
}

void RecordingContext::addTransform (const juce::AffineTransform& t)
{
    state.transform = t.followedBy (state.transform);
}

bool RecordingContext::clipToRectangle (const juce::Rectangle<int>& r)
{
    state.clip = state.clip.getIntersection (r.toFloat().transformedBy (state.transform));
    auto c = makeCall (Kind::clip);
    c.bounds = state.clip;
    calls.push_back (c);
    return ! state.clip.isEmpty();
}

bool RecordingContext::clipToRectangleList (const juce::RectangleList<int>& list)
{
    return clipToRectangle (list.getBounds());
}

void RecordingContext::excludeClipRectangle (const juce::Rectangle<int>& r)
{
    auto c = makeCall (Kind::excludeClip);
    c.bounds = r.toFloat().transformedBy (state.transform);
    calls.push_back (c);
}

void RecordingContext::clipToPath (const juce::Path& p, const juce::AffineTransform& t)
{
    auto c = makeCall (Kind::clipPath);
    c.path = p;
    c.path.applyTransform (t.followedBy (state.transform));
    state.clip = state.clip.getIntersection (c.path.getBounds());
    c.bounds = state.clip;
    calls.push_back (c);
}

void RecordingContext::clipToImageAlpha (const juce::Image& image, const juce::AffineTransform& t)
{
    auto c = makeCall (Kind::clip);
    state.clip = state.clip.getIntersection (image.getBounds().toFloat().transformedBy (t.followedBy (state.transform)));
    c.bounds = state.clip;
    calls.push_back (c);
}

bool RecordingContext::clipRegionIntersects (const juce::Rectangle<int>& r)
{
    return state.clip.intersects (r.toFloat().transformedBy (state.transform));
}

juce::Rectangle<int> RecordingContext::getClipBounds() const
{
    return state.clip.transformedBy (state.transform.inverted()).getSmallestIntegerContainer();
}

bool RecordingContext::isClipEmpty() const
{
    return state.clip.isEmpty();
}

void RecordingContext::saveState()
{
    stack.push_back (state);
    calls.push_back (makeCall (Kind::save));
}

void RecordingContext::restoreState()
{
    if (! stack.empty())
    {
        state = stack.back();
        stack.pop_back();
    }

    calls.push_back (makeCall (Kind::restore));
}

void RecordingContext::beginTransparencyLayer (float opacity)
{
    saveState();
    auto c = makeCall (Kind::beginLayer);
    c.opacity = opacity;
    calls.push_back (c);
}

void RecordingContext::endTransparencyLayer()
{
    calls.push_back (makeCall (Kind::endLayer));
    restoreState();
}

void RecordingContext::setFill (const juce::FillType& f)
{
    state.fill = f;
}

void RecordingContext::setOpacity (float o)
{
    // As the software renderer does: the opacity replaces the fill's alpha.
    state.fill.setOpacity (o);
    auto c = makeCall (Kind::opacity);
    c.opacity = o;
    calls.push_back (c);
}

void RecordingContext::addFill (const juce::Path& p, std::vector<juce::Rectangle<float>> rects)
{
    auto c = makeCall (Kind::fill);
    c.path = p;
    c.bounds = p.getBounds();
    c.rects = std::move (rects);

    // A gradient's points are in the user space of the call; log them in ours.
    if (c.fill.isGradient())
        c.fill.transform = c.fill.transform.followedBy (state.transform);

    calls.push_back (c);
}

void RecordingContext::fillRect (const juce::Rectangle<int>& r, bool)
{
    fillRect (r.toFloat());
}

void RecordingContext::fillRect (const juce::Rectangle<float>& r)
{
    juce::Path p;
    p.addRectangle (r);
    p.applyTransform (state.transform);
    addFill (p, { r.transformedBy (state.transform) });
}

void RecordingContext::fillRectList (const juce::RectangleList<float>& list)
{
    juce::Path p;
    std::vector<juce::Rectangle<float>> rects;

    for (const auto& r : list)
    {
        rects.push_back (r.transformedBy (state.transform));
        p.addRectangle (rects.back());
    }

    addFill (p, std::move (rects));
}

void RecordingContext::fillPath (const juce::Path& path, const juce::AffineTransform& t)
{
    auto p = path;
    p.applyTransform (t.followedBy (state.transform));
    addFill (p, {});
}

void RecordingContext::drawImage (const juce::Image& image, const juce::AffineTransform& t)
{
    auto c = makeCall (Kind::image);
    c.bounds = image.getBounds().toFloat().transformedBy (t.followedBy (state.transform));
    calls.push_back (c);
}

void RecordingContext::drawLine (const juce::Line<float>& line)
{
    auto c = makeCall (Kind::line);
    c.path.startNewSubPath (line.getStart());
    c.path.lineTo (line.getEnd());
    c.path.applyTransform (state.transform);
    c.bounds = c.path.getBounds();
    calls.push_back (c);
}

void RecordingContext::setFont (const juce::Font& f)
{
    state.font = f;
}

const juce::Font& RecordingContext::getFont()
{
    return state.font;
}

void RecordingContext::drawGlyph (int glyphNumber, const juce::AffineTransform& t)
{
    auto c = makeCall (Kind::glyph);
    c.glyphNumber = glyphNumber;
    c.origin = juce::Point<float>().transformedBy (t.followedBy (state.transform));
    calls.push_back (c);
}
