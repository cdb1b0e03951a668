#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** The help window's content: the update procedure in a read-only text box. */
class TarnHelpWindowContentComp : public juce::Component
{
public:
    TarnHelpWindowContentComp();
    ~TarnHelpWindowContentComp() override;

    void resized() override;

    juce::TextEditor* getTextEditor() const noexcept { return helpTextEditor; }

private:
    juce::TooltipWindow tooltipWindow { nullptr, 700 };
    juce::TextEditor* helpTextEditor = nullptr; // owned as a child

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (TarnHelpWindowContentComp)
};
