#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** The program's icon, embedded as a PNG, for the windows that the desktop shows in its
    task bar and window switcher. */
class AppIcon
{
public:
    /** The icon at 256 x 256 pixels; an invalid image if the resource is missing. */
    static juce::Image getImage();

    /** Hands the icon to the window's native peer (on X11 this sets _NET_WM_ICON and the
        WM hints' icon pixmap). Does nothing while the window has no peer; a new peer
        starts without an icon, so call this again after the window is put on the desktop. */
    static void applyTo (juce::Component& window);

    /** The embedded resource's original file name. */
    static constexpr const char* resourceFileName = "brindle-256.png";

    AppIcon() = delete;
};
