#include "lookandfeel/ColouredDocumentWindow.h"

ColouredDocumentWindow::ColouredDocumentWindow (const juce::String& name,
                                                juce::Colour backgroundColour,
                                                juce::Colour titleBar,
                                                int requiredButtons,
                                                bool addToDesktop)
    : juce::DocumentWindow (name, backgroundColour, requiredButtons, false)
    , titleBarColour (titleBar)
{
    // Added here rather than by the base, so that the title bar can already read its colour.
    if (addToDesktop)
        juce::Component::addToDesktop (getDesktopWindowStyleFlags());
}

ColouredDocumentWindow::~ColouredDocumentWindow() = default;
