#include "help/HelpWindowbaseClass.h"

HelpWindowbaseClass::HelpWindowbaseClass()
    : ColouredDocumentWindow ("Help",
                              juce::Colour (ColouredDocumentWindow::backgroundColourValue),
                              juce::Colour (ColouredDocumentWindow::titleBarColourValue),
                              juce::DocumentWindow::allButtons,
                              true)
{
}

HelpWindowbaseClass::~HelpWindowbaseClass() = default;

void HelpWindowbaseClass::closeButtonPressed()
{
    setVisible (false);
}
