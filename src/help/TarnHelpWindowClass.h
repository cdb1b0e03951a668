#pragma once

#include "help/HelpWindowbaseClass.h"

/** The "Firmware Update Help" window, created hidden. */
class TarnHelpWindowClass : public HelpWindowbaseClass
{
public:
    TarnHelpWindowClass();
    ~TarnHelpWindowClass() override;

    static constexpr int windowWidth = 550;
    static constexpr int windowHeight = 400;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (TarnHelpWindowClass)
};
