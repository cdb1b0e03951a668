#include "support/XDisplay.h"

#include <cstdio>

juce::String XDisplay::run (const juce::String& command)
{
    juce::String output;
    if (FILE* pipe = popen ((command + " 2>/dev/null").toRawUTF8(), "r"))
    {
        char buffer[512];
        while (fgets (buffer, sizeof (buffer), pipe) != nullptr)
            output << buffer;
        pclose (pipe);
    }
    return output;
}

juce::StringArray XDisplay::findWindows (const juce::String& titlePattern)
{
    juce::StringArray windows;
    windows.addTokens (run ("xdotool search --onlyvisible --name " + titlePattern.quoted ('\'')), "\n", {});
    windows.removeEmptyStrings();
    return windows;
}

std::optional<juce::String> XDisplay::waitForWindow (const juce::String& titlePattern, int timeoutMs)
{
    const auto end = juce::Time::getMillisecondCounter() + (juce::uint32) timeoutMs;

    do
    {
        const auto windows = findWindows (titlePattern);
        if (! windows.isEmpty())
        {
            // Mapped is not yet painted: give a slow (sanitizer) build time to draw.
            juce::Thread::sleep (settleMs);
            return windows[0];
        }
        juce::Thread::sleep (50);
    } while (juce::Time::getMillisecondCounter() < end);

    return std::nullopt;
}

bool XDisplay::waitForNoWindow (const juce::String& titlePattern, int timeoutMs)
{
    const auto end = juce::Time::getMillisecondCounter() + (juce::uint32) timeoutMs;

    while (! findWindows (titlePattern).isEmpty())
    {
        if (juce::Time::getMillisecondCounter() >= end)
            return false;
        juce::Thread::sleep (50);
    }

    return true;
}

std::optional<juce::String> XDisplay::waitForAnyWindowExcept (const juce::String& titlePattern, int timeoutMs)
{
    const auto end = juce::Time::getMillisecondCounter() + (juce::uint32) timeoutMs;

    do
    {
        const auto excluded = findWindows (titlePattern);
        const auto screen = getScreenSize();

        for (const auto& window : findWindows (""))
        {
            const auto bounds = getGeometry (window);

            if (! excluded.contains (window) && ! bounds.isEmpty() && bounds != screen) // not the root window
                return window;
        }

        juce::Thread::sleep (50);
    } while (juce::Time::getMillisecondCounter() < end);

    return std::nullopt;
}

namespace
{
void pickPopupItem (const juce::String& ownerWindow, bool last)
{
    juce::ignoreUnused (ownerWindow);
    const auto popup = XDisplay::waitForWindow ("^menu$", 5000); // JUCE names popup menu windows "menu"

    if (! popup.has_value())
        return;

    const auto list = XDisplay::getGeometry (*popup);

    // A slow (sanitizer) build needs a moment before the list takes clicks. One click only:
    // a second one could land on the panel behind a list that is already closing.
    juce::Thread::sleep (800);
    XDisplay::click ({ list.getCentreX(), last ? list.getBottom() - 12 : list.getY() + 12 });
    XDisplay::waitForNoWindow ("^menu$", 5000);
}
} // namespace

void XDisplay::pickFirstPopupItem (const juce::String& ownerWindow) { pickPopupItem (ownerWindow, false); }
void XDisplay::pickLastPopupItem (const juce::String& ownerWindow) { pickPopupItem (ownerWindow, true); }

juce::Rectangle<int> XDisplay::getGeometry (const juce::String& window)
{
    juce::StringPairArray values;
    juce::StringArray lines;
    lines.addLines (run ("xdotool getwindowgeometry --shell " + window));

    for (const auto& line : lines)
        values.set (line.upToFirstOccurrenceOf ("=", false, false), line.fromFirstOccurrenceOf ("=", false, false));

    return { values["X"].getIntValue(), values["Y"].getIntValue(),
             values["WIDTH"].getIntValue(), values["HEIGHT"].getIntValue() };
}

juce::String XDisplay::getTitle (const juce::String& window)
{
    auto title = run ("xdotool getwindowname " + window);
    return title.endsWithChar ('\n') ? title.dropLastCharacters (1) : title;
}

juce::Rectangle<int> XDisplay::getScreenSize()
{
    const auto size = juce::StringArray::fromTokens (run ("xdotool getdisplaygeometry").trim(), " ", {});
    return { 0, 0, size[0].getIntValue(), size[1].getIntValue() };
}

void XDisplay::moveMouse (juce::Point<int> p)
{
    run ("xdotool mousemove " + juce::String (p.x) + " " + juce::String (p.y));
    juce::Thread::sleep (50);
}

void XDisplay::click (juce::Point<int> p)
{
    // Arrive with a motion event, as a hand would, even if the pointer is already there.
    moveMouse (p + juce::Point<int> (3, 3));
    moveMouse (p);
    juce::Thread::sleep (100);
    run ("xdotool click 1");
    juce::Thread::sleep (200);
}

void XDisplay::drag (juce::Point<int> from, juce::Point<int> to)
{
    moveMouse (from);
    run ("xdotool mousedown 1");
    for (int step = 1; step <= 10; ++step)
    {
        moveMouse (from + (to - from) * step / 10);
        juce::Thread::sleep (30);
    }
    run ("xdotool mouseup 1");
    juce::Thread::sleep (200);
}

void XDisplay::keys (const juce::String& window, const juce::String& keySequence)
{
    if (window.isNotEmpty())
        run ("xdotool windowfocus " + window);
    run ("xdotool key --delay 80 " + keySequence);
    juce::Thread::sleep (200);
}

juce::Image XDisplay::screenshot (const juce::String& window, const juce::File& png)
{
    png.deleteFile();
    run ("import -window " + (window.isEmpty() ? juce::String ("root") : window) + " " + png.getFullPathName().quoted());
    return juce::ImageFileFormat::loadFrom (png);
}

juce::File XDisplay::artefacts (const juce::String& name)
{
    auto folder = juce::File (BRINDLE_BINARY_DIR).getChildFile ("artefacts").getChildFile (name);
    folder.createDirectory();
    return folder;
}
