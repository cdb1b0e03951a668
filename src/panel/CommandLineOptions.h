#pragma once

#include <juce_core/juce_core.h>

/** The options a script can give the updater. The command line is not split into words:
    options are searched for in the whole text.

    - "--file": everything after its first occurrence, trimmed, is the file name; so it
      must come last, and a name with blanks needs no quotation marks.
    - "--autoupdate": start the update at once and quit when it has completed.
    - "--outputid N" (exactly one blank): the output for the automatic update, from 1.
    - "--inputid N": read, without effect.

    An option is recognised as a whole word in any letter case; a value is taken after the
    option's first occurrence, in any letter case, without regard to word boundaries.
*/
class CommandLineOptions
{
public:
    explicit CommandLineOptions (const juce::String& commandLine);

    bool hasFile() const noexcept { return fileRequested; }
    juce::String getFileName() const { return strFile; }
    bool isAutoUpdate() const noexcept { return autoUpdate; }

    /** The output for the automatic update, at least 1; 1 without "--autoupdate". */
    int getOutputId() const noexcept { return nOutputid; }

    /** Whether optionText occurs as a whole word, in any letter case. */
    static bool isRecognised (const juce::String& commandLine, const juce::String& optionText);

    /** The text after the first occurrence of optionText, in any letter case. */
    static juce::String textAfter (const juce::String& commandLine, const juce::String& optionText);

    /** A decimal integer at the start of text: blanks skipped, optional sign, digits up to
        the first other character; 0 when there are no digits. */
    static int readInteger (const juce::String& text);

private:
    juce::String strFile { "--file" };
    const juce::String strAutoUpdate { "--autoupdate" };
    const juce::String strInputID { "--inputid " };
    const juce::String strOutputID { "--outputid " };
    bool fileRequested = false;
    bool autoUpdate = false;
    int nOutputid = 1;
};
