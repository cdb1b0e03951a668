#pragma once

#include <juce_events/juce_events.h>
#include <juce_gui_basics/juce_gui_basics.h>

/** The abstract device interface that the update panel and the upload know: a component
    that lays out its own widgets and a change broadcaster that reports every selection. */
class InterfaceBaseClass : public juce::Component,
                           public juce::ChangeBroadcaster
{
public:
    InterfaceBaseClass() = default;
    ~InterfaceBaseClass() override = default;

    void resized() override = 0;

    /** Copies up to maxBytes received bytes to dest; returns how many were copied. */
    virtual int readBytes (juce::uint8* dest, juce::uint32 maxBytes) = 0;

    /** Sends one complete MIDI message and returns once the driver is done with it.
        Fails, with a sentence the user can act on, when no device is open or the device
        did not take the whole message. */
    virtual juce::Result sendBytes (const juce::uint8* data, int numBytes) = 0;

    /** Whether every direction in use has an open device. */
    virtual bool isConnected() = 0;

    virtual int getPreferredHeight() = 0;

    /** Selects the output item with this id and opens that device. */
    virtual void selectOutputDevice (int itemId) = 0;

    /** Selects the input item with this id and opens that device. */
    virtual void selectInputDevice (int itemId) = 0;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (InterfaceBaseClass)
};
