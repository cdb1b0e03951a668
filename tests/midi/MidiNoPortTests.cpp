// The selector over the machine's real ALSA, which has no MIDI port here.
#include <gtest/gtest.h>

#include "midi/MidiInterfaceClass.h"

namespace
{
std::vector<std::string> menuLayout (juce::ComboBox& box)
{
    std::vector<std::string> layout;
    juce::PopupMenu::MenuItemIterator it (*box.getRootMenu());

    while (it.next())
        layout.push_back (it.getItem().isSeparator ? std::string ("---")
                                                   : (it.getItem().text + "#" + juce::String (it.getItem().itemID)).toStdString());

    return layout;
}

TEST (SelectorWithoutPorts, OffersOnlyDisconnectedWithIdOneAndNoSeparator)
{
    if (! MidiOutputDevice::getAvailableDevices().isEmpty())
        GTEST_SKIP() << "this machine has MIDI output ports";

    MidiInterfaceClass midi (true, false);

    EXPECT_EQ (menuLayout (*midi.getOutputSelector()), std::vector<std::string> { "(Disconnected)#1" });
    EXPECT_EQ (midi.getOutputSelector()->getSelectedId(), 1);

    midi.selectOutputDevice (1);
    EXPECT_FALSE (midi.isConnected());
    EXPECT_TRUE (midi.sendBytes (nullptr, 0).failed());
}
} // namespace
