#pragma once

#include "lookandfeel/ColouredDocumentWindow.h"

/** The frame of the program's help windows: its close button only hides the window. */
class HelpWindowbaseClass : public ColouredDocumentWindow
{
public:
    HelpWindowbaseClass();
    ~HelpWindowbaseClass() override;

    void closeButtonPressed() override;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (HelpWindowbaseClass)
};
