#include "midi/MidiInterfaceClass.h"

// Minimal selector with no devices; the device layer replaces this.
MidiInterfaceClass::MidiInterfaceClass (bool shouldUseOutput, bool shouldUseInput)
    : useInput (shouldUseInput)
    , useOutput (shouldUseOutput)
{
    if (useOutput)
    {
        outputSelector = new juce::ComboBox ("Output Selector");
        addAndMakeVisible (outputSelector);
        outputLabel = new juce::Label ({}, "Select an output device:");
        outputLabel->attachToComponent (outputSelector, false);
        outputSelector->addItem (disconnectedText, numOutputDevices + 1);
        outputSelector->setSelectedId (numOutputDevices + 1);
        outputSelector->addListener (this);
    }
}

MidiInterfaceClass::~MidiInterfaceClass()
{
    deleteAllChildren();
}

void MidiInterfaceClass::resized()
{
    if (outputSelector != nullptr)
        outputSelector->setBounds (0, 20, getWidth(), 30);
}

int MidiInterfaceClass::readBytes (juce::uint8*, juce::uint32) { return 0; }
juce::Result MidiInterfaceClass::sendBytes (const juce::uint8*, int) { return juce::Result::fail ("No MIDI output device is open."); }
bool MidiInterfaceClass::isConnected() { return false; }
int MidiInterfaceClass::getPreferredHeight() { return (useInput && useOutput) ? 100 : 50; }
void MidiInterfaceClass::selectOutputDevice (int) { sendChangeMessage(); }
void MidiInterfaceClass::selectInputDevice (int) { sendChangeMessage(); }
void MidiInterfaceClass::comboBoxChanged (juce::ComboBox*) { sendChangeMessage(); }
void MidiInterfaceClass::handleIncomingMidiMessage (juce::MidiInput*, const juce::MidiMessage&) {}
