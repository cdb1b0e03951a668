#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** A document window that carries a title-bar colour besides its background colour;
    the look-and-feel's title-bar drawing reads it with getTitleBarColour. */
class ColouredDocumentWindow : public juce::DocumentWindow
{
public:
    ColouredDocumentWindow (const juce::String& name,
                            juce::Colour backgroundColour,
                            juce::Colour titleBarColour,
                            int requiredButtons,
                            bool addToDesktop);
    ~ColouredDocumentWindow() override;

    juce::Colour getTitleBarColour() const noexcept { return titleBarColour; }

    /** The colours both program windows are built with. */
    static constexpr juce::uint32 backgroundColourValue = 0xffeff2f3;
    static constexpr juce::uint32 titleBarColourValue = 0xff3273a1;

private:
    const juce::Colour titleBarColour;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ColouredDocumentWindow)
};
