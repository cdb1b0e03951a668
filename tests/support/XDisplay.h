#pragma once

#include <juce_graphics/juce_graphics.h>

#include <optional>

/** Real X input and screenshots for tests of the real program, through xdotool and
    ImageMagick's import. Coordinates are the screen's. */
class XDisplay
{
public:
    /** The visible windows whose title matches the regular expression. */
    static juce::StringArray findWindows (const juce::String& titlePattern);

    /** Waits until a visible window with a matching title exists, then a moment more for
        it to be drawn. */
    static std::optional<juce::String> waitForWindow (const juce::String& titlePattern, int timeoutMs = 10000);

    /** How long waitForWindow waits once the window is there. */
    static constexpr int settleMs = 500;

    /** Waits until no visible window matches. */
    static bool waitForNoWindow (const juce::String& titlePattern, int timeoutMs = 10000);

    /** Waits for a visible window whose title does not match the pattern (a message box,
        a popup list). */
    static std::optional<juce::String> waitForAnyWindowExcept (const juce::String& titlePattern, int timeoutMs = 10000);

    /** With a combo box's list open, clicks its first or last item. */
    static void pickFirstPopupItem (const juce::String& ownerWindow);
    static void pickLastPopupItem (const juce::String& ownerWindow);

    static juce::Rectangle<int> getGeometry (const juce::String& window);
    static juce::String getTitle (const juce::String& window);
    static juce::Rectangle<int> getScreenSize();

    static void click (juce::Point<int> screenPosition);
    static void drag (juce::Point<int> from, juce::Point<int> to);
    static void moveMouse (juce::Point<int> screenPosition);
    static void keys (const juce::String& window, const juce::String& keySequence);

    /** Saves a PNG of the window (or of the whole screen when window is empty). */
    static juce::Image screenshot (const juce::String& window, const juce::File& png);

    /** The test artefacts folder (screenshots), created on demand. */
    static juce::File artefacts (const juce::String& name);

    static juce::String run (const juce::String& command);
};
