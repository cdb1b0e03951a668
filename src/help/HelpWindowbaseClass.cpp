#include "help/HelpWindowbaseClass.h"

#include "app/AppIcon.h"

HelpWindowbaseClass::HelpWindowbaseClass()
    : ColouredDocumentWindow ("Help",
                              juce::Colour (ColouredDocumentWindow::backgroundColourValue),
                              juce::Colour (ColouredDocumentWindow::titleBarColourValue),
                              juce::DocumentWindow::allButtons,
                              true)
{
    AppIcon::applyTo (*this);
}

HelpWindowbaseClass::~HelpWindowbaseClass() = default;

void HelpWindowbaseClass::closeButtonPressed()
{
    setVisible (false);
}
