#include "panel/CommandLineOptions.h"

CommandLineOptions::CommandLineOptions (const juce::String& commandLine)
{
    fileRequested = isRecognised (commandLine, strFile);

    if (fileRequested)
        strFile = textAfter (commandLine, strFile).trim();

    autoUpdate = isRecognised (commandLine, strAutoUpdate);

    if (autoUpdate)
        nOutputid = juce::jmax (1, readInteger (textAfter (commandLine, strOutputID)));
}

bool CommandLineOptions::isRecognised (const juce::String& commandLine, const juce::String& optionText)
{
    const auto isWordCharacter = [] (juce::juce_wchar c)
    { return juce::CharacterFunctions::isLetterOrDigit (c); };

    for (int start = commandLine.indexOfIgnoreCase (optionText); start >= 0;
         start = commandLine.indexOfIgnoreCase (start + 1, optionText))
    {
        const auto end = start + optionText.length();
        const bool boundaryBefore = start == 0 || ! isWordCharacter (commandLine[start - 1]);
        const bool boundaryAfter = end >= commandLine.length() || ! isWordCharacter (commandLine[end]);

        if (boundaryBefore && boundaryAfter)
            return true;
    }

    return false;
}

juce::String CommandLineOptions::textAfter (const juce::String& commandLine, const juce::String& optionText)
{
    const auto start = commandLine.indexOfIgnoreCase (optionText);
    return start < 0 ? juce::String() : commandLine.substring (start + optionText.length());
}

int CommandLineOptions::readInteger (const juce::String& text)
{
    auto p = text.getCharPointer().findEndOfWhitespace();
    bool negative = false;

    if (*p == '-' || *p == '+')
    {
        negative = *p == '-';
        ++p;
    }

    juce::int64 value = 0;

    for (; juce::CharacterFunctions::isDigit (*p); ++p)
        value = juce::jmin<juce::int64> (value * 10 + (*p - '0'), std::numeric_limits<int>::max());

    return (int) (negative ? -value : value);
}
