#include "help/HelpText.h"
#include "help/TarnHelpWindowClass.h"
#include "help/TarnHelpWindowContentComp.h"

#include <gtest/gtest.h>

TEST (HelpWindow, TextIsTheProcedureLineByLine)
{
    const juce::String text (firmwareUpdateHelpText);

    EXPECT_EQ (text.length(), 1019);
    EXPECT_FALSE (text.containsChar ('\r'));
    EXPECT_TRUE (text.endsWith ("\n - Please quit any MIDI related application on your PC or Mac.\n"));

    juce::StringArray lines;
    lines.addTokens (text.dropLastCharacters (1), "\n", {});
    ASSERT_EQ (lines.size(), 23);

    for (const int empty : { 3, 12, 18, 20, 21 })
        EXPECT_TRUE (lines[empty - 1].isEmpty()) << "line " << empty;
    for (const int spaced : { 1, 2, 4, 5, 6, 7, 8, 9, 10, 11, 13, 14, 15, 16, 17 })
        EXPECT_TRUE (lines[spaced - 1].endsWithChar (' ')) << "line " << spaced;
    for (const int indented : { 5, 6, 7, 8, 9, 10, 11, 14, 15, 23 })
        EXPECT_TRUE (lines[indented - 1].startsWithChar (' ')) << "line " << indented;

    EXPECT_EQ (lines[0], "Firmware Update Procedure. ");
    EXPECT_EQ (lines[15], "10. (STEP2) Press the update button when it turns green. ");
    EXPECT_EQ (lines[18], "Note: You should select \"USB Audio Device\", if you use Windows XP.");
    EXPECT_EQ (lines[21], "Trouble Shooting:");
}

TEST (HelpWindow, IsAHiddenTitledWindowWithAReadOnlyTextBoxFillingIt)
{
    TarnHelpWindowClass window;

    EXPECT_FALSE (window.isVisible());
    EXPECT_EQ (window.getName(), "Firmware Update Help");
    EXPECT_EQ (window.getBackgroundColour(), juce::Colour (0xffeff2f3));
    EXPECT_EQ (window.getTitleBarColour(), juce::Colour (0xff3273a1));
    EXPECT_TRUE (window.isResizable());

    auto* content = dynamic_cast<TarnHelpWindowContentComp*> (window.getContentComponent());
    ASSERT_NE (content, nullptr);
    auto* editor = content->getTextEditor();
    EXPECT_TRUE (editor->isReadOnly());
    EXPECT_TRUE (editor->isMultiLine());
    EXPECT_EQ (editor->getText(), juce::String (firmwareUpdateHelpText));

    window.centreWithSize (550, 400);
    EXPECT_EQ (editor->getBounds(), content->getLocalBounds());
    window.setSize (400, 300);
    EXPECT_EQ (editor->getBounds(), content->getLocalBounds()) << "the text box follows a resize";

    window.setVisible (true);
    window.closeButtonPressed();
    EXPECT_FALSE (window.isVisible()) << "closing only hides it";
}
