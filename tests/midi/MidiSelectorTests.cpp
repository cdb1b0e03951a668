// The port selector: device lists, items, selection, change messages and layout.
#include "PedalTestSupport.h"

#include "midi/MidiInterfaceClass.h"

#include <cstdlib>

namespace
{
const char* const threePorts = "--port 'Lantern Reverb MIDI 1' --port 'Second Pedal' --port 'Third Port'";

/** The selector's menu as text: "name#id" per item, "---" per separator. */
std::vector<std::string> menuLayout (juce::ComboBox& box)
{
    std::vector<std::string> layout;
    juce::PopupMenu::MenuItemIterator it (*box.getRootMenu());

    while (it.next())
    {
        const auto& item = it.getItem();
        layout.push_back (item.isSeparator ? std::string ("---")
                                           : (item.text + "#" + juce::String (item.itemID)).toStdString());
    }

    return layout;
}

juce::Label* attachedLabel (juce::Component& parent, juce::Component& owner)
{
    for (auto* child : parent.getChildren())
        if (auto* label = dynamic_cast<juce::Label*> (child))
            if (label->getAttachedComponent() == &owner)
                return label;

    return nullptr;
}

struct ListingCase
{
    const char* options;
    std::vector<std::string> layout;
    int disconnectedId;
};

class SelectorListing : public testing::TestWithParam<ListingCase> {};

TEST_P (SelectorListing, ListsDisconnectedThenTheDevicesAndSelectsDisconnected)
{
    pedal::configure (GetParam().options);
    MidiInterfaceClass midi (true, false);
    auto* box = midi.getOutputSelector();
    ASSERT_NE (box, nullptr);

    EXPECT_EQ (menuLayout (*box), GetParam().layout);
    EXPECT_EQ (box->getText(), MidiInterfaceClass::disconnectedText);
    EXPECT_EQ (box->getSelectedId(), GetParam().disconnectedId);
    EXPECT_FALSE (midi.isConnected());
}

INSTANTIATE_TEST_SUITE_P (Ports, SelectorListing, testing::Values (
    ListingCase { threePorts, { "(Disconnected)#4", "---", "Lantern Reverb MIDI 1#1", "Second Pedal#2", "Third Port#3" }, 4 },
    ListingCase { "--port 'Lantern Reverb MIDI 1'", { "(Disconnected)#2", "---", "Lantern Reverb MIDI 1#1" }, 2 }));

struct SelectCase
{
    int itemId;
    const char* shownText;
    bool connected;
    int opensOfPort2;
};

class SelectOutputDevice : public testing::TestWithParam<SelectCase> {};

TEST_P (SelectOutputDevice, SelectsOpensAndSendsOneChangeMessage)
{
    pedal::configure (threePorts);
    MidiInterfaceClass midi (true, false);
    pedal::pump (50); // the constructor's own notification

    pedal::ChangeCounter changes;
    midi.addChangeListener (&changes);
    midi.selectOutputDevice (GetParam().itemId);
    pedal::pump (200);
    midi.removeChangeListener (&changes);

    EXPECT_EQ (changes.count, 1);
    EXPECT_EQ (midi.getOutputSelector()->getText(), GetParam().shownText);
    EXPECT_EQ (midi.isConnected(), GetParam().connected);
    EXPECT_EQ (pedal::count (2, "open"), GetParam().opensOfPort2);
    EXPECT_EQ (pedal::count (1, "open") + pedal::count (3, "open"), 0);
}

INSTANTIATE_TEST_SUITE_P (Ids, SelectOutputDevice, testing::Values (
    SelectCase { 2, "Second Pedal", true, 1 },
    SelectCase { 7, "(Disconnected)", false, 0 }));

TEST (Selector, ChoosingDisconnectedClosesTheDevice)
{
    pedal::configure (threePorts);
    MidiInterfaceClass midi (true, false);
    midi.selectOutputDevice (2);
    ASSERT_TRUE (midi.isConnected());

    pedal::ChangeCounter changes;
    midi.addChangeListener (&changes);
    midi.getOutputSelector()->setSelectedId (4, juce::sendNotificationSync);
    pedal::pump (100);
    midi.removeChangeListener (&changes);

    EXPECT_FALSE (midi.isConnected());
    EXPECT_EQ (pedal::count (2, "close"), 1);
    EXPECT_GE (changes.count, 1);
    EXPECT_TRUE (midi.sendBytes (pedal::sysex (9).data(), 9).failed());
}

TEST (Selector, ChoosingAnotherDeviceClosesTheFirstAndOpensTheSecond)
{
    pedal::configure (threePorts);
    MidiInterfaceClass midi (true, false);
    midi.selectOutputDevice (1);
    midi.getOutputSelector()->setSelectedId (3, juce::sendNotificationSync);

    EXPECT_EQ (midi.getOpenOutputId(), 3);
    EXPECT_EQ (pedal::count (1, "close"), 1);
    EXPECT_EQ (pedal::count (3, "open"), 1);
}

TEST (Selector, OutputOnlyWantsFiftyPixelsWithTheCaptionAbove)
{
    pedal::configure (threePorts);
    MidiInterfaceClass midi (true, false);
    midi.setSize (400, midi.getPreferredHeight());

    EXPECT_EQ (midi.getPreferredHeight(), 50);
    EXPECT_EQ (midi.getOutputSelector()->getBounds(), juce::Rectangle<int> (0, 20, 400, 30));
    EXPECT_EQ (midi.getInputSelector(), nullptr);

    auto* caption = attachedLabel (midi, *midi.getOutputSelector());
    ASSERT_NE (caption, nullptr);
    EXPECT_EQ (caption->getText(), "Select an output device:");
    EXPECT_FALSE (caption->isAttachedOnLeft());
    EXPECT_EQ (caption->getBottom(), 20);
}

TEST (Selector, BothDirectionsWantAHundredPixels)
{
    pedal::configure (threePorts);
    MidiInterfaceClass midi (true, true);
    midi.setSize (300, midi.getPreferredHeight());

    EXPECT_EQ (midi.getPreferredHeight(), 100);
    EXPECT_EQ (midi.getOutputSelector()->getBounds(), juce::Rectangle<int> (0, 20, 300, 30));
    EXPECT_EQ (midi.getInputSelector()->getBounds(), juce::Rectangle<int> (0, 70, 300, 30));
    EXPECT_EQ (midi.getInputSelector()->getName(), "Input Selector");

    auto* caption = attachedLabel (midi, *midi.getInputSelector());
    ASSERT_NE (caption, nullptr);
    EXPECT_EQ (caption->getText(), "Select an input device:");

    // Connected only when both directions have a device.
    midi.selectOutputDevice (1);
    EXPECT_FALSE (midi.isConnected());
    midi.selectInputDevice (1);
    EXPECT_TRUE (midi.isConnected());
}

TEST (Selector, NamesAreThoseAmidiLists)
{
    pedal::configure (threePorts);
    MidiInterfaceClass midi (true, false);
    juce::StringArray shown;

    for (int i = 0; i < midi.getOutputSelector()->getNumItems(); ++i)
        if (midi.getOutputSelector()->getItemId (i) <= 3)
            shown.add (midi.getOutputSelector()->getItemText (i));

    juce::StringArray expected { "Lantern Reverb MIDI 1", "Second Pedal", "Third Port" };

#ifdef BRINDLE_VIRTUAL_PEDAL_SCRIPT
    // amidi -l through the virtual pedal: "IO  hw:0,0,0  Lantern Reverb MIDI 1".
    ::setenv ("BRINDLE_VIRTUAL_PEDAL_LIB", BRINDLE_VIRTUAL_PEDAL_LIB, 1);
    juce::ChildProcess amidi;
    ASSERT_TRUE (amidi.start (juce::StringArray { "bash", BRINDLE_VIRTUAL_PEDAL_SCRIPT,
                                                  "--port", "Lantern Reverb MIDI 1", "--port", "Second Pedal",
                                                  "--port", "Third Port", "--", "amidi", "-l" }));
    const auto output = amidi.readAllProcessOutput();
    ASSERT_TRUE (amidi.waitForProcessToFinish (20000));
    expected.clear();

    for (const auto& line : juce::StringArray::fromLines (output))
        if (line.substring (0, 3).containsChar ('O') && line.contains ("hw:"))
            expected.add (line.fromFirstOccurrenceOf ("hw:", false, false)
                              .fromFirstOccurrenceOf (" ", false, false).trimStart());
#endif

    EXPECT_EQ (shown, expected);
}

TEST (Selector, AFailedOpenLeavesItDisconnectedAndSaysWhy)
{
    pedal::configure ("--port 'Lantern Reverb MIDI 1' --fail-open");
    MidiInterfaceClass midi (true, false);
    midi.selectOutputDevice (1);

    EXPECT_FALSE (midi.isConnected());
    const auto result = midi.sendBytes (pedal::sysex (9).data(), 9);
    ASSERT_TRUE (result.failed());
    EXPECT_TRUE (result.getErrorMessage().contains ("\"Lantern Reverb MIDI 1\" (hw:0,0,0) could not be opened"))
        << result.getErrorMessage();
}
} // namespace
