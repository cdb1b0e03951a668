#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** The program's glass look: palette, glass shapes and the drawing of the widgets. */
class TemplateLookAndFeel : public juce::LookAndFeel_V2
{
public:
    TemplateLookAndFeel();
    ~TemplateLookAndFeel() override;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (TemplateLookAndFeel)
};
