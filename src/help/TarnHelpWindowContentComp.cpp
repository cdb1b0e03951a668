#include "help/TarnHelpWindowContentComp.h"

#include "help/HelpText.h"

TarnHelpWindowContentComp::TarnHelpWindowContentComp()
{
    helpTextEditor = new juce::TextEditor ({}, 0);
    addAndMakeVisible (helpTextEditor);
    helpTextEditor->setMultiLine (true, true);
    helpTextEditor->setReadOnly (true);
    helpTextEditor->setText (firmwareUpdateHelpText, true);
}

TarnHelpWindowContentComp::~TarnHelpWindowContentComp()
{
    deleteAllChildren();
}

void TarnHelpWindowContentComp::resized()
{
    helpTextEditor->setBounds (0, 0, getWidth(), getHeight());
}
